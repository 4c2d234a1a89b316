#pragma once

#include <initializer_list>

namespace Velta {
class TextureProxy;
} // namespace Velta

namespace Ripplejet {

class GlyphSheet;

/// A row of glyph places on one of the display's images, each remembering
/// the glyph it shows, so that a new value rewrites only the glyphs that
/// differ (the race time, shown every 100 ms, changes one or two).
///
/// Borrows the sheet and the image, which must outlive it.
class GlyphRow {
public:
    static constexpr int MAX_PLACES = 8;

    /// Places at the given x (at most MAX_PLACES), all at `y`, in `style`.
    GlyphRow(const GlyphSheet& sheet, Velta::TextureProxy& target, int style, int y, std::initializer_list<int> xs);

    /// Shows glyph `glyphs[i]` at place i (as many as there are places);
    /// answers how many glyphs were drawn. A glyph that cannot be drawn (no
    /// character map) is tried again by the next call.
    int show(const int* glyphs);

    int getPlaceCount() const { return mCount; }
    /// The glyph shown at place i; −1 before anything was drawn there.
    int getShown(int place) const { return mShown[place]; }

private:
    const GlyphSheet* mSheet;
    Velta::TextureProxy* mTarget;
    int mStyle;
    int mY;
    int mCount = 0;
    int mX[MAX_PLACES] = {};
    int mShown[MAX_PLACES] = {};
};

} // namespace Ripplejet
