// The generated height map, loaded and built into terrain the way the game
// does it, answers the generator's own heights and fits the course: the river
// runs in its bed, the banks hold it, the props stand on the ground.
#include "ContentGenerator.h"
#include "Course.h"
#include "Valley.h"

#include "support/CoreFixture.h"
#include "support/ValleyScene.h"
#include "terrain/Terrain.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <utility>

#include <unistd.h>

namespace {

namespace Course = VeltaTools::Course;
using Velta::Point;

const std::filesystem::path gRoot =
    std::filesystem::temp_directory_path() / ("velta-valley-terrain-" + std::to_string(getpid()));

/// The generated textures in a directory of their own and the core set up
/// there.
class ValleyTerrain : public VeltaTest::SetUpCoreFixture {
protected:
    void SetUp() override
    {
        VeltaTools::Output output(gRoot.string());
        VeltaTools::generateTextures(output);
        ASSERT_TRUE(output.isOk());
        std::filesystem::current_path(gRoot);
        SetUpCoreFixture::SetUp();
    }

    void TearDown() override
    {
        mTerrain.reset();
        SetUpCoreFixture::TearDown();
        std::filesystem::current_path(mWorkingDirectory);
        std::filesystem::remove_all(gRoot);
    }

    /// The ground's height under (x, z), as the terrain answers it.
    float ground(float x, float z) const { return mTerrain->getSurfacePoint(Point(x, 0.0f, z)).y(); }

    std::filesystem::path mWorkingDirectory = std::filesystem::current_path();
    std::unique_ptr<Velta::Terrain> mTerrain;
};

TEST_F(ValleyTerrain, IsBuiltWithoutALogLineAnswersTheGeneratorsHeightsAndHoldsTheRiver)
{
    testing::internal::CaptureStderr();
    mTerrain = VeltaTest::buildValleyTerrain();
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    ASSERT_NE(mTerrain, nullptr);
    EXPECT_TRUE(mTerrain->getPointHandle(Point(256, 0, 256)).inTerrain());
    const std::vector<std::uint8_t> heights = VeltaTools::carveValley().heightMap;
    std::mt19937 random(11);
    std::uniform_real_distribution<float> across(0.0f, Course::TILE_SIZE - 0.01f);
    // On samples, between them, and at and past the edges, where neither
    // has ground.
    for (int i = 0; i < 2000; ++i) {
        const float x = i < 256 ? Course::samplePosition(i) : across(random);
        const float z = i < 256 ? Course::samplePosition(255 - i) : across(random);
        ASSERT_NEAR(Course::terrainHeight(heights, x, z), ground(x, z), 1e-3f) << x << ", " << z;
    }
    for (const Point& off : {Point(-0.5f, 0, 10), Point(10, 0, 512), Point(520, 0, 300)}) {
        EXPECT_EQ(Course::terrainHeight(heights, off.x(), off.z()), ground(off.x(), off.z()));
    }

    // Each cross section's middle lies under its water; 2 and 4 units past
    // either bank the ground rises above it.
    for (const Course::CrossSection& s : Course::crossSections()) {
        SCOPED_TRACE("cross section at " + std::to_string(s.left.x) + ", " + std::to_string(s.left.z));
        const float water = s.left.y;
        const float length = std::hypot(s.right.x - s.left.x, s.right.z - s.left.z);
        const float dx = (s.right.x - s.left.x) / length, dz = (s.right.z - s.left.z) / length;
        EXPECT_GT(mTerrain->getDistance(Point((s.left.x + s.right.x) / 2, water, (s.left.z + s.right.z) / 2)), 0.0f);
        for (float beyond : {2.0f, 4.0f}) {
            for (const auto& [bank, side] : {std::pair{s.left, -1.0f}, std::pair{s.right, 1.0f}}) {
                const Point past(bank.x + side * dx * beyond, water, bank.z + side * dz * beyond);
                if (mTerrain->getPointHandle(past).inTerrain()) { // the map may end first
                    EXPECT_LT(mTerrain->getDistance(past), 0.0f) << beyond << " past the bank on side " << side;
                }
            }
        }
    }
    for (const Course::Prop& prop : Course::props()) {
        if (prop.model != "sky.ms3d") { // the sky is centred on the valley, not placed on it
            EXPECT_GE(mTerrain->getDistance(Point(prop.position.x, prop.position.y, prop.position.z)), 0.0f)
                << prop.model;
        }
    }
}

} // namespace
