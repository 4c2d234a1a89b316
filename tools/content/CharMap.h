#pragma once

#include "Image.h"

namespace VeltaTools {

/// The glyph sheet the head-up display copies its numbers from: four styles
/// of the digits 0 to 9 plus a second set (0: decimal point, 1: colon), each
/// glyph at a fixed rectangle that the display's code knows.
namespace CharMap {

constexpr int WIDTH = 512;
constexpr int HEIGHT = 256;
constexpr int STYLES = 4;
/// Glyphs 0 to 9 are digits, 10 the point and 11 the colon.
constexpr int GLYPHS = 12;

struct Rect {
    int x = 0, y = 0, width = 0, height = 0;
};

/// Where glyph `glyph` of style `style` (1 to 4) lies in the sheet.
Rect glyphRect(int style, int glyph);

/// Draws the sheet: every glyph rectangle is opaque in the display's window
/// colour with the glyph inked inside it; everything else is transparent.
Image build();

/// Background colour of the glyph cells (the display windows use it too, so
/// a copied glyph blends in).
Rgba windowColour();

} // namespace CharMap

} // namespace VeltaTools
