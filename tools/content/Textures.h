#pragma once

#include "Image.h"
#include "Output.h"
#include "Valley.h"

#include <string>

namespace VeltaTools {

/// The terrain's images: the colour map (alpha: where grass grows), the
/// tiled rock base, the grass and river bed layers with their masks.
void writeTerrainTextures(Output& output, const Valley& valley);

/// The head-up display's panels, the glyph sheet, the start and end
/// messages, the item icons and labels and the particle sprites.
void writeHudTextures(Output& output);

/// Item icon (80 × 60) and label pictures by item ("medicare", "oxygen",
/// "banana", "pulso").
Image itemIcon(const std::string& item);
Image itemLabel(const std::string& text);

/// The game's 128 × 128 icon for desktops: a duck on rippling water.
Image gameIcon();
void writeGameIcon(Output& output);

} // namespace VeltaTools
