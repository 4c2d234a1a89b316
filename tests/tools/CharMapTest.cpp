#include "CharMap.h"

#include <gtest/gtest.h>

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

TEST(CharMap, EveryGlyphCellIsOpaqueAndInked)
{
    for (int style = 1; style <= CharMap::STYLES; ++style) {
        for (int glyph = 0; glyph < CharMap::GLYPHS; ++glyph) {
            const CharMap::Rect r = CharMap::glyphRect(style, glyph);
            ASSERT_LE(r.x + r.width, CharMap::WIDTH);
            ASSERT_LE(r.y + r.height, CharMap::HEIGHT);
            int ink = 0;
            bool opaque = true;
            for (int y = r.y; y < r.y + r.height; ++y) {
                for (int x = r.x; x < r.x + r.width; ++x) {
                    ink += inked(x, y);
                    opaque = opaque && sheet().at(x, y).a > 0.99f;
                }
            }
            EXPECT_TRUE(opaque) << name(style, glyph);
            // Digits fill a good part of their cell; separators are small marks.
            const int least = glyph < 10 ? r.width * r.height / 8 : 1;
            EXPECT_GE(ink, least) << name(style, glyph);
        }
    }
}

TEST(CharMap, DigitsOfAStyleAreAllDifferent)
{
    for (int style = 1; style <= CharMap::STYLES; ++style) {
        std::vector<std::vector<bool>> masks;
        for (int digit = 0; digit < 10; ++digit) {
            const CharMap::Rect r = CharMap::glyphRect(style, digit);
            std::vector<bool> mask;
            for (int y = r.y; y < r.y + r.height; ++y) {
                for (int x = r.x; x < r.x + r.width; ++x) {
                    mask.push_back(inked(x, y));
                }
            }
            for (std::size_t other = 0; other < masks.size(); ++other) {
                EXPECT_NE(mask, masks[other]) << name(style, digit) << " looks like digit " << other;
            }
            masks.push_back(mask);
        }
    }
}

TEST(CharMap, DigitInkKeepsClearOfTheCellEdges)
{
    // Neighbouring cells share edge columns in places; ink on a cell's edge
    // would show up as a stray mark next to the neighbouring glyph.
    for (int style = 1; style <= CharMap::STYLES; ++style) {
        for (int digit = 0; digit < 10; ++digit) {
            const CharMap::Rect r = CharMap::glyphRect(style, digit);
            for (int y = r.y; y < r.y + r.height; ++y) {
                EXPECT_FALSE(inked(r.x, y)) << name(style, digit) << " left edge row " << y;
                EXPECT_FALSE(inked(r.x + r.width - 1, y)) << name(style, digit) << " right edge row " << y;
            }
        }
    }
}
