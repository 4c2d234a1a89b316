#include "geometry/GeometryData.h"
#include "geometry/VertexData.h"
#include "scene/Branch.h"
#include "scene/SceneGraph.h"
#include "scene/SceneManager.h"
#include "scene/SceneProbe.h"
#include "scene/UpdateTraverser.h"
#include "support/AllocationCounter.h"
#include "support/CoreFixture.h"
#include "water/Water.h"

using namespace Velta;
using SceneTest::expectPoint;
using Vector3 = CppLib::TVector<float, 3>;

namespace {

CppLib::TVector<float, 4> at(float x, float y, float z)
{
    return CppLib::TVector<float, 4>(x, y, z, 1.0f);
}

void expectVector(const Vector3& actual, float x, float y, float z)
{
    expectPoint(Point(actual.x(), actual.y(), actual.z()), x, y, z);
}

using WaterTest = VeltaTest::CoreFixture;

/// A square channel 10 wide from z = 0 to z = 10, flowing (1, 0, 0) at its
/// first line and (3, 0, 0) at its second.
void buildSquare(Water& water)
{
    water.addQuad(at(0, 0, 0), at(10, 0, 0), Vector3(1, 0, 0));
    water.addQuad(at(0, 0, 10), at(10, 0, 10), Vector3(3, 0, 0));
}

} // namespace

TEST_F(WaterTest, APointOverTheSquareHasItsCoordinatesDepthDistanceAndFlowWithoutAllocating)
{
    Water water;
    buildSquare(water);
    VeltaTest::AllocationCounter allocations;
    const Water::PointHandle above = water.getPointHandle(at(5, 1, 5));
    ASSERT_TRUE(above.hasQuad());
    EXPECT_EQ(above.getQuad()->getIndex(), 0u);
    EXPECT_FLOAT_EQ(above.getX(), 0.5f);
    EXPECT_FLOAT_EQ(above.getY(), 0.5f);
    EXPECT_FLOAT_EQ(water.getDepth(above), 10.0f);
    EXPECT_FLOAT_EQ(water.getDistance(above), 1.0f);
    expectPoint(water.getSurfacePoint(above), 5, 0, 5);
    expectVector(water.getNormal(above), 0, 1, 0);
    expectVector(water.getVelocity(above), 2, 0, 0);
    // Below the surface the distance turns negative; the flow follows v.
    EXPECT_FLOAT_EQ(water.getDistance(Point(2, -2, 5)), -2.0f);
    expectVector(water.getVelocity(Point(5, 0, 2.5f)), 1.5f, 0, 0);
    EXPECT_EQ(allocations.getCount(), 0u);
    // The borders belong to the quad.
    EXPECT_TRUE(water.getPointHandle(at(10, 0, 10)).hasQuad());
    EXPECT_TRUE(water.getPointHandle(at(0, 0, 0)).hasQuad());
}

TEST_F(WaterTest, PointsOffTheRiverAreDryWithTheirOwnSurfaceAndNoFlow)
{
    Water water;
    // No section, one section (no quad yet), then a river beside the point.
    for (int sections = 0; sections < 3; ++sections) {
        if (sections > 0) {
            water.addQuad(at(0, 0, 10 * (sections - 1)), at(10, 0, 10 * (sections - 1)), 2.0f);
        }
        const Water::PointHandle handle = water.getPointHandle(at(5, 1, -0.01f));
        EXPECT_FALSE(handle.hasQuad());
        EXPECT_FLOAT_EQ(water.getDepth(handle), -1.0f);
        EXPECT_FLOAT_EQ(water.getDistance(handle), 0.0f);
        expectPoint(water.getSurfacePoint(handle), 5, 1, -0.01f);
        expectVector(water.getVelocity(handle), 0, 0, 0);
        expectVector(water.getNormal(handle), 0, 1, 0);
    }
    EXPECT_FALSE(water.getPointHandle(at(10.01f, 0, 5)).hasQuad());
    // A flow speed runs across its section, to the left of p1 → p2.
    expectVector(water.getFirstLine()->getVelocity(), 0, 0, -2);
}

