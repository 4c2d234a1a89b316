#include "geometry/GeometryData.h"
#include "geometry/GeometryDataGroup.h"
#include "geometry/GeometrySubobject.h"
#include "geometry/IndexElementData.h"
#include "geometry/VertexData.h"
#include "scene/Branch.h"
#include "scene/SceneGraph.h"
#include "scene/SceneManager.h"
#include "scene/SceneProbe.h"
#include "scene/TransformationNode.h"
#include "scene/UpdateTraverser.h"
#include "support/AllocationCounter.h"
#include "support/CoreFixture.h"
#include "water/Water.h"

#include <memory>

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
    EXPECT_NEAR(actual.x(), x, 1e-4f);
    EXPECT_NEAR(actual.y(), y, 1e-4f);
    EXPECT_NEAR(actual.z(), z, 1e-4f);
}

class WaterTest : public VeltaTest::CoreFixture {
protected:
    void SetUp() override
    {
        CoreFixture::SetUp();
        mWater = std::make_unique<Water>();
    }

    void TearDown() override
    {
        mWater.reset();
        CoreFixture::TearDown();
    }

    /// A square channel 10 wide from z = 0 to z = 10, flowing (1, 0, 0) at
    /// its first line and (3, 0, 0) at its second.
    void buildSquare()
    {
        mWater->addQuad(at(0, 0, 0), at(10, 0, 0), Vector3(1, 0, 0));
        mWater->addQuad(at(0, 0, 10), at(10, 0, 10), Vector3(3, 0, 0));
    }

    std::unique_ptr<Water> mWater;
};

} // namespace

TEST_F(WaterTest, APointOverTheSquareHasItsQuadCoordinatesDepthDistanceAndFlow)
{
    buildSquare();
    Water::PointHandle above = mWater->getPointHandle(at(5, 1, 5));
    ASSERT_TRUE(above.hasQuad());
    EXPECT_EQ(above.getQuad()->getIndex(), 0u);
    EXPECT_FLOAT_EQ(above.getX(), 0.5f);
    EXPECT_FLOAT_EQ(above.getY(), 0.5f);
    EXPECT_FLOAT_EQ(mWater->getDepth(above), 10.0f);
    EXPECT_FLOAT_EQ(mWater->getDistance(above), 1.0f);
    expectPoint(mWater->getSurfacePoint(above), 5, 0, 5);
    expectVector(mWater->getNormal(above), 0, 1, 0);
    expectVector(mWater->getVelocity(above), 2, 0, 0);

    // Below the surface the distance turns negative; the flow follows v.
    EXPECT_FLOAT_EQ(mWater->getDistance(Point(2, -2, 5)), -2.0f);
    expectVector(mWater->getVelocity(Point(5, 0, 2.5f)), 1.5f, 0, 0);
    // The borders belong to the quad.
    EXPECT_TRUE(mWater->getPointHandle(at(10, 0, 10)).hasQuad());
    EXPECT_TRUE(mWater->getPointHandle(at(0, 0, 0)).hasQuad());
}

TEST_F(WaterTest, PointsOffTheRiverAreDryWithTheirOwnSurfaceAndNoFlow)
{
    // No section, one section (no quad yet), then a river beside the points.
    const Point outside(5, 1, -0.01f);
    for (int sections = 0; sections < 3; ++sections) {
        if (sections == 1) {
            mWater->addQuad(at(0, 0, 0), at(10, 0, 0), 2.0f);
        } else if (sections == 2) {
            mWater->addQuad(at(0, 0, 10), at(10, 0, 10), 2.0f);
        }
        const Water::PointHandle handle = mWater->getPointHandle(outside);
        EXPECT_FALSE(handle.hasQuad());
        EXPECT_FLOAT_EQ(mWater->getDepth(handle), -1.0f);
        EXPECT_FLOAT_EQ(mWater->getDistance(handle), 0.0f);
        expectPoint(mWater->getSurfacePoint(handle), 5, 1, -0.01f);
        expectVector(mWater->getVelocity(handle), 0, 0, 0);
        expectVector(mWater->getNormal(handle), 0, 1, 0);
    }
    EXPECT_FALSE(mWater->getPointHandle(at(10.01f, 0, 5)).hasQuad());
    EXPECT_FALSE(mWater->getPointHandle(at(5, 0, 10.01f)).hasQuad());
}

TEST_F(WaterTest, AFlowSpeedRunsAcrossItsSectionToTheLeft)
{
    mWater->addQuad(at(0, 0, 0), at(10, 0, 0), 2.0f);
    mWater->addQuad(at(0, 0, 10), at(0, 0, 20), -1.0f);
    expectVector(mWater->getFirstLine()->getVelocity(), 0, 0, -2);
    expectVector(mWater->getQuad(0)->getVelocity(), -1, 0, 0);
}

