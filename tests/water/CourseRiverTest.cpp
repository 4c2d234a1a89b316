#include "support/CoreFixture.h"
#include "water/Water.h"

#include <algorithm>
#include <memory>
#include <string>

using namespace Velta;

namespace {

struct Section {
    float left[3];
    float right[3];
    float flow;
};

/// The race course's river, upstream to downstream: each line across it
/// from the left bank to the right one, and the flow there.
const Section COURSE[] = {
    {{78, 35.4, 91}, {97, 35.4, 102}, 3.5}, {{53, 33, 121}, {83, 33, 121}, 2.8},
    {{72, 32.4, 158}, {99, 32.4, 142}, 2.5}, {{72, 32.4, 188}, {104, 32.4, 185}, 2.2},
    {{65, 31.8, 256}, {105, 31.8, 247}, 2}, {{87, 31.8, 275}, {108, 31.8, 250}, 2},
    {{112, 31.8, 278}, {122, 31.8, 250}, 2.1}, {{121, 31.8, 284}, {134, 31.8, 262}, 2.1},
    {{136, 31.8, 302}, {140, 31.8, 266}, 2.1}, {{156, 31.8, 283}, {146, 31.8, 264}, 2.1},
    {{161, 33.6, 282}, {166, 33.6, 252}, 2.5}, {{176, 33.6, 296}, {191, 33.6, 264}, 3},
    {{204, 32.4, 298}, {219, 32.4, 280}, 2.5}, {{212, 31.2, 313}, {248, 31.2, 306}, 2},
    {{212, 31.2, 317}, {246, 31.2, 325}, 2}, {{216, 30.6, 353}, {244, 30.6, 331}, 2.2},
    {{247, 30.6, 364}, {281, 30.6, 345}, 1.6}, {{247, 30.6, 369}, {291, 30.6, 362}, 1.6},
    {{273, 29.4, 407}, {293, 29.4, 370}, 2}, {{332, 28.2, 396}, {319, 28.2, 360}, 2.5},
    {{394, 27, 353}, {340, 27, 350}, 2.5}, {{347, 25.8, 294}, {319, 25.8, 325}, 1.3},
    {{321, 25.2, 286}, {274, 25.2, 327}, 1.2}, {{319, 25.2, 283}, {251, 25.2, 286}, 1.2},
    {{302, 25.2, 221}, {229, 25.2, 270}, 1.1}, {{288, 25.2, 212}, {213, 25.2, 224}, 3},
    {{276, 24.6, 181}, {231, 24.6, 192}, 2.5}, {{228, 24, 107}, {205, 24, 182}, 2.5},
    {{205, 24, 127}, {188, 24, 145}, 2.5}, {{178, 23.4, 92}, {112, 23.4, 94}, 2.5},
    {{198, 22.2, 62}, {118, 22.2, 14}, 2.5}, {{241, 20.4, 35}, {238, 20.4, 3}, 2.6},
    {{285, 18.9, 85}, {330, 18.9, 42}, 2.7}, {{309, 18, 140}, {337, 18, 103}, 3},
    {{374, 18.6, 122}, {410, 18.6, 20}, 2.9}, {{392, 19.2, 145}, {485, 19.2, 82}, 2.8},
    {{361, 19.2, 169}, {438, 19.2, 162}, 3.5}, {{357, 19.2, 235}, {466, 19.2, 180}, 2.7},
    {{421, 19.2, 258}, {464, 19.2, 249}, 3}, {{431, 19.2, 278}, {487, 19.2, 298}, 3.3},
    {{415, 19.2, 303}, {445, 19.2, 306}, 3.6}, {{426, 19.2, 331}, {474, 19.2, 334}, 3.7},
    {{413, 18.6, 353}, {455, 18.6, 354}, 3.5}, {{420, 18.6, 370}, {471, 18.6, 372}, 3.5},
    {{404, 18.6, 384}, {456, 18.6, 395}, 2.5}, {{438, 18.6, 422}, {474, 18.6, 438}, 2.5},
    {{389, 18.6, 421}, {483, 18.6, 489}, 2.5}, {{372, 18.6, 433}, {380, 18.6, 477}, 2.5},
    {{326, 18.6, 415}, {340, 18.6, 470}, 2.5}, {{273, 18.6, 418}, {271, 18.6, 493}, 2.5},
    {{188, 17.4, 411}, {225, 17.4, 451}, 2.5}, {{149, 16.8, 422}, {147, 16.8, 478}, 2.5},
    {{101, 16.5, 374}, {88, 16.5, 421}, 2.5}, {{95, 15.9, 370}, {59, 15.9, 418}, 3},
    {{99, 15.3, 351}, {34, 15.3, 373}, 3}, {{86, 15.3, 341}, {32, 15.3, 331}, 0},
    {{54, 15.3, 245}, {8, 15.3, 298}, -0.8}, {{0, 16.2, 240}, {0, 16.2, 250}, -1.5},
};

CppLib::TVector<float, 4> bank(const float (&p)[3])
{
    return CppLib::TVector<float, 4>(p[0], p[1], p[2], 1.0f);
}

/// The point `y` high a fraction v of the way down the centre line from
/// section i to the next.
Point onCentreLine(int i, float v, float y)
{
    const auto along = [i, v](int axis) {
        const float up = (COURSE[i].left[axis] + COURSE[i].right[axis]) / 2;
        const float down = (COURSE[i + 1].left[axis] + COURSE[i + 1].right[axis]) / 2;
        return up + v * (down - up);
    };
    return Point(along(0), y, along(2));
}

class CourseRiverTest : public VeltaTest::CoreFixture {};

} // namespace

TEST_F(CourseRiverTest, EveryQuadOfTheCourseIsValidAndHoldsItsOwnCentreLine)
{
    const int sections = static_cast<int>(sizeof COURSE / sizeof COURSE[0]);
    ASSERT_EQ(sections, 58);
    auto water = std::make_unique<Water>();
    testing::internal::CaptureStderr();
    for (const Section& section : COURSE) {
        water->addQuad(bank(section.left), bank(section.right), section.flow);
    }
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    ASSERT_EQ(water->getQuadCount(), 57u);

    for (int i = 0; i < sections - 1; ++i) {
        EXPECT_TRUE(water->getQuad(i)->isValid()) << "quad " << i;
        const float low = std::min(COURSE[i].left[1], COURSE[i + 1].left[1]);
        const float high = std::max(COURSE[i].left[1], COURSE[i + 1].left[1]);
        for (float v : {0.1f, 0.5f, 0.9f}) {
            const Water::PointHandle handle = water->getPointHandle(onCentreLine(i, v, high + 1));
            ASSERT_TRUE(handle.hasQuad()) << "quad " << i << " v " << v;
            EXPECT_EQ(handle.getQuad()->getIndex(), static_cast<unsigned int>(i)) << "v " << v;
            const float surface = water->getSurfacePoint(handle).y();
            EXPECT_TRUE(surface >= low - 1e-3f && surface <= high + 1e-3f) << "quad " << i << ": " << surface;
        }
    }
    // Past the last section the river ends.
    EXPECT_FALSE(water->getPointHandle(Point(-1, 17, 245)).hasQuad());
}
