#include "Course.h"
#include "Valley.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <utility>

using namespace VeltaTools;

namespace {

std::vector<std::uint8_t> flatMap()
{
    return std::vector<std::uint8_t>(static_cast<std::size_t>(Course::HEIGHTMAP_SIZE) * Course::HEIGHTMAP_SIZE, 0);
}

void setSample(std::vector<std::uint8_t>& map, int i, int j, std::uint8_t value)
{
    map[static_cast<std::size_t>(j) * Course::HEIGHTMAP_SIZE + i] = value;
}

const Valley& valley()
{
    static const Valley carved = carveValley();
    return carved;
}

float ground(float x, float z)
{
    return Course::terrainHeight(valley().heightMap, x, z);
}

} // namespace

TEST(TerrainHeight, MapsSamplesAcrossTheTileAndInterpolatesOnTheDiagonalSplit)
{
    const float step = 512.0f / 255.0f; // world distance between samples
    std::vector<std::uint8_t> map = flatMap();
    setSample(map, 1, 0, 255);
    // On a sample, between two samples along x, and past the tile's far corner.
    EXPECT_FLOAT_EQ(Course::terrainHeight(map, step, 0), 60.0f);
    EXPECT_NEAR(Course::terrainHeight(map, step * 0.5f, 0), 30.0f, 1e-4f);
    EXPECT_NEAR(Course::terrainHeight(map, step * 1.5f, step * 0.25f), 0.5f * 60.0f, 1e-4f);

    // Square (0,0)-(1,1) with only (0,1) raised: below the diagonal (fx > fy)
    // the height comes from (1,0) and (1,1) only, above it from (0,1).
    map = flatMap();
    setSample(map, 0, 1, 255);
    EXPECT_NEAR(Course::terrainHeight(map, step * 0.75f, step * 0.25f), 0.0f, 1e-4f);
    EXPECT_NEAR(Course::terrainHeight(map, step * 0.25f, step * 0.75f), 30.0f, 1e-4f);
    EXPECT_NEAR(Course::terrainHeight(map, step * 0.5f, step * 0.5f), 0.0f, 1e-4f); // on the diagonal

    // The last samples are read up to the far edge, which belongs to no tile.
    map = flatMap();
    setSample(map, 255, 255, 51);
    setSample(map, 0, 0, 102);
    EXPECT_NEAR(Course::terrainHeight(map, 511.999f, 511.999f), 12.0f, 0.01f);
    EXPECT_NEAR(Course::terrainHeight(map, 0.0f, 0.0f), 24.0f, 1e-4f);
    for (const auto& off : {std::pair{512.0f, 10.0f}, std::pair{10.0f, 512.0f}, std::pair{600.0f, 700.0f},
                            std::pair{-5.0f, 5.0f}}) {
        EXPECT_FALSE(Course::onTerrain(off.first, off.second));
        EXPECT_EQ(Course::terrainHeight(map, off.first, off.second), -1.0f);
    }
}

TEST(Valley, RiverBedLiesBelowTheWaterAndTheBanksRiseAboveIt)
{
    const auto& sections = Course::crossSections();
    ASSERT_EQ(sections.size(), 58u);
    for (std::size_t k = 0; k < sections.size(); ++k) {
        const Course::CrossSection& s = sections[k];
        const float water = s.left.y;
        const float length = std::hypot(s.right.x - s.left.x, s.right.z - s.left.z);
        const float dx = (s.right.x - s.left.x) / length;
        const float dz = (s.right.z - s.left.z) / length;
        SCOPED_TRACE("cross section " + std::to_string(k + 1));

        EXPECT_LT(ground((s.left.x + s.right.x) / 2, (s.left.z + s.right.z) / 2), water - 1.0f) << "middle";
        EXPECT_GE(ground(s.left.x, s.left.z), water) << "left bank point";
        EXPECT_GE(ground(s.right.x, s.right.z), water) << "right bank point";
        for (float beyond : {2.0f, 4.0f}) {
            // Where the map ends first, no ground is there to hold anything.
            const float lx = s.left.x - dx * beyond, lz = s.left.z - dz * beyond;
            const float rx = s.right.x + dx * beyond, rz = s.right.z + dz * beyond;
            EXPECT_TRUE(!Course::onTerrain(lx, lz) || ground(lx, lz) > water) << beyond << " beyond the left bank";
            EXPECT_TRUE(!Course::onTerrain(rx, rz) || ground(rx, rz) > water) << beyond << " beyond the right bank";
        }
    }
}

TEST(Valley, PropsStandOnTheGroundAndHousesReachIt)
{
    for (const Course::Prop& prop : Course::props()) {
        if (prop.model == "sky.ms3d") {
            continue; // the dome is centred on the valley, not placed on it
        }
        const float below = ground(prop.position.x, prop.position.z);
        SCOPED_TRACE(prop.model + " at " + std::to_string(prop.position.x) + ", " + std::to_string(prop.position.z));
        EXPECT_GE(prop.position.y, below);
        if (prop.model == "finishhouse.ms3d") {
            // The house's foundation reaches one model unit below its origin.
            EXPECT_LE(prop.position.y - below, prop.scaleY * 1.0f);
        }
    }
}

TEST(WaterQuad, LocatesPointsTheWayTheWaterDoes)
{
    const Course::CrossSection near{{0, 0, 0}, {10, 0, 0}, 1};
    const Course::CrossSection far{{0, 2, 10}, {10, 2, 10}, 1};
    const Course::WaterQuad square(near, far);
    float u = 0, v = 0;
    ASSERT_TRUE(square.locate(5, 5, u, v));
    EXPECT_NEAR(u, 0.5f, 1e-5f);
    EXPECT_NEAR(v, 0.5f, 1e-5f);
    EXPECT_NEAR(square.surfaceHeight(u, v), 1.0f, 1e-5f);
    EXPECT_FALSE(square.locate(5, 11, u, v));
    EXPECT_TRUE(square.isValid());

    // A wider downstream line: its far corner still maps to (1, 1).
    const Course::WaterQuad widening(near, Course::CrossSection{{-5, 0, 10}, {20, 0, 10}, 1});
    ASSERT_TRUE(widening.locate(20, 10, u, v));
    EXPECT_NEAR(u, 1.0f, 1e-4f);
    EXPECT_NEAR(v, 1.0f, 1e-4f);

    // Banks given the wrong way round fold the quad.
    const Course::WaterQuad folded(near, Course::CrossSection{{10, 0, 10}, {0, 0, 10}, 1});
    EXPECT_FALSE(folded.isValid());
}
