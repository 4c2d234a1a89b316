#pragma once

#include <cstdint>
#include <vector>

namespace VeltaTools {

/// The river valley carved to fit the course: one value per height-map sample
/// (256 × 256, row-major, row j at world z = j × 512 / 255, column i at
/// x = i × 512 / 255).
struct Valley {
    std::vector<std::uint8_t> heightMap; ///< bytes of "heightmap.pcx"
    std::vector<float> height;           ///< world height each byte stands for
    std::vector<float> waterLevel;       ///< level of the nearest water
    std::vector<float> riverDistance;    ///< distance to the river outline, negative inside it
};

/// Carves the valley: below the water inside the river with a deeper middle,
/// low banks just above the water at the outline, rising valley walls and a
/// mountain rim at the edges of the map, with level pads under the houses.
Valley carveValley();

} // namespace VeltaTools
