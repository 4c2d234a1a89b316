#include "CharMap.h"

#include "Font.h"

#include <algorithm>
#include <cassert>

namespace VeltaTools::CharMap {

namespace {

struct Style {
    int digitWidth, height, digitX, y, secondWidth, secondX;
};

const Style& style(int number)
{
    static const Style styles[STYLES] = {
        {39, 66, 0, 0, 11, 389},
        {21, 38, 0, 66, 6, 210},
        {13, 23, 128, 110, 4, 257},
        {10, 19, 0, 108, 3, 190},
    };
    assert(number >= 1 && number <= STYLES);
    return styles[number - 1];
}

Rgba inkColour(int number)
{
    return number == 1 || number == 4 ? rgb(255, 214, 90) : rgb(236, 246, 255);
}

/// The box a digit's ink must stay in: its cell less a one-pixel margin.
/// The small style's cells for 4 and 5 share columns with the smallest
/// style's separators, so those two digits keep clear of them.
Rect inkBox(int number, int digit)
{
    const Rect cell = glyphRect(number, digit);
    Rect box{cell.x + 1, cell.y + 1, cell.width - 2, cell.height - 2};
    if (number == 3) {
        box.width = 9;
        box.x = cell.x + 2;
        if (digit == 4) {
            box.x = cell.x + 1;
        } else if (digit == 5) {
            box.x = cell.x + 3;
        }
    }
    return box;
}

/// Finds a pixel size and horizontal squeeze at which every digit's ink
/// fills the box's height and fits its width.
void fitDigits(Font& font, int width, int height, float& size, float& squeeze)
{
    const std::string digits = "0123456789";
    font.setHorizontalScale(1.0f);
    size = font.fitSize(digits, 1e6f, static_cast<float>(height));
    for (squeeze = 1.0f; squeeze > 0.3f; squeeze -= 0.02f) {
        font.setHorizontalScale(squeeze);
        if (font.fits(digits, size, static_cast<float>(width), static_cast<float>(height))) {
            return;
        }
    }
}

void drawSeparators(Image& sheet, int number)
{
    const Rgba ink = inkColour(number);
    for (int index = 0; index < 2; ++index) {
        const Rect cell = glyphRect(number, 10 + index);
        if (number == 4) {
            // These cells overlap the small style's digits below row 110; the
            // game never draws them, so their marks stay in the rows above.
            const int x = cell.x + 1;
            sheet.at(x, cell.y) = ink;
            if (index == 1) {
                sheet.at(x, cell.y + 1) = ink;
            }
            continue;
        }
        const float inner = static_cast<float>(cell.width - 2);
        const float radius = std::max(0.9f, std::min(inner * 0.5f, cell.height * 0.075f));
        const float cx = cell.x + cell.width * 0.5f;
        const float bottom = cell.y + cell.height - 1.0f - cell.height * 0.1f;
        if (index == 0) {
            sheet.fillEllipse(cx, bottom - radius, radius, radius, ink);
        } else {
            sheet.fillEllipse(cx, cell.y + cell.height * 0.35f, radius, radius, ink);
            sheet.fillEllipse(cx, cell.y + cell.height * 0.72f, radius, radius, ink);
        }
    }
}

} // namespace

Rect glyphRect(int number, int glyph)
{
    const Style& s = style(number);
    if (glyph < 10) {
        return Rect{s.digitX + s.digitWidth * glyph, s.y, s.digitWidth, s.height};
    }
    return Rect{s.secondX + s.secondWidth * (glyph - 10), s.y, s.secondWidth, s.height};
}

Rgba windowColour()
{
    return rgb(14, 22, 38);
}

Image build()
{
    Image sheet(WIDTH, HEIGHT);
    for (int number = 1; number <= STYLES; ++number) {
        for (int glyph = 0; glyph < GLYPHS; ++glyph) {
            const Rect cell = glyphRect(number, glyph);
            for (int y = cell.y; y < cell.y + cell.height; ++y) {
                for (int x = cell.x; x < cell.x + cell.width; ++x) {
                    sheet.at(x, y) = windowColour();
                }
            }
        }
    }

    Font font(sansBoldFontPath());
    for (int number = 1; number <= STYLES; ++number) {
        const Rect first = inkBox(number, 0);
        float size = 0.0f;
        float squeeze = 1.0f;
        fitDigits(font, first.width, first.height, size, squeeze);
        for (int digit = 0; digit < 10; ++digit) {
            const Rect box = inkBox(number, digit);
            font.drawInBox(sheet, static_cast<char>('0' + digit), size, static_cast<float>(box.x),
                           static_cast<float>(box.y), static_cast<float>(box.x + box.width),
                           static_cast<float>(box.y + box.height), inkColour(number));
        }
        drawSeparators(sheet, number);
    }
    font.setHorizontalScale(1.0f);
    return sheet;
}

} // namespace VeltaTools::CharMap
