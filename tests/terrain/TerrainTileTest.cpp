#include "TerrainTestSupport.h"

#include "geometry/Geometry.h"
#include "geometry/GeometryGroup.h"
#include "geometry/VertexData.h"
#include "resource/Material.h"
#include "resource/Texture.h"
#include "resource/TextureSource.h"
#include "scene/BoundingBox.h"
#include "scene/Branch.h"
#include "scene/SceneGraph.h"
#include "scene/SceneManager.h"
#include "scene/UpdateTraverser.h"
#include "support/CoreFixture.h"
#include "terrain/TerrainPatch.h"

#include <random>
#include <set>

using namespace Velta;
using namespace TerrainTest;

namespace {

using TerrainTile = VeltaTest::CoreFixture;

struct Triangle {
    Point a, b, c;
};

/// Every triangle the patches draw.
std::vector<Triangle> drawnTriangles(const Terrain& terrain)
{
    std::vector<Triangle> triangles;
    for (unsigned int p = 0; p < terrain.getPatchCount(); ++p) {
        const CppLib::SharedPtr<Geometry> geometry = terrain.getPatch(p)->getGeometry(0);
        const VertexDataSet* vertices = geometry->getIndexedDataSet(0);
        const auto corner = [vertices](unsigned int i) {
            EXPECT_LT(i, vertices->getCount());
            const float* xyz = static_cast<const float*>(vertices->getVertices()) + 3 * i;
            return Point(xyz[0], xyz[1], xyz[2]);
        };
        for (const GeometryGroup* group : geometry->getElementGroups()) {
            // Each block of strips lies within its bounds, or the renderer
            // would leave it out where it shows.
            const BoundingBox* bounds = group->getBounds();
            EXPECT_NE(bounds, nullptr);
            for (const GeometryElement* element : group->getElementList(0)) {
                EXPECT_EQ(element->getElementType(), GeometryElement::TRIANGLE_STRIP);
                const IndexData& list = dynamic_cast<const IndexElementData&>(*element).getIndexList();
                for (unsigned int k = 0; bounds && k < list.getCount(); ++k) {
                    EXPECT_TRUE(bounds->contains(corner(list.getIndex(k))));
                }
                forEachTriangle(*element, [&](unsigned int a, unsigned int b, unsigned int c) {
                    triangles.push_back({corner(a), corner(b), corner(c)});
                });
            }
        }
    }
    return triangles;
}

/// Twice the area of a, b, (x, z) seen from above; positive when it faces up.
float turn(const Point& a, const Point& b, float x, float z)
{
    return (b.z() - a.z()) * (x - a.x()) - (b.x() - a.x()) * (z - a.z());
}

/// The triangles cover the 16-unit tile without gaps, face up, and carry
/// the heights the queries answer.
void expectDrawnSurfaceMatchesQueries(unsigned int patchDetail, unsigned int patchLevels)
{
    std::mt19937 random(7);
    OneTile tile(makeHeightMap(8, [&random](unsigned, unsigned) { return random() % 256; }), patchDetail, 16.0f,
                 patchLevels);
    tile.tile->updateTile();
    const Terrain& terrain = tile.terrain;

    const std::vector<Triangle> triangles = drawnTriangles(terrain);
    const unsigned int quads = (1u << (patchDetail + patchLevels)) - 1;
    ASSERT_EQ(triangles.size(), 2u * quads * quads);
    std::uniform_real_distribution<float> along(0.0f, 16.0f);
    for (int i = 0; i < 300; ++i) {
        const float x = along(random);
        const float z = along(random);
        int holders = 0;
        for (const Triangle& t : triangles) {
            const float area = turn(t.a, t.b, t.c.x(), t.c.z());
            ASSERT_GT(area, 0.0f);
            const float wa = turn(t.b, t.c, x, z) / area;
            const float wb = turn(t.c, t.a, x, z) / area;
            if (wa >= -1e-5f && wb >= -1e-5f && wa + wb <= 1.00001f) {
                ++holders;
                const float drawn = wa * t.a.y() + wb * t.b.y() + (1 - wa - wb) * t.c.y();
                EXPECT_NEAR(drawn, terrain.getSurfacePoint(Point(x, 0, z)).y(), 2e-3f) << x << ", " << z;
            }
        }
        EXPECT_GE(holders, 1) << "gap at " << x << ", " << z;
    }
}

TEST_F(TerrainTile, DrawnTrianglesCoverTheTileWithTheQueriedHeights)
{
    expectDrawnSurfaceMatchesQueries(3, 0);  // one patch, one vertex per pixel
    expectDrawnSurfaceMatchesQueries(1, 2);  // 4 × 4 patches sharing their borders
    expectDrawnSurfaceMatchesQueries(6, 0);  // one patch in 4 × 4 blocks of strips

    // Updating again draws the new grid.
    OneTile valley(makeImage(3, 3, SMALL_MAP), 2, 12.0f);
    valley.tile->updateTile();
    valley.tile->load(makeHeightMap(4, [](unsigned, unsigned) { return 255; }), 0, 0);
    valley.tile->updateTile();
    for (const Triangle& t : drawnTriangles(valley.terrain)) {
        EXPECT_EQ(t.a.y(), 60.0f);
    }
}

TEST_F(TerrainTile, PatchBoundsReachTheSceneAfterTheUpdate)
{
    SceneGraph& scene = core().getSceneManager().createSceneGraph();
    Terrain terrain(1, 1);
    terrain.initializeTerrain(1, 1, 12.0f);  // 2 × 2 patches of 2 vertices, N = 4
    terrain.initializeTerrain(3, 0, 99.0f);  // changes nothing
    scene.getRoot()->attachChild(terrain);
    Terrain::Tile& tile = *terrain.getTile(0, 0);
    tile.setOffset(-2.0f);
    tile.setMaxHeight(60.0f);
    tile.updateTile();  // disabled: nothing to draw
    EXPECT_TRUE(drawnTriangles(terrain).empty());
    tile.setEnabled(true);
    tile.updateTile();
    scene.getUpdateTraverser()->update(0);

    ASSERT_EQ(terrain.getPatchCount(), 4u);
    const BoundingBox* patch = terrain.getPatch(1)->getBoundingVolume()->asBox();
    EXPECT_EQ(patch->getMin(), Point(8, -2, 0));
    EXPECT_EQ(patch->getMax(), Point(12, 58, 8));
    const BoundingBox* whole = terrain.getTransformedNode().getBoundingVolume().asBox();
    ASSERT_NE(whole, nullptr);
    EXPECT_EQ(whole->getMin(), Point(0, -2, 0));
    EXPECT_EQ(whole->getMax(), Point(12, 58, 12));
}

TEST_F(TerrainTile, BaseTwoLayersAndLightMapTakeSixUnitsAndFourCoordinateSets)
{
    OneTile ramp(makeRamp(), 2, 16.0f);  // N = 4, slope byte 253 inside
    Terrain::Tile& tile = *ramp.tile;
    const auto grey = [] { return makeImage(1, 1, {90}); };
    tile.setBaseMap(grey(), 10.0f);
    tile.addTextureLayer(grey(), grey(), 15.0f);
    EXPECT_EQ(tile.addTextureLayer(grey(), makeImage(2, 2, {0, 255, 255, 0}), 20.0f), 1u);
    tile.setLightMap(tile.getSlopeMap(), 0.4f, 0.6f);
    tile.updateTile();

    const Material& material = *tile.getMaterial();  // valid until the next update
    ASSERT_EQ(material.getTextureCount(), 6u);
    const int modes[6] = {Texture::MODULATE, Texture::BLEND_BY_VERTEX_ALPHA, Texture::BLEND_UNIT_BY_TEXTURE,
                          Texture::BLEND_BY_UNIT_ALPHA, Texture::BLEND_UNIT_BY_TEXTURE, Texture::MODULATE_PREVIOUS};
    for (unsigned int unit = 0; unit < 6; ++unit) {
        EXPECT_EQ(material.getTexture(unit)->getTexMode(), modes[unit]) << unit;
    }
    EXPECT_EQ(material.getTexture(4).get(), tile.getTextureLayer(1)->alpha.get());
    const CppLib::Vector<unsigned int>& sets = tile.getVertexData()->getTexturesIndices();
    EXPECT_EQ((std::vector<unsigned int>(sets.begin(), sets.end())), (std::vector<unsigned int>{0, 1, 3, 5}));

    // Vertex (column 2, row 1): base every 10 units, layers every 15 and 20,
    // the light map once across the tile.
    const float* st = static_cast<const float*>(tile.getVertexData()->getTexCoordinates(0)) + (1 * 4 + 2) * 8;
    const float expected[8] = {0.8f, 0.4f, 32 / 60.0f, 16 / 60.0f, 0.4f, 0.2f, 2 / 3.0f, 1 / 3.0f};
    for (int k = 0; k < 8; ++k) {
        EXPECT_NEAR(st[k], expected[k], 1e-5f) << k;
    }

    // The light unit: slope × 0.4 + 0.6, alpha from the last alpha map.
    const CppLib::SharedPtr<TextureSource> light = material.getTexture(5)->getTextureSource(0, 0);
    const int lit = static_cast<int>((253 / 255.0f * 0.4f + 0.6f) * 255.0f);
    for (const auto& [x, alpha] : {std::pair{1u, 0}, std::pair{2u, 255}}) {
        const unsigned char* rgba = static_cast<const unsigned char*>(light->getPixel(x, 1, 0));
        EXPECT_EQ(std::vector<int>(rgba, rgba + 4), (std::vector<int>{lit, lit, lit, alpha}));
    }

    // A middle layer brings its alpha coordinates; without a light map the
    // last alpha map still reaches the unit the last layer blends by.
    tile.addTextureLayer(grey(), grey(), 5.0f);
    tile.setLightMap(CppLib::SharedPtr<TextureSource>(), 1.0f, 0.0f);
    tile.updateTile();
    const CppLib::Vector<unsigned int>& three = tile.getVertexData()->getTexturesIndices();
    EXPECT_EQ((std::vector<unsigned int>(three.begin(), three.end())), (std::vector<unsigned int>{0, 1, 3, 4, 5, 7}));
    EXPECT_EQ(tile.getMaterial()->getTexture(3)->getTexMode(), Texture::PASS_PREVIOUS);
    EXPECT_EQ(tile.getMaterial()->getTexture(7)->getTexMode(), Texture::MODULATE_PREVIOUS);
}

/// 8 × 8 vertices (7 × 7 quads) on flat ground: grass (layer 0) by the
/// colour map's alpha from vertex column 4 on, the river (layer 1) by its
/// alpha map on the bottom half, over a base map, under a light map of 128.
/// The river's edge reaches quad rows 3 and 6 (with the texel to spare) and,
/// wrapping round, row 0. Not yet updated.
struct GrassAndRiver : OneTile {
    GrassAndRiver() : OneTile(makeHeightMap(8, [](unsigned, unsigned) { return 0; }), 3, 8.0f)
    {
        const auto grey = [] { return makeImage(1, 1, {90}); };
        tile->setColorMap(makeImage(2, 1, {255, 255, 255, 0, 255, 255, 255, 255}, Color::RGBA));
        tile->setBaseMap(grey(), 8.0f);
        tile->addTextureLayer(grey(), grey(), 8.0f);
        tile->addTextureLayer(grey(), makeHeightMap(32, [](unsigned, unsigned y) { return y < 16 ? 0 : 255; }), 8.0f);
        tile->setLightMap(makeHeightMap(32, [](unsigned, unsigned) { return 128; }), 1.0f, 0.0f);
    }
};

/// The material indices of the patch's parts that draw something.
std::set<unsigned int> drawnParts(const Terrain::Patch& patch)
{
    std::set<unsigned int> parts;
    for (const GeometryGroup* group : patch.getGeometry(0)->getElementGroups()) {
        if (group->getElementList(0).getSize() > 0) {
            parts.insert(group->getMaterialIndex());
        }
    }
    return parts;
}

TEST_F(TerrainTile, GroundLeavesOutTheUnitsOfCoatsThatDoNotShowThere)
{
    GrassAndRiver flat;
    Terrain::Tile& tile = *flat.tile;
    tile.updateTile();

    const unsigned int BASE = 1, GRASS = 2, RIVER = 4;
    EXPECT_EQ(tile.getCoats(), BASE | GRASS | RIVER);
    EXPECT_EQ(tile.getCoats(0, 1, 1, 2), BASE);
    EXPECT_EQ(tile.getCoats(5, 2, 6, 3), GRASS);
    EXPECT_EQ(tile.getCoats(0, 5, 1, 6), RIVER);
    EXPECT_EQ(tile.getCoats(3, 3, 4, 4), BASE | GRASS | RIVER);
    EXPECT_EQ(tile.getCoats(0, 0, 1, 1), BASE | RIVER);

    // The river alone: base and grass units empty, the river's units and the
    // light unit it blends by kept; the whole material for nothing left out.
    const Material& river = *tile.getCoatMaterial(BASE | GRASS);
    const Material& whole = *tile.getMaterial();
    for (unsigned int unit = 0; unit < 6; ++unit) {
        const bool kept = unit >= 3;
        EXPECT_EQ(river.getTexture(unit).get(), kept ? whole.getTexture(unit).get() : nullptr) << unit;
    }
    EXPECT_EQ(tile.getCoatMaterial(0).get(), &whole);
    EXPECT_EQ(tile.getCoatMaterial(99).get(), &whole);

    // The patch draws its quads in parts by what they leave out, each
    // looked up as its material on the patch: every mix of grass (none,
    // some, all) and river (none, some, all; all hides the rest) is there.
    Terrain::Patch& patch = *flat.terrain.getPatch(0);
    const std::set<unsigned int> leftOut = drawnParts(patch);
    for (const unsigned int part : leftOut) {
        EXPECT_EQ(patch.getMaterial(part).get(), tile.getCoatMaterial(part).get());
    }
    EXPECT_EQ(leftOut, (std::set<unsigned int>{0, 1, 2, 3, 4, 5, 6}));
}

TEST_F(TerrainTile, GroundUnderACoverShowingTheLastLayerAloneCarriesTheCoversColourAndMarksItsPixels)
{
    // The cover lies over vertex columns 0 to 4.
    GrassAndRiver flat;
    Terrain::Tile& tile = *flat.tile;
    const Color cover(0.2f, 0.4f, 0.6f, 0.6f);
    tile.setCover([](const BoundingBox& box) { return box.getMax().x() <= 4.0f; }, cover);
    // Brighter where the river does not reach: covered ground takes the
    // light where the river shows alone.
    tile.setLightMap(makeHeightMap(32, [](unsigned, unsigned y) { return y < 16 ? 255 : 128; }), 1.0f, 0.0f);
    tile.updateTile();

    const unsigned int BASE = 1, GRASS = 2;
    EXPECT_TRUE(tile.isCovered(0, 5, 1, 6));
    EXPECT_FALSE(tile.isCovered(5, 5, 6, 6)) << "outside the cover";
    EXPECT_FALSE(tile.isCovered(0, 1, 1, 2)) << "no river";
    EXPECT_FALSE(tile.isCovered(3, 3, 4, 4)) << "more than the river";

    // Covered ground is drawn in a part of its own, with the cover's
    // material: one texture, the river with the cover's colour mixed in,
    // replaces what is under it, and the light unit is left out.
    Terrain::Patch& patch = *flat.terrain.getPatch(0);
    const unsigned int covered = BASE | GRASS | Terrain::Tile::UNCOVERED;
    EXPECT_EQ(drawnParts(patch).count(covered), 1u);
    const CppLib::SharedPtr<Material> material = patch.getMaterial(covered);
    const Material& river = *tile.getCoatMaterial(BASE | GRASS);
    ASSERT_NE(material.get(), &river);
    EXPECT_TRUE(material->marksPixels());
    EXPECT_FALSE(river.marksPixels());
    EXPECT_EQ(material->getTexture(0).get(), nullptr);
    EXPECT_EQ(material->getTexture(5).get(), nullptr);
    const CppLib::SharedPtr<Texture> layer = material->getTexture(3);
    ASSERT_EQ(layer->getTexMode(), Texture::REPLACE);
    EXPECT_EQ(layer->getMinFilter(), river.getTexture(3)->getMinFilter());
    // river × light × 0.4 + cover × 0.6, the river's grey 90 under a light of 128
    const Color texel = layer->getTextureSource(0, 0)->getPixelColor(0, 0, 0);
    const float ground = 90.0f / 255.0f * 128.0f / 255.0f * 0.4f;
    EXPECT_NEAR(texel.r, ground + cover.r * 0.6f, 1.0f / 255.0f);
    EXPECT_NEAR(texel.g, ground + cover.g * 0.6f, 1.0f / 255.0f);
    EXPECT_NEAR(texel.b, ground + cover.b * 0.6f, 1.0f / 255.0f);

    // Seen from under the cover, the ground is drawn as the rest.
    tile.setCoverShown(false);
    EXPECT_EQ(patch.getMaterial(covered).get(), &river);
    tile.setCoverShown(true);
    EXPECT_EQ(patch.getMaterial(covered).get(), material.get());
}

TEST_F(TerrainTile, WithoutALastLayerReadFromTheLightUnitNothingIsCovered)
{
    OneTile flat(makeHeightMap(8, [](unsigned, unsigned) { return 0; }), 3, 8.0f);
    Terrain::Tile& tile = *flat.tile;
    tile.addTextureLayer(makeImage(1, 1, {90}), makeImage(1, 1, {255}), 8.0f);
    tile.setLightMap(makeHeightMap(32, [](unsigned, unsigned) { return 128; }), 1.0f, 0.0f);
    tile.setCover([](const BoundingBox&) { return true; }, Color(0.2f, 0.4f, 0.6f, 0.6f));
    tile.updateTile();
    EXPECT_FALSE(tile.isCovered(0, 0, 7, 7));
    for (const GeometryGroup* group : flat.terrain.getPatch(0)->getGeometry(0)->getElementGroups()) {
        EXPECT_EQ(group->getMaterialIndex() & Terrain::Tile::UNCOVERED, 0u);
        EXPECT_FALSE(flat.terrain.getPatch(0)->getMaterial(group->getMaterialIndex())->marksPixels());
    }
}

TEST_F(TerrainTile, VertexColoursAndSlopesFollowTheGround)
{
    // Rows of 0 and 255: grey 0.2 at the offset, white at the top.
    OneTile valley(makeHeightMap(2, [](unsigned, unsigned y) { return y ? 255 : 0; }), 1, 8.0f);
    valley.tile->setOffset(3.0f);
    valley.tile->updateTile();
    const auto colour = [&valley](unsigned int vertex) {
        const float* rgba = static_cast<const float*>(valley.tile->getVertexData()->getColor()) + 4 * vertex;
        return Color(rgba[0], rgba[1], rgba[2], rgba[3]);
    };
    EXPECT_EQ(colour(0), Color(0.2f, 0.2f, 0.2f, 1.0f));
    EXPECT_EQ(colour(3), Color(1.0f, 1.0f, 1.0f, 1.0f));
    valley.tile->setColorMap(makeImage(2, 1, {255, 0, 0, 64, 0, 0, 255, 255}, Color::RGBA));
    valley.tile->updateTile();
    EXPECT_EQ(colour(0), Color(1.0f, 0.0f, 0.0f, 64 / 255.0f));
    EXPECT_EQ(colour(3), Color(0.0f, 0.0f, 1.0f, 1.0f));

    // Slopes: unsigned bytes, 255 × the normal's vertical component, built once.
    OneTile ramp(makeRamp(), 2, 16.0f);
    const CppLib::SharedPtr<TextureSource> slopes = ramp.tile->getSlopeMap();
    EXPECT_EQ(ramp.tile->getSlopeMap().get(), slopes.get());
    EXPECT_EQ(slopes->getTextureInfo(), TextureInfo(4, 4, 1, Color::LUMINANCE, DataType::UNSIGNED_BYTE));
    EXPECT_NEAR(slopes->getPixelColor(1, 2, 0).r, 253 / 255.0f, 1e-6f);
}

} // namespace
