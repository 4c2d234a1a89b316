#include "TerrainTestSupport.h"

#include "geometry/GeometryData.h"
#include "geometry/GeometryGroup.h"
#include "geometry/IndexElementData.h"
#include "geometry/VertexData.h"
#include "resource/Material.h"
#include "resource/Texture.h"
#include "scene/Branch.h"
#include "scene/SceneGraph.h"
#include "scene/SceneManager.h"
#include "scene/UpdateTraverser.h"
#include "support/CoreFixture.h"
#include "terrain/TerrainPatch.h"

#include <random>

using namespace Velta;
using TerrainTest::expectVector;
using TerrainTest::makeHeightMap;
using TerrainTest::makeImage;
using TerrainTest::makeSmallMap;
using TerrainTest::OneTile;

namespace {

using TerrainTile = VeltaTest::CoreFixture;

struct Triangle {
    Point a, b, c;
};

/// Every triangle the patches draw, corners in the tile's frame, in the
/// order a triangle strip draws them (odd triangles with their first two
/// corners swapped, so every triangle keeps its winding).
std::vector<Triangle> drawnTriangles(const Terrain& terrain)
{
    std::vector<Triangle> triangles;
    for (unsigned int p = 0; p < terrain.getPatchCount(); ++p) {
        const CppLib::SharedPtr<Geometry> geometry = terrain.getPatch(p)->getGeometry(0);
        const VertexDataSet* vertices = geometry->getIndexedDataSet(0);
        if (!vertices) {
            continue;
        }
        const float* xyz = static_cast<const float*>(vertices->getVertices());
        const auto corner = [&](unsigned int i) {
            EXPECT_LT(i, vertices->getCount());
            return Point(xyz[3 * i], xyz[3 * i + 1], xyz[3 * i + 2]);
        };
        for (const GeometryGroup* group : geometry->getElementGroups()) {
            for (const GeometryElement* element : group->getElementList(0)) {
                EXPECT_EQ(element->getElementType(), GeometryElement::TRIANGLE_STRIP);
                const IndexData& list = dynamic_cast<const IndexElementData&>(*element).getIndexList();
                for (unsigned int k = 0; k + 2 < list.getCount(); ++k) {
                    const unsigned int first = list.getIndex(k % 2 ? k + 1 : k);
                    const unsigned int second = list.getIndex(k % 2 ? k : k + 1);
                    triangles.push_back({corner(first), corner(second), corner(list.getIndex(k + 2))});
                }
            }
        }
    }
    return triangles;
}

/// Twice the signed area of the triangle a, b, (x, z) seen from above:
/// positive when it faces up (counter-clockwise for a viewer above).
float turn(const Point& a, const Point& b, float x, float z)
{
    return (b.z() - a.z()) * (x - a.x()) - (b.x() - a.x()) * (z - a.z());
}

/// Checks that the drawn triangles cover the tile once, face up, and carry
/// the heights the queries answer.
void expectDrawnSurfaceMatchesQueries(unsigned int patchDetail, unsigned int patchLevels, unsigned int mapSize)
{
    std::mt19937 random(7);
    std::uniform_int_distribution<int> bytes(0, 255);
    Terrain terrain(1, 1);
    terrain.initializeTerrain(patchDetail, patchLevels, 16.0f);
    Terrain::Tile& tile = *terrain.getTile(0, 0);
    tile.setEnabled(true);
    tile.setMaxHeight(60.0f);
    tile.load(makeHeightMap(mapSize, mapSize, [&](unsigned, unsigned) { return bytes(random); }), 0, 0);
    tile.updateTile();

    const std::vector<Triangle> triangles = drawnTriangles(terrain);
    const unsigned int n = tile.getVertexNumPerEdge();
    ASSERT_EQ(triangles.size(), 2u * (n - 1) * (n - 1));
    for (const Triangle& t : triangles) {
        EXPECT_GT(turn(t.a, t.b, t.c.x(), t.c.z()), 0.0f);
    }
    std::uniform_real_distribution<float> along(0.0f, 16.0f);
    for (int i = 0; i < 400; ++i) {
        const float x = along(random);
        const float z = along(random);
        int holders = 0;
        for (const Triangle& t : triangles) {
            const float area = turn(t.a, t.b, t.c.x(), t.c.z());
            const float wa = turn(t.b, t.c, x, z) / area;
            const float wb = turn(t.c, t.a, x, z) / area;
            const float wc = 1.0f - wa - wb;
            if (wa < -1e-5f || wb < -1e-5f || wc < -1e-5f) {
                continue;
            }
            ++holders;
            const float drawn = wa * t.a.y() + wb * t.b.y() + wc * t.c.y();
            EXPECT_NEAR(drawn, terrain.getSurfacePoint(Point(x, 0, z)).y(), 2e-3f) << x << ", " << z;
        }
        EXPECT_GE(holders, 1) << "gap at " << x << ", " << z;
    }
}

TEST_F(TerrainTile, DrawnTrianglesCoverTheTileWithTheQueriedHeights)
{
    expectDrawnSurfaceMatchesQueries(3, 0, 8);  // one patch, one vertex per pixel
    expectDrawnSurfaceMatchesQueries(1, 2, 8);  // 4 × 4 patches sharing their borders
}

TEST_F(TerrainTile, UpdatingAgainDrawsTheNewGrid)
{
    OneTile valley(makeHeightMap(4, 4, [](unsigned, unsigned) { return 0; }), 2, 12.0f);
    valley.tile->updateTile();
    valley.tile->load(makeHeightMap(4, 4, [](unsigned, unsigned) { return 255; }), 0, 0);
    valley.tile->updateTile();

    for (const Triangle& t : drawnTriangles(valley.terrain)) {
        EXPECT_FLOAT_EQ(t.a.y(), 60.0f);
    }
}

TEST_F(TerrainTile, PatchesAreBoundedByTheirSquareAndTheHeightRange)
{
    SceneGraph& scene = core().getSceneManager().createSceneGraph();
    Terrain terrain(1, 1);
    terrain.initializeTerrain(1, 1, 12.0f); // 2 × 2 patches of 2 vertices, N = 4
    Terrain::Tile& tile = *terrain.getTile(0, 0);
    tile.setOffset(-2.0f);
    tile.setMaxHeight(60.0f);
    tile.load(makeSmallMap(), 0, 0);
    scene.getRoot()->attachChild(terrain);

    tile.updateTile(); // disabled: no strips
    EXPECT_TRUE(drawnTriangles(terrain).empty());
    tile.setEnabled(true);
    tile.updateTile();
    scene.getUpdateTraverser()->update(0);

    ASSERT_EQ(terrain.getPatchCount(), 4u);
    const BoundingBox* box = terrain.getPatch(1)->getBoundingVolume()->asBox();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->getMin(), Point(8, -2, 0));
    EXPECT_EQ(box->getMax(), Point(12, 58, 8));
    const BoundingBox* whole = terrain.getTransformedNode().getBoundingVolume().asBox();
    ASSERT_NE(whole, nullptr);
    EXPECT_EQ(whole->getMin(), Point(0, -2, 0));
    EXPECT_EQ(whole->getMax(), Point(12, 58, 12));
}

