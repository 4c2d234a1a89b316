#pragma once

#include "cpplib/SharedPtr.h"

namespace Velta {
class TextureProxy;
class TextureSource;
} // namespace Velta

namespace Ripplejet {

/// The character map the display's numbers are copied from, and where each
/// glyph lies in it: four styles (1 the race time, 2 the speedometer, 3
/// health and oxygen, 4 the bonus), each with the digits 0 to 9 and a second
/// set from glyph 10 on (10 the decimal point, 11 the colon).
///
/// Holds the image as the texture manager gives it ("text\CharMap.png");
/// without it (a missing file, reported once by the texture manager) nothing
/// is drawn and the display shows its windows empty.
class GlyphSheet {
public:
    /// A glyph's rectangle in the character map, in pixels from the top left.
    struct Rect {
        int x = 0;
        int y = 0;
        int width = 0;
        int height = 0;
    };

    static constexpr int STYLES = 4;
    /// Glyphs 0 to 11: the digits, the decimal point and the colon.
    static constexpr int GLYPHS = 12;

    /// Loads the character map through the texture manager of the set-up
    /// core. An image that is not RGBA bytes is converted once, so that
    /// glyphs can be copied into the display's RGBA images.
    GlyphSheet();
    explicit GlyphSheet(const CppLib::SharedPtr<Velta::TextureSource>& image);

    /// Where glyph `glyph` of style `style` lies; false for a style outside
    /// 1 … 4 or a glyph outside 0 … 11.
    static bool getRect(int style, int glyph, Rect& rect);

    /// Copies the glyph to (x, y) of `target` (its top left corner). False,
    /// with nothing drawn, without a character map or for a glyph that does
    /// not exist (logged once per sheet).
    bool draw(Velta::TextureProxy& target, int style, int glyph, int x, int y) const;

    /// The character map; empty when it could not be loaded.
    const CppLib::SharedPtr<Velta::TextureSource>& getImage() const { return mImage; }

private:
    CppLib::SharedPtr<Velta::TextureSource> mImage;
    mutable bool mReportedBadGlyph = false;
};

} // namespace Ripplejet
