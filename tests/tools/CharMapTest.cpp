#include "CharMap.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

using namespace VeltaTools;

namespace {

const Image& sheet()
{
    static const Image built = CharMap::build();
    return built;
}

/// A pixel carries ink when it differs clearly from the cell colour.
bool inked(int x, int y)
{
    const Rgba& p = sheet().at(x, y);
    const Rgba cell = CharMap::windowColour();
    return std::abs(p.r - cell.r) + std::abs(p.g - cell.g) + std::abs(p.b - cell.b) > 0.3f;
}

std::string name(int style, int glyph)
{
    return "style " + std::to_string(style) + " glyph " + std::to_string(glyph);
}

} // namespace

TEST(CharMap, GlyphCellsAreOpaqueInkedAndDistinctWithDigitsClearOfTheEdges)
{
    for (int style = 1; style <= CharMap::STYLES; ++style) {
        std::vector<std::vector<bool>> digits;
        for (int glyph = 0; glyph < CharMap::GLYPHS; ++glyph) {
            const CharMap::Rect r = CharMap::glyphRect(style, glyph);
            ASSERT_LE(r.x + r.width, CharMap::WIDTH);
            ASSERT_LE(r.y + r.height, CharMap::HEIGHT);
            std::vector<bool> mask;
            bool opaque = true;
            for (int y = r.y; y < r.y + r.height; ++y) {
                for (int x = r.x; x < r.x + r.width; ++x) {
                    mask.push_back(inked(x, y));
                    opaque = opaque && sheet().at(x, y).a > 0.99f;
                }
            }
            EXPECT_TRUE(opaque) << name(style, glyph);
            const auto ink = std::count(mask.begin(), mask.end(), true);
            // Digits fill a good part of their cell; separators are small marks.
            EXPECT_GE(ink, glyph < 10 ? r.width * r.height / 8 : 1) << name(style, glyph);
            if (glyph >= 10) {
                continue;
            }
            for (std::size_t other = 0; other < digits.size(); ++other) {
                EXPECT_NE(mask, digits[other]) << name(style, glyph) << " looks like digit " << other;
            }
            digits.push_back(mask);
            // Neighbouring cells share edge columns in places; ink on a cell's
            // edge would show up as a stray mark next to the neighbouring glyph.
            for (int y = r.y; y < r.y + r.height; ++y) {
                EXPECT_FALSE(inked(r.x, y)) << name(style, glyph) << " left edge row " << y;
                EXPECT_FALSE(inked(r.x + r.width - 1, y)) << name(style, glyph) << " right edge row " << y;
            }
        }
    }
}
