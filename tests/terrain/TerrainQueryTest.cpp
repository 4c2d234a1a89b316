#include "TerrainTestSupport.h"

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
using namespace TerrainTest;

namespace {

using TerrainQuery = VeltaTest::CoreFixture;

TEST_F(TerrainQuery, HeightsAndDistancesFollowThePixelTriangles)
{
    // Tile 8 wide over the 3 × 3 map: pixels 4 units apart.
    OneTile valley(makeImage(3, 3, SMALL_MAP), 1, 8.0f);
    const Terrain& terrain = valley.terrain;
    const auto ground = [&terrain](float x, float z) { return terrain.getSurfacePoint(Point(x, 5, z)).y(); };
    EXPECT_NEAR(ground(2, 2), 30.0f, 1e-4f);  // on the (0, 0)–(1, 1) diagonal
    EXPECT_NEAR(ground(6, 7), 48.0f, 1e-4f);  // last square
    EXPECT_NEAR(valley.tile->getHeight(1.0f, 1.0f), 48.0f, 1e-4f);
    EXPECT_NEAR(valley.tile->getHeight(2.0f, -1.0f), 24.0f, 1e-4f);  // clamped to (1, 0)

    EXPECT_NEAR(terrain.getDistance(Point(2, 25, 1)), 7.0f, 1e-4f);
    const Terrain::PointHandle below = terrain.getPointHandle(Point(2, 10, 1));
    EXPECT_EQ(below.getTile(), valley.tile);
    EXPECT_FLOAT_EQ(below.getX(), 0.25f);
    EXPECT_FLOAT_EQ(below.getY(), 0.125f);
    EXPECT_NEAR(terrain.getDistance(below), -8.0f, 1e-4f);
    valley.tile->setOffset(-5.0f);
    EXPECT_NEAR(ground(4, 4), 55.0f, 1e-4f);  // byte 255 lowered
}

TEST_F(TerrainQuery, TileBordersBelongToTheTileStartingThereAndTheFarBorderIsOutside)
{
    // 2 × 2 tiles of 500 (not a power of two); tile (1, 0) flat at 60.
    Terrain terrain(2, 2);
    terrain.initializeTerrain(1, 0, 500.0f);
    terrain.getTile(1, 0)->setMaxHeight(60.0f);
    terrain.getTile(1, 0)->load(makeHeightMap(2, [](unsigned, unsigned) { return 255; }), 0, 0);

    EXPECT_EQ(terrain.getTile(Point(std::nextafter(500.0f, 0.0f), 0, 0)), terrain.getTile(0, 0));
    const Terrain::PointHandle border = terrain.getPointHandle(Point(500, 0, 0));
    EXPECT_EQ(border.getTile(), terrain.getTile(1, 0));
    EXPECT_EQ(border.getX(), 0.0f);
    EXPECT_NEAR(terrain.getDistance(border), -60.0f, 1e-4f);
    EXPECT_EQ(terrain.getTile(Point(999.9f, 0, 999.9f)), terrain.getTile(1, 1));

    const float nan = std::numeric_limits<float>::quiet_NaN();
    for (const Point& outside : {Point(1000, 3, 10), Point(10, 3, 1000), Point(-0.001f, 3, 10), Point(nan, 3, 10)}) {
        EXPECT_FALSE(terrain.getPointHandle(outside).inTerrain());
        EXPECT_EQ(terrain.getDistance(outside), 0.0f);
        expectVector(terrain.getNormal(outside, false), 0, 1, 0);
        EXPECT_EQ(terrain.getSurfacePoint(outside), Point(0, -1, 0));
        EXPECT_EQ(terrain.getSlope(outside), -1.0f);
    }
    // A tile answers neutrally for a handle that is not on it.
    EXPECT_EQ(terrain.getTile(0, 0)->getDistance(border), 0.0f);
    EXPECT_FALSE(Terrain(1, 1).getPointHandle(Point(1, 1, 1)).inTerrain());
}

TEST_F(TerrainQuery, NormalsComeFromTheNeighboursAndTurnWithTheTerrain)
{
    // Pixel (1, 1) of the small map from its eight neighbours, by hand:
    // (−0.2, 1, −1/6) scaled to length 1.
    OneTile small(makeImage(3, 3, SMALL_MAP), 1, 8.0f);
    const float length = std::sqrt(0.04f + 1.0f + 1.0f / 36.0f);
    expectVector(small.terrain.getNormal(Point(4, 0, 4), false), -0.2f / length, 1 / length, -1 / 6.0f / length);

    // The ramp's normal away from its corners is (−30/255, 1, 0) scaled to
    // length 1. Turned a quarter about y and moved, local (x, y, z) lies at
    // world (100 + z, 5 + y, 50 − x): local −x is world +z.
    const float slope = 30.0f / 255.0f;
    const float ny = 1.0f / std::sqrt(1.0f + slope * slope);
    SceneGraph& scene = core().getSceneManager().createSceneGraph();
    TransformationNode placement;
    OneTile ramp(makeRamp(), 2, 16.0f);
    expectVector(ramp.terrain.getNormal(Point(0, 0, 8), false), -slope * ny, ny, 0);
    placement.translate(100, 5, 50, true);
    placement.rotateY(3.14159265f / 2, true);
    placement.setChild(ramp.terrain);
    scene.getRoot()->attachChild(placement);
    scene.getUpdateTraverser()->update(0);

    const Terrain::PointHandle handle = ramp.terrain.getPointHandle(Point(104, 25, 42));  // local (8, 20, 4)
    const float ground = 60.0f / 255.0f * 60.0f;
    EXPECT_NEAR(ramp.terrain.getDistance(handle), 20.0f - ground, 1e-3f);
    const Point surface = ramp.terrain.getSurfacePoint(handle);
    EXPECT_NEAR(surface.x(), 104.0f, 1e-3f);
    EXPECT_NEAR(surface.y(), 5.0f + ground, 1e-3f);
    EXPECT_NEAR(surface.z(), 42.0f, 1e-3f);
    expectVector(ramp.terrain.getNormal(handle, false), 0, ny, slope * ny);
}

TEST_F(TerrainQuery, QueriesAllocateNothing)
{
    OneTile valley(makeImage(3, 3, SMALL_MAP), 8, 512.0f);
    const Terrain& terrain = valley.terrain;
    float sink = 0.0f;
    VeltaTest::AllocationCounter counter;
    for (int i = 0; i < 100; ++i) {
        const Point p(i * 6.1f, 20.0f, i * 5.3f);  // some outside the tile
        const Terrain::PointHandle handle = terrain.getPointHandle(p);
        sink += terrain.getDistance(handle) + terrain.getNormal(handle, false).y() + terrain.getSurfacePoint(handle).y();
        sink += terrain.getDistance(p) + terrain.getNormal(p, false).x() + terrain.getSurfacePoint(p).z();
        sink += terrain.getSlope(p);
    }
    EXPECT_EQ(counter.getCount(), 0u);
    EXPECT_TRUE(std::isfinite(sink));
}

} // namespace
