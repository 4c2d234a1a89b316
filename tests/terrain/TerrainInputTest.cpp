#include "TerrainTestSupport.h"

#include "geometry/VertexData.h"
#include "plugins/DevILFixture.h"
#include "resource/Material.h"
#include "support/CoreFixture.h"

#include <string>
#include <utility>

using namespace Velta;
using namespace TerrainTest;

namespace {

using TerrainInput = VeltaTest::CoreFixture;

TEST_F(TerrainInput, UnreadableHeightMapsGiveFlatGroundAndOneLine)
{
    const std::vector<unsigned char> bytes(36, 0x40);
    const struct {
        CppLib::SharedPtr<TextureSource> map;
        unsigned int channel, slice;
        const char* line;
    } cases[] = {
        {makeImage(2, 2, bytes, Color::LUMINANCE, DataType::FLOAT), 0, 0, "Unsupported format: Float\n"},
        {makeImage(2, 2, bytes, Color::LUMINANCE, DataType::BYTE), 0, 0, "Unsupported format: Byte\n"},
        {makeImage(4, 0, {}), 0, 0, "Height map without pixels\n"},
        {makeImage(3, 3, SMALL_MAP), 1, 0, "Height map has no channel 1\n"},
        {makeImage(3, 3, SMALL_MAP), 0, 1, "Height map has no slice 1\n"},
        {makeImage(3, 3, {1, 2, 3, 4}), 0, 0, "Height map without readable pixel data\n"},  // short block
        {CppLib::SharedPtr<TextureSource>(), 0, 0, ""},
    };
    for (const auto& bad : cases) {
        OneTile valley(makeImage(3, 3, SMALL_MAP), 2, 16.0f);
        valley.tile->setOffset(7.0f);
        testing::internal::CaptureStderr();
        EXPECT_FALSE(valley.tile->load(bad.map, bad.channel, bad.slice));
        valley.tile->updateTile();
        EXPECT_EQ(valley.terrain.getDistance(Point(3, 9, 5)), 2.0f);
        expectVector(valley.terrain.getNormal(Point(3, 9, 5), false), 0, 1, 0);
        const float* xyz = static_cast<const float*>(valley.tile->getVertexData()->getVertices());
        EXPECT_EQ(xyz[3 * 15 + 1], 7.0f);
        EXPECT_EQ(testing::internal::GetCapturedStderr(), bad.line);
    }
}

TEST_F(TerrainInput, AnyChannelOfAnyShapeOfByteImageSpansTheTile)
{
    // Green of a 4 × 2 RGB image: rows 0 and 60, stretched over the tile.
    std::vector<unsigned char> rgb;
    for (unsigned char green : {0, 0, 0, 0, 60, 60, 60, 60}) {
        rgb.insert(rgb.end(), {255, green, 255});
    }
    OneTile valley(makeImage(4, 2, rgb, Color::RGB), 2, 16.0f);
    valley.tile->setMaxHeight(255.0f);
    EXPECT_TRUE(valley.tile->load(valley.tile->getHeightMap(), 1, 0));
    EXPECT_NEAR(valley.tile->getHeight(0.7f, 0.0f), 0.0f, 1e-4f);
    EXPECT_NEAR(valley.tile->getHeight(0.7f, 0.5f), 30.0f, 1e-4f);
    EXPECT_NEAR(valley.tile->getHeight(1.0f, 1.0f), 60.0f, 1e-4f);
}

TEST_F(TerrainInput, ImagesWithoutPixelsAndUnusableGridsAreLeftOutWithOneLine)
{
    OneTile valley(makeImage(3, 3, SMALL_MAP), 1, 8.0f);
    Terrain zero(1, 1);
    Terrain huge(1, 1);
    testing::internal::CaptureStderr();
    valley.tile->setColorMap(makeImage(0, 0, {}, Color::RGBA));
    valley.tile->setLightMap(makeImage(0, 3, {}), 1.0f, 0.0f);
    valley.tile->setBaseMap(makeImage(2, 0, {}), 8.0f);
    valley.tile->updateTile();
    valley.tile->updateTile();
    EXPECT_EQ(valley.tile->getMaterial()->getTextureCount(), 0u);
    valley.tile->addTextureLayer(makeImage(1, 1, {90}), makeImage(0, 0, {}), 8.0f);
    valley.tile->addTextureLayer(makeImage(1, 1, {90}), CppLib::SharedPtr<TextureSource>(), 8.0f);
    zero.initializeTerrain(2, 0, 0.0f);
    huge.initializeTerrain(10, 6, 100.0f);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Colour map without pixels; vertex colours follow the height\n"
              "Light map without pixels; the tile is drawn without it\n"
              "Base map without pixels; the tile is drawn without it\n"
              "Texture layer 0 has an image without pixels; its unit is drawn untextured\n"
              "Invalid tile size 0.000000; the terrain stays empty\n"
              "Too many vertices per tile edge: 2^10 × 2^6; the terrain stays empty\n");