TEST_F(WaterTest, ATaperedSlopingQuadMapsItsFarCornerAndBanksToTheUnitSquare)
{
    // Narrow upstream, wide and 1 lower downstream.
    mWater->addQuad(at(0, 0, 0), at(10, 0, 0), Vector3(0, 0, 1));
    mWater->addQuad(at(-5, -1, 10), at(15, -1, 10), Vector3(0, 0, 1));
    float u = -1;
    float v = -1;
    const Water::QuadSegment& quad = *mWater->getQuad(0);
    ASSERT_TRUE(quad.isValid());
    ASSERT_TRUE(quad.getCoordinates(Point(15, 0, 10), u, v));
    EXPECT_NEAR(u, 1.0f, 1e-5f);
    EXPECT_NEAR(v, 1.0f, 1e-5f);

    // The slanted bank from (10, 0) to (15, 10) bounds the quad exactly.
    EXPECT_TRUE(mWater->getPointHandle(at(13.99f, 0, 8)).hasQuad());
    EXPECT_FALSE(mWater->getPointHandle(at(14.01f, 0, 8)).hasQuad());
    EXPECT_TRUE(mWater->getPointHandle(at(-3.99f, 0, 8)).hasQuad());
    EXPECT_FALSE(mWater->getPointHandle(at(-4.01f, 0, 8)).hasQuad());

    const Water::PointHandle middle = mWater->getPointHandle(at(5, 0, 5));
    EXPECT_NEAR(middle.getX(), 0.5f, 1e-5f);
    EXPECT_NEAR(middle.getY(), 0.5f, 1e-5f);
    EXPECT_NEAR(mWater->getDistance(middle), 0.5f, 1e-5f); // the surface is at -0.5 there
}

TEST_F(WaterTest, ASectionWithItsBanksSwappedIsReportedAndHoldsNoPoints)
{
    mWater->addQuad(at(0, 0, 0), at(10, 0, 0), 1.0f);
    testing::internal::CaptureStderr();
    mWater->addQuad(at(10, 0, 10), at(0, 0, 10), 1.0f); // reversed banks fold the quad
    mWater->addQuad(at(20, 0, 10), at(20, 0, 10), 1.0f); // both banks on one point
    mWater->addQuad(at(10, 0, 20), at(0, 0, 20), 1.0f);
    const std::string log = testing::internal::GetCapturedStderr();

    EXPECT_EQ(log, "Invalid quad coordinates! Quad: 0; P3: -1; 1\n"
                   "Invalid quad coordinates! Quad: 1; P3: 0; 0\n"
                   "Invalid quad coordinates! Quad: 2; P3: 0; 0\n");
    EXPECT_FALSE(mWater->getQuad(0)->isValid());
    EXPECT_FALSE(mWater->getPointHandle(at(5, 0, 2)).hasQuad());
    EXPECT_FALSE(mWater->getPointHandle(at(5, 0, 8)).hasQuad());
    EXPECT_EQ(mWater->getQuadCount(), 3u); // kept, and still drawn
}

TEST_F(WaterTest, TheStripHasTwoVerticesPerSectionAndBoundsTheBanks)
{
    buildSquare();
    mWater->addQuad(at(0, -2, 20), at(12, -2, 20), 1.0f);
    const GeometryData& geometry = *mWater->getGeometry();
    const VertexData& vertices = *geometry.getIndexedData(0);
    ASSERT_EQ(vertices.getCount(), 6u);
    const float* normals = static_cast<const float*>(vertices.getNormals());
    EXPECT_FLOAT_EQ(normals[3 * 5 + 1], 1.0f);
    const auto* strip = dynamic_cast<const IndexElementData*>(geometry.getGroup(0)->getElementList(0).get(0));
    ASSERT_NE(strip, nullptr);
    EXPECT_EQ(strip->getElementType(), GeometryElement::QUAD_STRIP);
    ASSERT_EQ(strip->getIndexList().getCount(), 6u);
    EXPECT_EQ(strip->getIndexList().getIndex(5), 5u);
    SceneTest::expectBox(*geometry.getBoundingVolume(), Point(0, -2, 0), Point(12, 0, 20));
    EXPECT_EQ(mWater->getSubobject().getParent(), mWater.get());
    EXPECT_EQ(mWater->getDefaultMaterial(7).get(), mWater->getSubobject().getMaterial(0).get());
}

TEST_F(WaterTest, QueriesTakeWorldPointsIntoThePlacedWaterAndBack)
{
    SceneGraph& scene = core().getSceneManager().createSceneGraph();
    TransformationNode place;
    place.rotateY(3.14159265f / 2, false); // the water's z axis runs along the world's x axis
    place.translate(100, 5, 0, false);
    place.setChild(*mWater);
    scene.getRoot()->attachChild(place);
    buildSquare();
    scene.getUpdateTraverser()->update(1);

    const Water::PointHandle handle = mWater->getPointHandle(at(102, 6, -3));
    ASSERT_TRUE(handle.hasQuad());
    EXPECT_NEAR(handle.getX(), 0.3f, 1e-5f);
    EXPECT_NEAR(handle.getY(), 0.2f, 1e-5f);
    EXPECT_NEAR(mWater->getDistance(handle), 1.0f, 1e-5f);
    expectPoint(mWater->getSurfacePoint(handle), 102, 5, -3);
    place.detachChild();
    scene.getRoot()->detachChild(place.getNodeId());
}

TEST_F(WaterTest, QueriesAllocateNothing)
{
    buildSquare();
    const Point point(5, 1, 5);
    Water::PointHandle handle;
    float sum = 0;
    VeltaTest::AllocationCounter allocations;
    handle = mWater->getPointHandle(point);
    sum += mWater->getDistance(handle) + mWater->getDepth(handle) + mWater->getVelocity(handle).x();
    sum += mWater->getSurfacePoint(handle).y() + mWater->getNormal(handle).y();
    sum += mWater->getDistance(point) + mWater->getVelocity(point).x() + mWater->getSurfacePoint(point).y();
    EXPECT_EQ(allocations.getCount(), 0u);
    EXPECT_GT(sum, 0.0f);
}
