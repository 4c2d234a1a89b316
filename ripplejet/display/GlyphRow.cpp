#include "display/GlyphRow.h"

#include "display/GlyphSheet.h"

#include <cassert>

namespace Ripplejet {

GlyphRow::GlyphRow(const GlyphSheet& sheet, Velta::TextureProxy& target, int style, int y,
                   std::initializer_list<int> xs)
    : mSheet(&sheet), mTarget(&target), mStyle(style), mY(y)
{
    assert(xs.size() <= MAX_PLACES);
    for (int x : xs) {
        if (mCount < MAX_PLACES) {
            mShown[mCount] = -1;
            mX[mCount++] = x;
        }
    }
}

int GlyphRow::show(const int* glyphs)
{
    int drawn = 0;
    for (int place = 0; place < mCount; ++place) {
        if (glyphs[place] == mShown[place]) {
            continue;
        }
        if (mSheet->draw(*mTarget, mStyle, glyphs[place], mX[place], mY)) {
            mShown[place] = glyphs[place];
            ++drawn;
        }
    }
    return drawn;
}

} // namespace Ripplejet