TEST_F(TerrainTile, TwoLayersWithBaseAndLightMapUseSixUnitsAndFourCoordinateSets)
{
    OneTile valley(makeSmallMap(), 2, 16.0f); // N = 4
    Terrain::Tile& tile = *valley.tile;
    const auto image = [] { return makeImage(2, 2, {10, 20, 30, 40}); };
    const CppLib::SharedPtr<TextureSource> base = image();
    tile.setBaseMap(base, 10.0f);
    EXPECT_EQ(tile.addTextureLayer(image(), image(), 15.0f), 0u);
    EXPECT_EQ(tile.addTextureLayer(image(), image(), 20.0f), 1u);
    tile.setLightMap(tile.getSlopeMap(), 0.4f, 0.6f);
    tile.updateTile();

    const Material& material = *tile.getMaterial();
    ASSERT_EQ(material.getTextureCount(), 6u);
    const Texture::TexMode modes[6] = {Texture::MODULATE, Texture::BLEND_BY_VERTEX_ALPHA,
                                       Texture::BLEND_UNIT_BY_TEXTURE, Texture::BLEND_BY_UNIT_ALPHA,
                                       Texture::BLEND_UNIT_BY_TEXTURE, Texture::MODULATE_PREVIOUS};
    for (unsigned int unit = 0; unit < 6; ++unit) {
        ASSERT_FALSE(material.getTexture(unit).isNull()) << unit;
        EXPECT_EQ(material.getTexture(unit)->getTexMode(), modes[unit]) << unit;
    }
    EXPECT_EQ(material.getTexture(0)->getTextureSource(0, 0).get(), base.get());
    EXPECT_EQ(material.getTexture(1)->getTextureSource(0, 0).get(),
              tile.getTextureLayer(0)->texture->getTextureSource(0, 0).get());
    EXPECT_EQ(material.getTexture(4).get(), tile.getTextureLayer(1)->alpha.get());
    EXPECT_EQ(material.getTexture(0)->getMinFilter(), Texture::MIPMAP);
    EXPECT_TRUE(material.getTexture(0)->doGenerateMipMaps());
    EXPECT_TRUE(material.getTexture(1)->doGenerateMipMaps());

    const VertexData& data = *tile.getVertexData();
    const CppLib::Vector<unsigned int>& sets = data.getTexturesIndices();
    ASSERT_EQ(sets.getSize(), 4u);
    EXPECT_EQ(sets.get(0), 0u);
    EXPECT_EQ(sets.get(1), 1u);
    EXPECT_EQ(sets.get(2), 3u);
    EXPECT_EQ(sets.get(3), 5u);

    // Vertex (column 2, row 1): base repeats every 10 units, the layers every
    // 15 and 20, the light map once across the tile.
    const float* st = static_cast<const float*>(data.getTexCoordinates(0)) + (1 * 4 + 2) * 4 * 2;
    const float expected[8] = {2 * 16 / 40.0f, 16 / 40.0f, 2 * 16 / 60.0f, 16 / 60.0f,
                               2 * 16 / 80.0f, 16 / 80.0f, 2 / 3.0f, 1 / 3.0f};
    for (int k = 0; k < 8; ++k) {
        EXPECT_NEAR(st[k], expected[k], 1e-5f) << k;
    }
}

