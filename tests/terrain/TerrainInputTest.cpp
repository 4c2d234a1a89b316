#include "TerrainTestSupport.h"

#include "geometry/VertexData.h"
#include "resource/Material.h"
#include "support/CoreFixture.h"

#include <string>

using namespace Velta;
using TerrainTest::expectVector;
using TerrainTest::makeHeightMap;
using TerrainTest::makeImage;
using TerrainTest::makeSmallMap;
using TerrainTest::OneTile;

namespace {

using TerrainInput = VeltaTest::CoreFixture;

/// The tile reads flat ground at its offset with normals straight up, also
/// after a rebuild.
void expectFlat(Terrain::Tile& tile)
{
    for (float u : {0.0f, 0.3f, 1.0f}) {
        EXPECT_EQ(tile.getHeight(u, 1.0f - u), tile.getOffset());
        expectVector(tile.getNormal(u, 0.5f), 0, 1, 0);
    }
    tile.updateTile();
    const float* xyz = static_cast<const float*>(tile.getVertexData()->getVertices());
    for (unsigned int i = 0; i < tile.getVertexData()->getCount(); ++i) {
        EXPECT_EQ(xyz[3 * i + 1], tile.getOffset());
    }
}

/// What loading `map` wrote on standard error, with the tile left flat.
std::string loadUnusable(const CppLib::SharedPtr<TextureSource>& map, unsigned int channel = 0,
                         unsigned int slice = 0)
{
    OneTile valley(makeSmallMap(), 2, 16.0f);
    valley.tile->setOffset(7.0f);
    testing::internal::CaptureStderr();
    EXPECT_FALSE(valley.tile->load(map, channel, slice));
    expectFlat(*valley.tile);
    valley.terrain.getDistance(Point(3, 3, 3));
    return testing::internal::GetCapturedStderr();
}

TEST_F(TerrainInput, UnreadableHeightMapsGiveFlatGroundAndOneLine)
{
    EXPECT_EQ(loadUnusable(makeImage(2, 2, {0, 0, 0, 0, 0, 0, 0, 0}, Color::LUMINANCE, DataType::SHORT)),
              "Unsupported format: Short\n");
    EXPECT_EQ(loadUnusable(makeImage(2, 2, std::vector<unsigned char>(16, 0x40), Color::LUMINANCE, DataType::FLOAT)),
              "Unsupported format: Float\n");
    EXPECT_EQ(loadUnusable(makeImage(2, 2, {0, 0, 0, 0}, Color::LUMINANCE, DataType::BYTE)),
              "Unsupported format: Byte\n");
    EXPECT_EQ(loadUnusable(makeImage(0, 0, {})), "Height map without pixels\n");
    EXPECT_EQ(loadUnusable(makeImage(4, 0, {})), "Height map without pixels\n");
    EXPECT_EQ(loadUnusable(makeSmallMap(), 1), "Height map has no channel 1\n");
    EXPECT_EQ(loadUnusable(makeSmallMap(), 0, 1), "Height map has no slice 1\n");
    // A block shorter than the image says: nothing is read from it.
    EXPECT_EQ(loadUnusable(makeImage(3, 3, {1, 2, 3, 4})), "Height map without readable pixel data\n");
    // No height map at all is the plain flat tile, without a line.
    EXPECT_EQ(loadUnusable(CppLib::SharedPtr<TextureSource>()), "");
}

TEST_F(TerrainInput, AnyChannelOfAnyShapeOfByteImageIsSampledAcrossTheTile)
{
    // Green channel of a 4 × 2 RGB image: rows 0 and 60, stretched over the
    // square tile.
    std::vector<unsigned char> rgb;
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 4; ++x) {
            rgb.insert(rgb.end(), {255, static_cast<unsigned char>(y * 60), 255});
        }
    }
    OneTile valley(makeImage(4, 2, rgb, Color::RGB), 2, 16.0f, 255.0f);
    EXPECT_TRUE(valley.tile->load(valley.tile->getHeightMap(), 1, 0));
    EXPECT_NEAR(valley.tile->getHeight(0.7f, 0.0f), 0.0f, 1e-4f);
    EXPECT_NEAR(valley.tile->getHeight(0.7f, 0.5f), 30.0f, 1e-4f);
    EXPECT_NEAR(valley.tile->getHeight(1.0f, 1.0f), 60.0f, 1e-4f);

    // One pixel: flat at its value.
    OneTile single(makeImage(1, 1, {51}), 2, 16.0f);
    EXPECT_NEAR(single.tile->getHeight(0.4f, 0.9f), 12.0f, 1e-4f);
    expectVector(single.tile->getNormal(0.4f, 0.9f), 0, 1, 0);
}

TEST_F(TerrainInput, UnusableColourAndLightMapsAreLeftOutWithOneLine)
{
    OneTile valley(makeHeightMap(2, 2, [](unsigned, unsigned y) { return y ? 255 : 0; }), 1, 8.0f);
    testing::internal::CaptureStderr();
    valley.tile->setColorMap(makeImage(0, 0, {}, Color::RGBA));
    valley.tile->setLightMap(makeImage(0, 3, {}), 1.0f, 0.0f);
    valley.tile->updateTile();
    valley.tile->updateTile();
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Colour map without pixels; vertex colours follow the height\n"
              "Light map without pixels; the tile is drawn without it\n");

    const float* rgba = static_cast<const float*>(valley.tile->getVertexData()->getColor());
    EXPECT_EQ(Color(rgba[12], rgba[13], rgba[14], rgba[15]), Color(1.0f, 1.0f, 1.0f, 1.0f));
    EXPECT_EQ(valley.tile->getMaterial()->getTextureCount(), 0u);
    EXPECT_EQ(valley.tile->getVertexData()->getNumTexLayer(), 0);
}

TEST_F(TerrainInput, UnusableGridSizesLeaveTheTerrainEmptyWithOneLine)
{
    Terrain zero(1, 1);
    Terrain huge(1, 1);
    testing::internal::CaptureStderr();
    zero.initializeTerrain(2, 0, 0.0f);
    huge.initializeTerrain(10, 6, 100.0f);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Invalid tile size 0.000000; the terrain stays empty\n"
              "Too many vertices per tile edge: 2^10 × 2^6; the terrain stays empty\n");
    EXPECT_EQ(zero.getTile(0, 0), nullptr);
    EXPECT_EQ(huge.getPatchCount(), 0u);
    EXPECT_EQ(zero.getDistance(Point(0, 1, 0)), 0.0f);

    // Once a valid size is given the grid is built.
    zero.initializeTerrain(2, 0, 4.0f);
    EXPECT_NE(zero.getTile(0, 0), nullptr);

    Terrain none(0, 3);
    none.initializeTerrain(2, 0, 4.0f);
    EXPECT_FALSE(none.getPointHandle(Point(1, 1, 1)).inTerrain());
}

} // namespace
