#include "TerrainTestSupport.h"

#include "plugins/DevILFixture.h"

#include <cmath>

using namespace Velta;
using VeltaTest::ImageFiles;

namespace {

using TerrainImageFile = VeltaTest::DevILFixture;

/// The small map's bytes (top row first) and a grey palette, so that each
/// index is its own grey.
const ImageFiles::Bytes SMALL_MAP = {0, 51, 102, 102, 255, 153, 51, 153, 204};

ImageFiles::Bytes greyPalette()
{
    ImageFiles::Bytes palette;
    for (int i = 0; i < 256; ++i) {
        palette.insert(palette.end(), {static_cast<unsigned char>(i), static_cast<unsigned char>(i),
                                       static_cast<unsigned char>(i)});
    }
    return palette;
}

/// The heights of the small map worked out by hand (see the query tests),
/// read from a tile 8 wide over `map`'s channel `channel`.
void expectSmallMapHeights(const CppLib::SharedPtr<TextureSource>& map, unsigned int channel)
{
    ASSERT_FALSE(map.isNull());
    Terrain terrain(1, 1);
    terrain.initializeTerrain(1, 0, 8.0f);
    Terrain::Tile& tile = *terrain.getTile(0, 0);
    tile.setMaxHeight(60.0f);
    ASSERT_TRUE(tile.load(map, channel, 0));
    EXPECT_NEAR(terrain.getSurfacePoint(Point(4, 0, 4)).y(), 60.0f, 1e-4f);
    EXPECT_NEAR(terrain.getSurfacePoint(Point(2, 0, 1)).y(), 18.0f, 1e-4f);
    EXPECT_NEAR(terrain.getSurfacePoint(Point(1, 0, 2)).y(), 21.0f, 1e-4f);
    EXPECT_NEAR(terrain.getSurfacePoint(Point(6, 0, 7)).y(), 48.0f, 1e-4f);
    EXPECT_NEAR(tile.getHeight(1.0f, 0.0f), 24.0f, 1e-4f);
}

TEST_F(TerrainImageFile, HeightMapsReadFromPcxAndPngFilesGiveTheSameGround)
{
    write("heightmap.pcx", ImageFiles::pcx(3, 3, SMALL_MAP, greyPalette()));
    expectSmallMapHeights(textures().getTextureSource("heightmap.pcx"), 0);

    write("grey.png", ImageFiles::png(3, 3, ImageFiles::GREY, SMALL_MAP));
    expectSmallMapHeights(textures().getTextureSource("grey.png"), 0);

    // The heights in the blue channel of a colour image.
    ImageFiles::Bytes rgb;
    for (unsigned char value : SMALL_MAP) {
        rgb.insert(rgb.end(), {17, 200, value});
    }
    write("blue.png", ImageFiles::png(3, 3, ImageFiles::RGB, rgb));
    expectSmallMapHeights(textures().getTextureSource("blue.png"), 2);
    EXPECT_TRUE(logged().empty());
}

TEST_F(TerrainImageFile, MissingHeightMapFileGivesFlatGround)
{
    Terrain terrain(1, 1);
    terrain.initializeTerrain(2, 0, 16.0f);
    Terrain::Tile& tile = *terrain.getTile(0, 0);
    tile.setOffset(4.0f);
    EXPECT_FALSE(tile.load(textures().getTextureSource("heightmap.pcx"), 0, 0));
    EXPECT_EQ(terrain.getSurfacePoint(Point(3, 9, 5)).y(), 4.0f);
    TerrainTest::expectVector(terrain.getNormal(Point(3, 9, 5), false), 0, 1, 0);
}

} // namespace