TEST_F(TerrainTile, MiddleLayersCarryTheirOwnAlphaCoordinates)
{
    OneTile valley(makeSmallMap(), 2, 16.0f);
    Terrain::Tile& tile = *valley.tile;
    const auto image = [] { return makeImage(1, 1, {128}); };
    tile.setBaseMap(image(), 5.0f);
    for (int i = 0; i < 3; ++i) {
        tile.addTextureLayer(image(), image(), 10.0f);
    }
    tile.setLightMap(image(), 1.0f, 0.0f);
    tile.updateTile();

    const CppLib::Vector<unsigned int>& sets = tile.getVertexData()->getTexturesIndices();
    const unsigned int expected[6] = {0, 1, 3, 4, 5, 7};
    ASSERT_EQ(sets.getSize(), 6u);
    for (unsigned int k = 0; k < 6; ++k) {
        EXPECT_EQ(sets.get(k), expected[k]);
    }
    EXPECT_EQ(tile.getMaterial()->getTexture(3)->getTexMode(), Texture::PASS_PREVIOUS);
    EXPECT_EQ(tile.getMaterial()->getTexture(5)->getTexMode(), Texture::BLEND_BY_UNIT_ALPHA);
    EXPECT_EQ(tile.getMaterial()->getTexture(7)->getTexMode(), Texture::MODULATE_PREVIOUS);

    // Without any texture the grid has no coordinates at all.
    OneTile bare(makeSmallMap(), 2, 16.0f);
    bare.tile->updateTile();
    EXPECT_EQ(bare.tile->getVertexData()->getNumTexLayer(), 0);
    EXPECT_EQ(bare.tile->getVertexData()->getTexCoordinateType(0), DataType::NONE);
    EXPECT_EQ(bare.tile->getMaterial()->getTextureCount(), 0u);
}

TEST_F(TerrainTile, LightMapIsScaledAndCarriesTheLastLayersAlpha)
{
    // A ramp (slope byte 253) lit by its slope map × 0.4 + 0.6.
    OneTile ramp(makeHeightMap(5, 5, [](unsigned x, unsigned) { return 30 * x; }), 2, 16.0f);
    Terrain::Tile& tile = *ramp.tile;
    const auto layer = [] { return makeImage(1, 1, {90}); };
    tile.addTextureLayer(layer(), layer(), 4.0f);
    tile.addTextureLayer(layer(), makeImage(2, 2, {0, 255, 255, 0}), 4.0f);
    tile.setLightMap(tile.getSlopeMap(), 0.4f, 0.6f);
    tile.updateTile();

    const CppLib::SharedPtr<Texture> light = tile.getMaterial()->getTexture(4);
    ASSERT_FALSE(light.isNull());
    const CppLib::SharedPtr<TextureSource> source = light->getTextureSource(0, 0);
    EXPECT_EQ(source->getTextureInfo(), TextureInfo(4, 4, 1, Color::RGBA, DataType::UNSIGNED_BYTE));
    const auto pixel = [&source](unsigned int x, unsigned int y) {
        const unsigned char* rgba = static_cast<const unsigned char*>(source->getPixel(x, y, 0));
        return std::vector<int>(rgba, rgba + 4);
    };
    const int lit = static_cast<int>((253 / 255.0f * 0.4f + 0.6f) * 255.0f);
    EXPECT_EQ(pixel(1, 1), (std::vector<int>{lit, lit, lit, 0}));
    EXPECT_EQ(pixel(2, 1), (std::vector<int>{lit, lit, lit, 255}));
    EXPECT_EQ(pixel(1, 2), (std::vector<int>{lit, lit, lit, 255}));

    // Without a light map the last layer's alpha still reaches the unit it
    // is blended by, in white.
    tile.setLightMap(CppLib::SharedPtr<TextureSource>(), 1.0f, 0.0f);
    tile.updateTile();
    EXPECT_EQ(tile.getVertexData()->getTexturesIndices().get(2), 4u);
    const CppLib::SharedPtr<TextureSource> carrier = tile.getMaterial()->getTexture(4)->getTextureSource(0, 0);
    const unsigned char* white = static_cast<const unsigned char*>(carrier->getPixel(1, 0, 0));
    EXPECT_EQ(std::vector<int>(white, white + 4), (std::vector<int>{255, 255, 255, 255}));

    // With one layer the light map keeps its own (opaque) alpha.
    tile.setLightMap(tile.getSlopeMap(), 0.4f, 0.6f);
    tile.unload();
    tile.load(makeHeightMap(5, 5, [](unsigned x, unsigned) { return 30 * x; }), 0, 0);
    tile.addTextureLayer(layer(), layer(), 4.0f);
    tile.updateTile();
    const unsigned char* alone = static_cast<const unsigned char*>(
        tile.getMaterial()->getTexture(2)->getTextureSource(0, 0)->getPixel(0, 0, 0));
    EXPECT_EQ(alone[3], 255);
}

