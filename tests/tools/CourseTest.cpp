// The generator's water quads, which it carves the river bed with.
#include "Course.h"

#include <gtest/gtest.h>

using namespace VeltaTools;

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
