#include "Font.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cmath>

namespace VeltaTools {

namespace {

FT_Face face(void* handle)
{
    return static_cast<FT_Face>(handle);
}

} // namespace

std::string sansBoldFontPath()
{
    return "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf";
}

std::string sansFontPath()
{
    return "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
}

std::string monoBoldFontPath()
{
    return "/usr/share/fonts/truetype/dejavu/DejaVuSansMono-Bold.ttf";
}

Font::Font(const std::string& path)
{
    FT_Library library = nullptr;
    if (FT_Init_FreeType(&library) != 0) {
        return;
    }
    FT_Face loaded = nullptr;
    if (FT_New_Face(library, path.c_str(), 0, &loaded) != 0) {
        FT_Done_FreeType(library);
        return;
    }
    mLibrary = library;
    mFace = loaded;
}

Font::~Font()
{
    if (mFace) {
        FT_Done_Face(face(mFace));
    }
    if (mLibrary) {
        FT_Done_FreeType(static_cast<FT_Library>(mLibrary));
    }
}

void Font::setHorizontalScale(float scale)
{
    if (!mFace) {
        return;
    }
    FT_Matrix matrix;
    matrix.xx = static_cast<FT_Fixed>(std::lround(scale * 65536.0f));
    matrix.xy = 0;
    matrix.yx = 0;
    matrix.yy = 0x10000;
    FT_Set_Transform(face(mFace), &matrix, nullptr);
}

float Font::drawText(Image& image, const std::string& text, float pixelSize, float x, float baseline,
                     const Rgba& colour)
{
    if (!mFace) {
        return 0.0f;
    }
    FT_Face f = face(mFace);
    FT_Set_Pixel_Sizes(f, 0, static_cast<FT_UInt>(std::lround(pixelSize)));
    float penX = x;
    for (char c : text) {
        if (FT_Load_Char(f, static_cast<unsigned char>(c), FT_LOAD_RENDER) != 0) {
            continue;
        }
        const FT_GlyphSlot slot = f->glyph;
        const int left = static_cast<int>(std::lround(penX)) + slot->bitmap_left;
        const int top = static_cast<int>(std::lround(baseline)) - slot->bitmap_top;
        for (unsigned row = 0; row < slot->bitmap.rows; ++row) {
            for (unsigned col = 0; col < slot->bitmap.width; ++col) {
                const unsigned char value = slot->bitmap.buffer[row * static_cast<unsigned>(slot->bitmap.pitch) + col];
                if (value) {
                    image.blend(left + static_cast<int>(col), top + static_cast<int>(row), colour, value / 255.0f);
                }
            }
        }
        penX += static_cast<float>(slot->advance.x) / 64.0f;
    }
    return penX - x;
}

float Font::measure(const std::string& text, float pixelSize)
{
    if (!mFace) {
        return 0.0f;
    }
    FT_Face f = face(mFace);
    FT_Set_Pixel_Sizes(f, 0, static_cast<FT_UInt>(std::lround(pixelSize)));
    float width = 0.0f;
    for (char c : text) {
        if (FT_Load_Char(f, static_cast<unsigned char>(c), FT_LOAD_DEFAULT) == 0) {
            width += static_cast<float>(f->glyph->advance.x) / 64.0f;
        }
    }
    return width;
}

void Font::inkBounds(const std::string& text, float pixelSize, float& top, float& bottom)
{
    top = 0.0f;
    bottom = 0.0f;
    if (!mFace) {
        return;
    }
    FT_Face f = face(mFace);
    FT_Set_Pixel_Sizes(f, 0, static_cast<FT_UInt>(std::lround(pixelSize)));
    bool first = true;
    for (char c : text) {
        if (c == ' ' || FT_Load_Char(f, static_cast<unsigned char>(c), FT_LOAD_RENDER) != 0) {
            continue;
        }
        const float glyphTop = -static_cast<float>(f->glyph->bitmap_top);
        const float glyphBottom = glyphTop + static_cast<float>(f->glyph->bitmap.rows);
        top = first ? glyphTop : std::min(top, glyphTop);
        bottom = first ? glyphBottom : std::max(bottom, glyphBottom);
        first = false;
    }
}

void Font::drawCentred(Image& image, const std::string& text, float pixelSize, float centreX, float centreY,
                       const Rgba& colour)
{
    float top = 0.0f, bottom = 0.0f;
    inkBounds(text, pixelSize, top, bottom);
    const float width = measure(text, pixelSize);
    drawText(image, text, pixelSize, centreX - width * 0.5f, centreY - (top + bottom) * 0.5f, colour);
}

void Font::drawCentredOutlined(Image& image, const std::string& text, float pixelSize, float centreX, float centreY,
                               const Rgba& colour, const Rgba& outlineColour, float outline)
{
    const int steps = 16;
    for (int i = 0; i < steps; ++i) {
        const float angle = 6.2831853f * static_cast<float>(i) / steps;
        drawCentred(image, text, pixelSize, centreX + std::cos(angle) * outline, centreY + std::sin(angle) * outline,
                    outlineColour);
    }
    drawCentred(image, text, pixelSize, centreX, centreY, colour);
}

void Font::drawFitted(Image& image, char character, float x0, float y0, float x1, float y1, const Rgba& colour)
{
    drawInBox(image, character, fitSize(std::string(1, character), x1 - x0, y1 - y0), x0, y0, x1, y1, colour);
}

float Font::fitSize(const std::string& characters, float width, float height)
{
    if (!mFace) {
        return 0.0f;
    }
    FT_Face f = face(mFace);
    for (float size = height * 1.6f; size > 4.0f; size -= 0.25f) {
        FT_Set_Pixel_Sizes(f, 0, static_cast<FT_UInt>(std::lround(size)));
        bool fits = true;
        for (char c : characters) {
            if (FT_Load_Char(f, static_cast<unsigned char>(c), FT_LOAD_RENDER) != 0) {
                continue;
            }
            if (f->glyph->bitmap.width > width || f->glyph->bitmap.rows > height) {
                fits = false;
                break;
            }
        }
        if (fits) {
            return size;
        }
    }
    return 4.0f;
}

bool Font::fits(const std::string& characters, float pixelSize, float width, float height)
{
    if (!mFace) {
        return false;
    }
    FT_Face f = face(mFace);
    FT_Set_Pixel_Sizes(f, 0, static_cast<FT_UInt>(std::lround(pixelSize)));
    for (char c : characters) {
        if (FT_Load_Char(f, static_cast<unsigned char>(c), FT_LOAD_RENDER) != 0) {
            continue;
        }
        if (f->glyph->bitmap.width > width || f->glyph->bitmap.rows > height) {
            return false;
        }
    }
    return true;
}

void Font::drawInBox(Image& image, char character, float pixelSize, float x0, float y0, float x1, float y1,
                     const Rgba& colour)
{
    if (!mFace) {
        return;
    }
    FT_Face f = face(mFace);
    FT_Set_Pixel_Sizes(f, 0, static_cast<FT_UInt>(std::lround(pixelSize)));
    if (FT_Load_Char(f, static_cast<unsigned char>(character), FT_LOAD_RENDER) != 0) {
        return;
    }
    const FT_GlyphSlot slot = f->glyph;
    const int width = static_cast<int>(slot->bitmap.width);
    const int rows = static_cast<int>(slot->bitmap.rows);
    const int left = static_cast<int>(std::floor(x0 + ((x1 - x0) - width) * 0.5f + 0.5f));
    const int top = static_cast<int>(std::floor(y0 + ((y1 - y0) - rows) * 0.5f + 0.5f));
    for (int row = 0; row < rows; ++row) {
        for (int col = 0; col < width; ++col) {
            const unsigned char value = slot->bitmap.buffer[row * slot->bitmap.pitch + col];
            if (value) {
                image.blend(left + col, top + row, colour, value / 255.0f);
            }
        }
    }
}

} // namespace VeltaTools
