// The generated height map, built into terrain by the game's course builder,
// answers the generator's own heights and fits the course: the river runs in
// its bed, the banks hold it, the props stand on the ground.
#include "ContentGenerator.h"
#include "Course.h"
#include "Valley.h"

#include "course/CourseBuilder.h"
#include "level/NodeStore.h"
#include "scene/Branch.h"
#include "support/CoreFixture.h"
#include "terrain/Terrain.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <memory>
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
        mNodes.clear();
        SetUpCoreFixture::TearDown();
        std::filesystem::current_path(mWorkingDirectory);
        std::filesystem::remove_all(gRoot);
    }

    /// The ground's height under (x, z), as the terrain answers it.
    float ground(float x, float z) const { return mTerrain->getSurfacePoint(Point(x, 0.0f, z)).y(); }

    std::filesystem::path mWorkingDirectory = std::filesystem::current_path();
    Ripplejet::NodeStore mNodes;
    Velta::Terrain* mTerrain = nullptr;
};

TEST_F(ValleyTerrain, IsBuiltWithoutALogLineAnswersTheGeneratorsHeightsAndHoldsTheRiver)
{
    Velta::Branch& level = mNodes.keep(std::make_unique<Velta::Branch>("level"));
    Ripplejet::CourseBuilder builder(mNodes);
    testing::internal::CaptureStderr();
    builder.buildTerrain(level);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    mTerrain = builder.getTerrain();
    ASSERT_NE(mTerrain, nullptr);

    // On every sample the engine stands where the generator put the ground.
    const VeltaTools::Valley valley = VeltaTools::carveValley();
    const int size = Course::HEIGHTMAP_SIZE;
    for (int j = 0; j < size - 1; ++j) {
        for (int i = 0; i < size - 1; ++i) {
            const float expected = valley.heightMap[static_cast<std::size_t>(j) * size + i] / 255.0f * Course::MAX_HEIGHT;
            ASSERT_NEAR(ground(Course::samplePosition(i), Course::samplePosition(j)), expected, 1e-3f)
                << "sample " << i << ", " << j;
        }
    }

    // Each cross section's middle lies under its water; 2 and 4 units past
    // either bank the ground rises above it.
    for (const Course::CrossSection& s : Course::crossSections()) {
        SCOPED_TRACE("cross section at " + std::to_string(s.left.x) + ", " + std::to_string(s.left.z));
        const float water = s.left.y;
        const float length = std::hypot(s.right.x - s.left.x, s.right.z - s.left.z);
        const float dx = (s.right.x - s.left.x) / length, dz = (s.right.z - s.left.z) / length;
        EXPECT_GT(mTerrain->getDistance(Point((s.left.x + s.right.x) / 2, water, (s.left.z + s.right.z) / 2)), 1.0f);
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
        if (prop.model == "sky.ms3d") {
            continue; // centred on the valley, not placed on it
        }
        const float above = mTerrain->getDistance(Point(prop.position.x, prop.position.y, prop.position.z));
        EXPECT_GE(above, 0.0f) << prop.model;
        if (prop.model == "finishhouse.ms3d") {
            // The house's foundation reaches one model unit below its origin.
            EXPECT_LE(above, prop.scaleY * 1.0f) << prop.model;
        }
    }
}

} // namespace
