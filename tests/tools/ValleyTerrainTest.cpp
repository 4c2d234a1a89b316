// The generated height map, loaded and built into terrain the way the game
// does it, fits the course: the river runs in its bed, the banks hold it,
// and the props stand on the ground. Asked through the engine's terrain.
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

#include <unistd.h>

namespace {

namespace Course = VeltaTools::Course;
using Velta::Point;

const std::filesystem::path gRoot =
    std::filesystem::temp_directory_path() / ("velta-valley-terrain-" + std::to_string(getpid()));

/// The generated textures in a directory of their own, the core set up there
/// and the valley's terrain built from them, once for all tests.
class ValleyTerrain : public VeltaTest::SetUpCoreFixture {
protected:
    static void SetUpTestSuite()
    {
        VeltaTools::Output output(gRoot.string());
        VeltaTools::generateTextures(output);
        ASSERT_TRUE(output.isOk());
    }

    static void TearDownTestSuite() { std::filesystem::remove_all(gRoot); }

    void SetUp() override
    {
        std::filesystem::current_path(gRoot);
        SetUpCoreFixture::SetUp();
        testing::internal::CaptureStderr();
        mTerrain = VeltaTest::buildValleyTerrain();
        mLog = testing::internal::GetCapturedStderr();
    }

    void TearDown() override
    {
        mTerrain.reset();
        SetUpCoreFixture::TearDown();
        std::filesystem::current_path(mWorkingDirectory);
    }

    /// The ground's height under (x, z), as the terrain answers it.
    float ground(float x, float z) const { return mTerrain->getSurfacePoint(Point(x, 0.0f, z)).y(); }

    std::filesystem::path mWorkingDirectory = std::filesystem::current_path();
    std::unique_ptr<Velta::Terrain> mTerrain;
    std::string mLog;
};

TEST_F(ValleyTerrain, IsBuiltFromTheGeneratedImagesWithoutALogLine)
{
    EXPECT_EQ(mLog, "");
    EXPECT_TRUE(mTerrain->getPointHandle(Point(256, 0, 256)).inTerrain());
    // The generator's own copy of the sampling answers what the engine does.
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

TEST_F(ValleyTerrain, EveryCrossSectionHasItsBedBelowTheWaterAndItsBanksAboveIt)
{
    const std::vector<Course::CrossSection>& sections = Course::crossSections();
    ASSERT_EQ(sections.size(), 58u);
    for (std::size_t k = 0; k < sections.size(); ++k) {
        const Course::CrossSection& s = sections[k];
        SCOPED_TRACE("cross section " + std::to_string(k + 1));
        const float water = s.left.y;
        const float length = std::hypot(s.right.x - s.left.x, s.right.z - s.left.z);
        const float dx = (s.right.x - s.left.x) / length;
        const float dz = (s.right.z - s.left.z) / length;
        const Point middle((s.left.x + s.right.x) / 2, water, (s.left.z + s.right.z) / 2);
        EXPECT_GT(mTerrain->getDistance(middle), 0.0f) << "the middle is not under water";
        for (float beyond : {2.0f, 4.0f}) {
            for (float side : {-1.0f, 1.0f}) {
                const Course::Point3& bank = side < 0 ? s.left : s.right;
                const Point past(bank.x + side * dx * beyond, water, bank.z + side * dz * beyond);
                if (!mTerrain->getPointHandle(past).inTerrain()) {
                    continue; // the map ends first (the right bank of section 32)
                }
                EXPECT_LT(mTerrain->getDistance(past), 0.0f) << beyond << (side < 0 ? " left" : " right");
            }
        }
    }
}

TEST_F(ValleyTerrain, EveryPropStandsOnOrAboveTheGround)
{
    for (const Course::Prop& prop : Course::props()) {
        if (prop.model == "sky.ms3d") {
            continue; // centred on the valley, not placed on it
        }
        SCOPED_TRACE(prop.model + " at " + std::to_string(prop.position.x) + ", " + std::to_string(prop.position.z));
        EXPECT_GE(mTerrain->getDistance(Point(prop.position.x, prop.position.y, prop.position.z)), 0.0f);
    }
}

} // namespace
