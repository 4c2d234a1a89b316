// The generated height map, loaded and built into terrain the way the game
// does it, answers the generator's own heights, so the course checks made on
// those (river bed, banks, props) hold for the engine's terrain too.
#include "ContentGenerator.h"
#include "Course.h"
#include "Valley.h"

#include "support/CoreFixture.h"
#include "support/ValleyScene.h"
#include "terrain/Terrain.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <random>
#include <string>

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

TEST_F(ValleyTerrain, IsBuiltFromTheGeneratedImagesWithoutALogLineAndAnswersTheGeneratorsHeights)
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
}

} // namespace
