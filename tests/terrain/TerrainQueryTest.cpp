#include "TerrainTestSupport.h"

#include "cpplib/Matrix.h"
#include "scene/Branch.h"
#include "scene/SceneGraph.h"
#include "scene/SceneManager.h"
#include "scene/TransformationNode.h"
#include "scene/UpdateTraverser.h"
#include "support/AllocationCounter.h"
#include "support/CoreFixture.h"

#include <cmath>
#include <limits>

using namespace Velta;
using TerrainTest::expectVector;
using TerrainTest::makeHeightMap;
using TerrainTest::makeSmallMap;
using TerrainTest::OneTile;

namespace {

using TerrainQuery = VeltaTest::CoreFixture;

constexpr float PI = 3.14159265f;

/// A ramp rising 30 bytes per pixel along x: every pixel normal away from
/// the corners, borders included, is (−30/255, 1, 0) before scaling to
/// length 1.
CppLib::SharedPtr<TextureSource> makeRamp()
{
    return makeHeightMap(5, 5, [](unsigned int x, unsigned int) { return 30 * x; });
}

const float RAMP_NX = -(30.0f / 255.0f) / std::sqrt(1.0f + (30.0f / 255.0f) * (30.0f / 255.0f));
const float RAMP_NY = 1.0f / std::sqrt(1.0f + (30.0f / 255.0f) * (30.0f / 255.0f));

TEST_F(TerrainQuery, HeightsInterpolateOnTheTrianglesOfEachPixelSquare)
{
    // Tile 8 wide over a 3 × 3 map: pixels 4 units apart.
    OneTile valley(makeSmallMap(), 1, 8.0f);
    const Terrain& terrain = valley.terrain;

    EXPECT_NEAR(terrain.getSurfacePoint(Point(0, 5, 0)).y(), 0.0f, 1e-4f);
    EXPECT_NEAR(terrain.getSurfacePoint(Point(4, 5, 4)).y(), 60.0f, 1e-4f);  // byte 255
    EXPECT_NEAR(terrain.getSurfacePoint(Point(2, 5, 1)).y(), 18.0f, 1e-4f);  // above the diagonal
    EXPECT_NEAR(terrain.getSurfacePoint(Point(1, 5, 2)).y(), 21.0f, 1e-4f);  // below it
    EXPECT_NEAR(terrain.getSurfacePoint(Point(2, 5, 2)).y(), 30.0f, 1e-4f);  // on it
    EXPECT_NEAR(terrain.getSurfacePoint(Point(6, 5, 7)).y(), 48.0f, 1e-4f);  // last square
    EXPECT_NEAR(valley.tile->getHeight(1.0f, 1.0f), 48.0f, 1e-4f);           // last pixel
    EXPECT_NEAR(valley.tile->getHeight(2.0f, -1.0f), 24.0f, 1e-4f);          // clamped to (1, 0)

    valley.tile->setOffset(-5.0f);
    EXPECT_NEAR(valley.tile->getHeight(0.5f, 0.5f), 55.0f, 1e-4f);
}

TEST_F(TerrainQuery, DistanceIsSignedBySideOfTheGround)
{
    OneTile valley(makeSmallMap(), 1, 8.0f);
    const Terrain& terrain = valley.terrain;

    EXPECT_NEAR(terrain.getDistance(Point(2, 25, 1)), 7.0f, 1e-4f);
    EXPECT_NEAR(terrain.getDistance(Point(2, 10, 1)), -8.0f, 1e-4f);
    EXPECT_NEAR(terrain.getDistance(Point(2, 18, 1)), 0.0f, 1e-4f);

    const Terrain::PointHandle handle = terrain.getPointHandle(Point(2, 10, 1));
    EXPECT_TRUE(handle.inTerrain());
    EXPECT_FLOAT_EQ(handle.getX(), 0.25f);
    EXPECT_FLOAT_EQ(handle.getY(), 0.125f);
    EXPECT_NEAR(handle.getLocalSurfacePoint().y(), 18.0f, 1e-4f);
    EXPECT_NEAR(terrain.getDistance(handle), -8.0f, 1e-4f);
    EXPECT_NEAR(valley.tile->getDistance(handle), -8.0f, 1e-4f);
}

TEST_F(TerrainQuery, TileBordersBelongToTheTileThatStartsThere)
{
    // 2 × 2 tiles of 500 (not a power of two): tile (1, 0) flat at 60.
    Terrain terrain(2, 2);
    terrain.initializeTerrain(1, 0, 500.0f);
    for (unsigned int y = 0; y < 2; ++y) {
        for (unsigned int x = 0; x < 2; ++x) {
            terrain.getTile(x, y)->setMaxHeight(60.0f);
            terrain.getTile(x, y)->load(makeHeightMap(2, 2, [x, y](unsigned, unsigned) { return x == 1 && y == 0 ? 255 : 0; }), 0, 0);
        }
    }
    const float justBefore = std::nextafter(500.0f, 0.0f);

    EXPECT_EQ(terrain.getTile(Point(justBefore, 0, 0)), terrain.getTile(0, 0));
    EXPECT_NEAR(terrain.getSurfacePoint(Point(justBefore, 0, 0)).y(), 0.0f, 1e-4f);
    const Terrain::PointHandle border = terrain.getPointHandle(Point(500, 0, 0));
    EXPECT_EQ(border.getTile(), terrain.getTile(1, 0));
    EXPECT_EQ(border.getX(), 0.0f);
    EXPECT_NEAR(terrain.getSurfacePoint(border).y(), 60.0f, 1e-4f);
    EXPECT_EQ(terrain.getTile(Point(0, 0, 500)), terrain.getTile(0, 1));
    EXPECT_EQ(terrain.getTile(Point(999.9f, 0, 999.9f)), terrain.getTile(1, 1));
    EXPECT_LE(terrain.getPointHandle(Point(999.99f, 0, 10)).getX(), 1.0f);

    // The far borders, negative coordinates and NaN are outside.
    const float nan = std::numeric_limits<float>::quiet_NaN();
    for (const Point& outside : {Point(1000, 0, 10), Point(10, 0, 1000), Point(-0.001f, 0, 10), Point(10, 0, -1),
                                 Point(nan, 0, 10), Point(std::numeric_limits<float>::infinity(), 0, 0)}) {
        EXPECT_EQ(terrain.getTile(outside), nullptr);
        EXPECT_FALSE(terrain.getPointHandle(outside).inTerrain());
    }
}

TEST_F(TerrainQuery, PointsOutsideTheGridGetTheNeutralAnswers)
{
    OneTile valley(makeSmallMap(), 8, 512.0f);
    const Terrain& terrain = valley.terrain;

    const Terrain::PointHandle inside = terrain.getPointHandle(Point(511.9f, 3, 511.9f));
    EXPECT_EQ(inside.getTile(), valley.tile);
    EXPECT_NEAR(inside.getX(), 0.9998f, 1e-4f);

    for (const Point& outside : {Point(600, 3, 10), Point(512, 3, 10), Point(-1, 3, 10)}) {
        const Terrain::PointHandle handle = terrain.getPointHandle(outside);
        EXPECT_FALSE(handle.inTerrain());
        EXPECT_EQ(terrain.getDistance(handle), 0.0f);
        expectVector(terrain.getNormal(handle, false), 0, 1, 0);
        const Point surface = terrain.getSurfacePoint(outside);
        EXPECT_EQ(surface, Point(0, -1, 0));
        EXPECT_EQ(terrain.getSlope(outside), -1.0f);
    }
    EXPECT_EQ(terrain.getSlope(Point(10, 3, 10)), 0.0f);

    // A handle of another tile, or of no tile, gets the neutral answers
    // from a tile too.
    const Terrain::PointHandle outside = terrain.getPointHandle(Point(600, 3, 10));
    EXPECT_EQ(valley.tile->getDistance(outside), 0.0f);
    expectVector(valley.tile->getNormal(outside, false), 0, 1, 0);

    // An empty grid has no tiles anywhere.
    Terrain empty(1, 1);
    EXPECT_EQ(empty.getTile(0, 0), nullptr);
    EXPECT_FALSE(empty.getPointHandle(Point(1, 1, 1)).inTerrain());
}

TEST_F(TerrainQuery, NormalsFollowTheNeighbouringHeights)
{
    OneTile ramp(makeRamp(), 2, 16.0f);
    for (const Point& p : {Point(8, 0, 8), Point(0, 0, 8), Point(14, 9, 6), Point(6, 0, 10)}) {
        expectVector(ramp.terrain.getNormal(p, false), RAMP_NX, RAMP_NY, 0);
    }

    // Pixel (1, 1) of the small map, worked out by hand from its eight
    // neighbours: (−0.2, 1, −1/6) scaled to length 1.
    OneTile small(makeSmallMap(), 1, 8.0f);
    const float length = std::sqrt(0.04f + 1.0f + 1.0f / 36.0f);
    expectVector(small.terrain.getNormal(Point(4, 0, 4), false), -0.2f / length, 1.0f / length,
                 -1.0f / 6.0f / length);
    const CppLib::TVector<float, 3> normal = small.terrain.getNormal(Point(2, 0, 1), false);
    EXPECT_NEAR(normal.length(), 1.0f, 1e-5f);
}

TEST_F(TerrainQuery, QueriesWorkInTheTerrainsWorldFrame)
{
    // Turned a quarter about y and moved: local (x, y, z) lies at world
    // (100 + z, 5 + y, 50 − x).
    SceneGraph& scene = core().getSceneManager().createSceneGraph();
    TransformationNode placement;
    OneTile ramp(makeRamp(), 2, 16.0f);
    placement.translate(100, 5, 50, true);
    placement.rotateY(PI / 2, true);
    placement.setChild(ramp.terrain);
    scene.getRoot()->attachChild(placement);
    scene.getUpdateTraverser()->update(0);

    // Local (8, 20, 4): ground at 2 pixels × 30 bytes = 60/255 × 60.
    const float ground = 60.0f / 255.0f * 60.0f;
    const Point world(104, 25, 42);
    const Terrain::PointHandle handle = ramp.terrain.getPointHandle(world);
    ASSERT_TRUE(handle.inTerrain());
    EXPECT_NEAR(handle.getLocalPoint().x(), 8.0f, 1e-4f);
    EXPECT_NEAR(handle.getLocalPoint().z(), 4.0f, 1e-4f);
    EXPECT_NEAR(ramp.terrain.getDistance(handle), 20.0f - ground, 1e-3f);
    const Point surface = ramp.terrain.getSurfacePoint(handle);
    EXPECT_NEAR(surface.x(), 104.0f, 1e-3f);
    EXPECT_NEAR(surface.y(), 5.0f + ground, 1e-3f);
    EXPECT_NEAR(surface.z(), 42.0f, 1e-3f);
    // The local normal leans towards −x, which is world +z.
    expectVector(ramp.terrain.getNormal(handle, false), 0, RAMP_NY, -RAMP_NX);
    EXPECT_FALSE(ramp.terrain.getPointHandle(Point(99, 0, 42)).inTerrain());

    placement.detachChild();
}

TEST_F(TerrainQuery, QueriesAllocateNothing)
{
    OneTile valley(makeSmallMap(), 8, 512.0f);
    const Terrain& terrain = valley.terrain;
    float sink = 0.0f;
    VeltaTest::AllocationCounter counter;
    for (int i = 0; i < 100; ++i) {
        const Point p(i * 6.1f, 20.0f, i * 5.3f);
        const Terrain::PointHandle handle = terrain.getPointHandle(p);
        sink += terrain.getDistance(handle) + terrain.getNormal(handle, false).y() + terrain.getSurfacePoint(handle).y();
        sink += terrain.getDistance(p) + terrain.getNormal(p, false).x() + terrain.getSurfacePoint(p).z();
        sink += terrain.getSlope(p) + valley.tile->getHeight(0.3f, 0.7f);
    }
    EXPECT_EQ(counter.getCount(), 0u);
    EXPECT_TRUE(std::isfinite(sink));
}

} // namespace
