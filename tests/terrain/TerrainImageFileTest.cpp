#include "TerrainTestSupport.h"

#include "plugins/DevILFixture.h"

using namespace Velta;
using VeltaTest::ImageFiles;

namespace {

using TerrainImageFile = VeltaTest::DevILFixture;

/// The heights of the small map (see the query tests) read from `map`.
void expectSmallMapHeights(const CppLib::SharedPtr<TextureSource>& map, unsigned int channel)
{
    TerrainTest::OneTile valley(CppLib::SharedPtr<TextureSource>(), 1, 8.0f);
    ASSERT_TRUE(valley.tile->load(map, channel, 0));
    EXPECT_NEAR(valley.terrain.getSurfacePoint(Point(4, 0, 4)).y(), 60.0f, 1e-4f);
    EXPECT_NEAR(valley.terrain.getSurfacePoint(Point(2, 0, 1)).y(), 18.0f, 1e-4f);
    EXPECT_NEAR(valley.terrain.getSurfacePoint(Point(1, 0, 2)).y(), 21.0f, 1e-4f);
    EXPECT_NEAR(valley.tile->getHeight(1.0f, 0.0f), 24.0f, 1e-4f);
}

TEST_F(TerrainImageFile, HeightMapsFromPcxAndPngFilesGiveTheSameGround)
{
    ImageFiles::Bytes greys;
    ImageFiles::Bytes rgb;
    for (int i = 0; i < 256; ++i) {
        greys.insert(greys.end(), 3, static_cast<unsigned char>(i));
    }
    for (unsigned char value : TerrainTest::SMALL_MAP) {
        rgb.insert(rgb.end(), {17, 200, value});
    }
    write("heightmap.pcx", ImageFiles::pcx(3, 3, TerrainTest::SMALL_MAP, greys));
    write("grey.png", ImageFiles::png(3, 3, ImageFiles::GREY, TerrainTest::SMALL_MAP));
    write("blue.png", ImageFiles::png(3, 3, ImageFiles::RGB, rgb));
    expectSmallMapHeights(textures().getTextureSource("heightmap.pcx"), 0);
    expectSmallMapHeights(textures().getTextureSource("grey.png"), 0);
    expectSmallMapHeights(textures().getTextureSource("blue.png"), 2);
    EXPECT_TRUE(logged().empty());

    // A missing file is flat ground.
    TerrainTest::OneTile valley(textures().getTextureSource("absent.pcx"), 1, 8.0f);
    EXPECT_EQ(valley.terrain.getDistance(Point(2, 5, 1)), 5.0f);
}

} // namespace