    const float* rgba = static_cast<const float*>(valley.tile->getVertexData()->getColor());
    EXPECT_EQ(Color(rgba[0], rgba[1], rgba[2], rgba[3]), Color(0.2f, 0.2f, 0.2f, 1.0f));
    valley.tile->updateTile();
    EXPECT_EQ(valley.tile->getCoats(), 2u | 4u) << "no base coat";
    EXPECT_EQ(valley.tile->getMaterial()->getTexture(0).get(), valley.tile->getTextureLayer(0)->texture.get());
    EXPECT_EQ(zero.getTile(0, 0), nullptr);
    EXPECT_EQ(huge.getPatchCount(), 0u);
    zero.initializeTerrain(2, 0, 4.0f);
    EXPECT_NE(zero.getTile(0, 0), nullptr);
}

using TerrainImageFile = VeltaTest::DevILFixture;

TEST_F(TerrainImageFile, HeightMapsFromPcxAndPngFilesGiveTheSameGround)
{
    using VeltaTest::ImageFiles;
    ImageFiles::Bytes greys;
    ImageFiles::Bytes rgb;
    for (int i = 0; i < 256; ++i) {
        greys.insert(greys.end(), 3, static_cast<unsigned char>(i));
    }
    for (unsigned char value : SMALL_MAP) {
        rgb.insert(rgb.end(), {17, 200, value});
    }
    write("heightmap.pcx", ImageFiles::pcx(3, 3, SMALL_MAP, greys));
    write("grey.png", ImageFiles::png(3, 3, ImageFiles::GREY, SMALL_MAP));
    write("blue.png", ImageFiles::png(3, 3, ImageFiles::RGB, rgb));
    // The heights of the small map (see the query tests), read from each.
    const std::pair<const char*, unsigned int> files[] = {{"heightmap.pcx", 0}, {"grey.png", 0}, {"blue.png", 2}};
    for (const auto& [file, channel] : files) {
        OneTile valley(CppLib::SharedPtr<TextureSource>(), 1, 8.0f);
        ASSERT_TRUE(valley.tile->load(textures().getTextureSource(file), channel, 0)) << file;
        EXPECT_NEAR(valley.terrain.getSurfacePoint(Point(4, 0, 4)).y(), 60.0f, 1e-4f) << file;  // byte 255
        // Either side of the (0, 0)–(1, 1) diagonal.
        EXPECT_NEAR(valley.terrain.getSurfacePoint(Point(2, 0, 1)).y(), 18.0f, 1e-4f) << file;
        EXPECT_NEAR(valley.terrain.getSurfacePoint(Point(1, 0, 2)).y(), 21.0f, 1e-4f) << file;
        EXPECT_NEAR(valley.tile->getHeight(1.0f, 0.0f), 24.0f, 1e-4f) << file;
    }
    EXPECT_TRUE(logged().empty());

    // A missing file is flat ground.
    OneTile valley(textures().getTextureSource("absent.pcx"), 1, 8.0f);
    EXPECT_EQ(valley.terrain.getDistance(Point(2, 5, 1)), 5.0f);
}

} // namespace