TEST_F(WaterTest, ATaperedSlopingQuadMapsItsFarCornerAndBanksToTheUnitSquare)
{
    Water water;
    // Narrow upstream, wide and 1 lower downstream.
    water.addQuad(at(0, 0, 0), at(10, 0, 0), 1.0f);
    water.addQuad(at(-5, -1, 10), at(15, -1, 10), 1.0f);
    float u = -1;
    float v = -1;
    ASSERT_TRUE(water.getQuad(0)->getCoordinates(Point(15, 0, 10), u, v));
    EXPECT_NEAR(u, 1.0f, 1e-5f);
    EXPECT_NEAR(v, 1.0f, 1e-5f);

    // The slanted banks from (10, 0) to (15, 10) and (0, 0) to (-5, 10)
    // bound the quad exactly.
    EXPECT_TRUE(water.getPointHandle(at(13.99f, 0, 8)).hasQuad());
    EXPECT_FALSE(water.getPointHandle(at(14.01f, 0, 8)).hasQuad());
    EXPECT_TRUE(water.getPointHandle(at(-3.99f, 0, 8)).hasQuad());
    EXPECT_FALSE(water.getPointHandle(at(-4.01f, 0, 8)).hasQuad());
    EXPECT_NEAR(water.getDistance(Point(5, 0, 5)), 0.5f, 1e-5f); // the surface is at -0.5 there
}

TEST_F(WaterTest, SectionsWithSwappedOrCoincidentBanksAreReportedAndHoldNoPoints)
{
    Water water;
    water.addQuad(at(0, 0, 0), at(10, 0, 0), 1.0f);
    testing::internal::CaptureStderr();
    water.addQuad(at(10, 0, 10), at(0, 0, 10), 1.0f); // reversed banks fold the quad
    water.addQuad(at(20, 0, 10), at(20, 0, 10), 1.0f); // both banks on one point
    const std::string log = testing::internal::GetCapturedStderr();

    EXPECT_EQ(log, "Invalid quad coordinates! Quad: 0; P3: -1; 1\n"
                   "Invalid quad coordinates! Quad: 1; P3: 0; 0\n");
    EXPECT_FALSE(water.getPointHandle(at(5, 0, 2)).hasQuad());
    EXPECT_FALSE(water.getPointHandle(at(5, 0, 8)).hasQuad());
    EXPECT_EQ(water.getQuadCount(), 2u); // kept, and still drawn
    EXPECT_EQ(water.getGeometry()->getIndexedData(0)->getCount(), 6u);
}

TEST_F(WaterTest, QueriesTakeWorldPointsIntoThePlacedWaterAndBack)
{
    Water water;
    SceneGraph& scene = core().getSceneManager().createSceneGraph();
    TransformationNode place;
    place.rotateY(3.14159265f / 2, false); // the water's z axis runs along the world's x axis
    place.translate(100, 5, 0, false);
    place.setChild(water);
    scene.getRoot()->attachChild(place);
    buildSquare(water);
    scene.getUpdateTraverser()->update(1);

    const Water::PointHandle handle = water.getPointHandle(at(102, 6, -3));
    ASSERT_TRUE(handle.hasQuad());
    EXPECT_NEAR(handle.getX(), 0.3f, 1e-5f);
    EXPECT_NEAR(handle.getY(), 0.2f, 1e-5f);
    EXPECT_NEAR(water.getDistance(handle), 1.0f, 1e-5f);
    expectPoint(water.getSurfacePoint(handle), 102, 5, -3);
    SceneTest::expectBox(water.getTransformedNode().getBoundingVolume(), Point(100, 5, -10), Point(110, 5, 0));
    place.detachChild();
    scene.getRoot()->detachChild(place.getNodeId());
}