TEST_F(TerrainTile, VertexColoursComeFromTheColourMapOrTheHeight)
{
    // Rows of 0 and 255 on a 2 × 2 grid: the first row at the offset, the
    // second at the top.
    OneTile valley(makeHeightMap(2, 2, [](unsigned, unsigned y) { return y ? 255 : 0; }), 1, 8.0f);
    valley.tile->setOffset(3.0f);
    valley.tile->updateTile();
    const float* rgba = static_cast<const float*>(valley.tile->getVertexData()->getColor());
    EXPECT_EQ(Color(rgba[0], rgba[1], rgba[2], rgba[3]), Color(0.2f, 0.2f, 0.2f, 1.0f));
    EXPECT_EQ(Color(rgba[12], rgba[13], rgba[14], rgba[15]), Color(1.0f, 1.0f, 1.0f, 1.0f));

    // With a colour map each vertex takes the pixel under it (its alpha too).
    valley.tile->setColorMap(makeImage(2, 1, {255, 0, 0, 64, 0, 0, 255, 255}, Color::RGBA));
    valley.tile->updateTile();
    rgba = static_cast<const float*>(valley.tile->getVertexData()->getColor());
    EXPECT_EQ(Color(rgba[0], rgba[1], rgba[2], rgba[3]), Color(1.0f, 0.0f, 0.0f, 64 / 255.0f));
    EXPECT_EQ(Color(rgba[4], rgba[5], rgba[6], rgba[7]), Color(0.0f, 0.0f, 1.0f, 1.0f));
    EXPECT_EQ(Color(rgba[12], rgba[13], rgba[14], rgba[15]), Color(0.0f, 0.0f, 1.0f, 1.0f));
}

TEST_F(TerrainTile, SlopeMapHoldsUnsignedBytesBuiltOnce)
{
    OneTile ramp(makeHeightMap(5, 5, [](unsigned x, unsigned) { return 30 * x; }), 2, 16.0f);
    const CppLib::SharedPtr<TextureSource> slopes = ramp.tile->getSlopeMap();
    ASSERT_FALSE(slopes.isNull());
    EXPECT_EQ(ramp.tile->getSlopeMap().get(), slopes.get());
    const TextureInfo& info = slopes->getTextureInfo();
    EXPECT_EQ(info, TextureInfo(4, 4, 1, Color::LUMINANCE, DataType::UNSIGNED_BYTE));
    // 255 × the normal's vertical component, 1 / √(1 + (30/255)²).
    EXPECT_EQ(*static_cast<const unsigned char*>(slopes->getPixel(1, 2, 0)), 253);
    EXPECT_NEAR(slopes->getPixelColor(1, 2, 0).r, 253 / 255.0f, 1e-6f);

    OneTile flat(CppLib::SharedPtr<TextureSource>(), 2, 16.0f);
    EXPECT_EQ(*static_cast<const unsigned char*>(flat.tile->getSlopeMap()->getPixel(3, 3, 0)), 255);
}

TEST_F(TerrainTile, InitializingTwiceChangesNothing)
{
    Terrain terrain(2, 1);
    terrain.initializeTerrain(2, 1, 10.0f);
    Terrain::Tile* first = terrain.getTile(1, 0);
    terrain.initializeTerrain(4, 0, 99.0f);

    EXPECT_EQ(terrain.getTile(1, 0), first);
    EXPECT_EQ(terrain.getPatchCount(), 8u);
    EXPECT_EQ(terrain.getTileSize(), 10.0f);
    EXPECT_EQ(first->getVertexNumPerEdge(), 8u);
    EXPECT_EQ(terrain.getAttachedChildCount(), 2);
    EXPECT_EQ(terrain.getSizeX(), 20.0f);
}

} // namespace
