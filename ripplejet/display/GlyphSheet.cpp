#include "display/GlyphSheet.h"

#include "core/LogManager.h"
#include "core/VeltaCore.h"
#include "display/OverlayImages.h"
#include "resource/TextureProxy.h"

#include <string>

namespace Ripplejet {

namespace {

/// Each style's digit size, where its digits and its second set start, and
/// the width of a second-set glyph. Digit i lies at (digitX + i × width, y),
/// second-set glyph i at (secondX + i × secondWidth, y), both of the height.
struct Style {
    int digitWidth;
    int height;
    int digitX;
    int y;
    int secondWidth;
    int secondX;
};

const Style STYLE_TABLE[GlyphSheet::STYLES] = {
    {39, 66, 0, 0, 11, 389},
    {21, 38, 0, 66, 6, 210},
    {13, 23, 128, 110, 4, 257},
    {10, 19, 0, 108, 3, 190},
};

} // namespace

GlyphSheet::GlyphSheet() : GlyphSheet(OverlayImages::asRgba(OverlayImages::find("text\\CharMap.png"))) {}

GlyphSheet::GlyphSheet(const CppLib::SharedPtr<Velta::TextureSource>& image) : mImage(image) {}

bool GlyphSheet::getRect(int style, int glyph, Rect& rect)
{
    if (style < 1 || style > STYLES || glyph < 0 || glyph >= GLYPHS) {
        return false;
    }
    const Style& s = STYLE_TABLE[style - 1];
    if (glyph < 10) {
        rect = Rect{s.digitX + s.digitWidth * glyph, s.y, s.digitWidth, s.height};
    } else {
        rect = Rect{s.secondX + s.secondWidth * (glyph - 10), s.y, s.secondWidth, s.height};
    }
    return true;
}

bool GlyphSheet::draw(Velta::TextureProxy& target, int style, int glyph, int x, int y) const
{
    Rect source;
    if (!getRect(style, glyph, source) || x < 0 || y < 0) {
        if (!mReportedBadGlyph) {
            mReportedBadGlyph = true;
            Velta::VeltaCore::getSingleton().getLogManager().getLogger("hud")->error(
                "No glyph " + std::to_string(glyph) + " of style " + std::to_string(style) + " at (" +
                std::to_string(x) + ", " + std::to_string(y) + "); nothing is drawn");
        }
        return false;
    }
    if (mImage.isNull()) {
        return false;
    }
    return target.copyRect(mImage, static_cast<unsigned int>(x), static_cast<unsigned int>(y), 0,
                           static_cast<unsigned int>(source.x), static_cast<unsigned int>(source.y), 0,
                           static_cast<unsigned int>(source.width), static_cast<unsigned int>(source.height), 1);
}

} // namespace Ripplejet
