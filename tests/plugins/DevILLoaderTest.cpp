#include "plugins/DevILFixture.h"
#include "resource/TextureInfo.h"

#include <gtest/gtest.h>

#include <cstring>

using CppLib::SharedPtr;
using Velta::Color;
using Velta::DataType;
using Velta::TextureInfo;
using Velta::TextureSource;
using VeltaTest::ImageFiles;
using Bytes = ImageFiles::Bytes;

namespace {

/// Three by two pixels: red, green, blue over three dark shades.
const Bytes RGB_3X2 = {255, 0, 0, 0, 255, 0, 0, 0, 255, 10, 20, 30, 40, 50, 60, 70, 80, 90};

Bytes pixel(const SharedPtr<TextureSource>& source, unsigned int x, unsigned int y)
{
    const auto* at = source.isNull() ? nullptr : static_cast<const unsigned char*>(source->getPixel(x, y, 0));
    if (!at) {
        return {};
    }
    return Bytes(at, at + source->getTextureInfo().getChannels());
}

void expectLayout(const SharedPtr<TextureSource>& source, unsigned int width, unsigned int height,
                  Color::Format format)
{
    ASSERT_FALSE(source.isNull()) << "nothing decoded";
    const TextureInfo& info = source->getTextureInfo();
    EXPECT_EQ(width, info.getWidth());
    EXPECT_EQ(height, info.getHeight());
    EXPECT_EQ(1u, info.getDepth());
    EXPECT_EQ(format, info.getColorFormat());
    EXPECT_EQ(DataType::UNSIGNED_BYTE, info.getDataType());
}

/// A 256-entry palette of the given colours, black after them.
Bytes palette(const Bytes& colours)
{
    Bytes all = colours;
    all.resize(768, 0);
    return all;
}

} // namespace

using DevILLoader = VeltaTest::DevILFixture;

TEST_F(DevILLoader, DecodesTruecolourPngAndPcxWithTheirLayoutAndPixelsTopRowFirst)
{
    for (const char* name : {"rgb.png", "rgb.pcx"}) {
        SCOPED_TRACE(name);
        const Bytes file = std::strstr(name, ".png") ? ImageFiles::png(3, 2, ImageFiles::RGB, RGB_3X2)
                                                     : ImageFiles::pcx(3, 2, RGB_3X2);
        const SharedPtr<TextureSource> source = load(name, file);
        expectLayout(source, 3, 2, Color::RGB);
        ASSERT_FALSE(source.isNull());
        EXPECT_EQ(3u, source->getTextureInfo().getChannels());
        EXPECT_EQ(0, std::memcmp(RGB_3X2.data(), source->getTextureData(), RGB_3X2.size()));
        EXPECT_EQ((Bytes{10, 20, 30}), pixel(source, 0, 1)) << "first pixel of the second row";
        EXPECT_EQ((Bytes{0, 0, 255}), pixel(source, 2, 0));
        EXPECT_EQ(nullptr, source->getPixel(3, 0, 0));
        EXPECT_EQ(nullptr, source->getPixel(0, 2, 0));
        EXPECT_EQ(nullptr, source->getPixel(0, 0, 1));
        EXPECT_FALSE(source->hasChanged(0));
    }
    EXPECT_TRUE(mLog.mLines.empty());
}

TEST_F(DevILLoader, DecodesRgbaAndGreyPngsAsStored)
{
    const Bytes rgba = {255, 0, 0, 0, 0, 255, 0, 64, 0, 0, 255, 128, 1, 2, 3, 255};
    const SharedPtr<TextureSource> colour = load("rgba.png", ImageFiles::png(2, 2, ImageFiles::RGBA, rgba));
    expectLayout(colour, 2, 2, Color::RGBA);
    EXPECT_EQ((Bytes{0, 0, 255, 128}), pixel(colour, 0, 1));
    EXPECT_EQ((Bytes{0, 255, 0, 64}), pixel(colour, 1, 0));

    const SharedPtr<TextureSource> grey = load("grey.png", ImageFiles::png(2, 2, ImageFiles::GREY, {0, 64, 128, 255}));
    expectLayout(grey, 2, 2, Color::LUMINANCE);
    ASSERT_FALSE(grey.isNull());
    EXPECT_EQ(1u, grey->getTextureInfo().getChannels());
    EXPECT_EQ((Bytes{128}), pixel(grey, 0, 1));
    EXPECT_EQ((Bytes{255}), pixel(grey, 1, 1));
}

TEST_F(DevILLoader, PaletteImagesTakeTheColoursOfTheirPalette)
{
    // A grey ramp, as height maps are stored: the values stay the indices.
    Bytes ramp;
    for (int i = 0; i < 256; ++i) {
        ramp.insert(ramp.end(), {static_cast<unsigned char>(i), static_cast<unsigned char>(i),
                                 static_cast<unsigned char>(i)});
    }
    const SharedPtr<TextureSource> height = load("heightmap.pcx", ImageFiles::pcx(3, 2, {0, 100, 200, 255, 7, 9}, ramp));
    expectLayout(height, 3, 2, Color::LUMINANCE);
    EXPECT_EQ((Bytes{255}), pixel(height, 0, 1));
    EXPECT_EQ((Bytes{9}), pixel(height, 2, 1));

    // Grey, but not a ramp: the greys are what the image shows.
    const SharedPtr<TextureSource> inverted =
        load("inverted.pcx", ImageFiles::pcx(2, 1, {0, 1}, palette({255, 255, 255, 128, 128, 128})));
    expectLayout(inverted, 2, 1, Color::LUMINANCE);
    EXPECT_EQ((Bytes{128}), pixel(inverted, 1, 0));

    const SharedPtr<TextureSource> colours =
        load("colours.pcx", ImageFiles::pcx(2, 2, {1, 0, 0, 2}, palette({0, 0, 0, 200, 100, 50, 1, 2, 3})));
    expectLayout(colours, 2, 2, Color::RGB);
    EXPECT_EQ((Bytes{200, 100, 50}), pixel(colours, 0, 0));
    EXPECT_EQ((Bytes{1, 2, 3}), pixel(colours, 1, 1));

    const SharedPtr<TextureSource> translucent =
        load("icon.png", ImageFiles::png(2, 1, ImageFiles::PALETTE, {1, 0}, {255, 0, 0, 0, 0, 255}, {255, 128}));
    expectLayout(translucent, 2, 1, Color::RGBA);
    EXPECT_EQ((Bytes{0, 0, 255, 128}), pixel(translucent, 0, 0));
    EXPECT_EQ((Bytes{255, 0, 0, 255}), pixel(translucent, 1, 0));
}

TEST_F(DevILLoader, BgrImagesStoredBottomUpAreDeliveredAsRgbTopRowFirst)
{
    const SharedPtr<TextureSource> source = load("rgb.tga", ImageFiles::tga(3, 2, RGB_3X2));
    expectLayout(source, 3, 2, Color::RGB);
    EXPECT_EQ((Bytes{255, 0, 0}), pixel(source, 0, 0));
    EXPECT_EQ((Bytes{70, 80, 90}), pixel(source, 2, 1));
}

TEST_F(DevILLoader, MissingFileIsReportedOnceAndCachedAsMissing)
{
    EXPECT_TRUE(textures().getTextureSource("absent.png").isNull());
    // The file appearing later changes nothing: the failure is final.
    write("absent.png", ImageFiles::png(3, 2, ImageFiles::RGB, RGB_3X2));
    EXPECT_TRUE(textures().getTextureSource("absent.png").isNull());

    ASSERT_EQ(1u, mLog.mLines.size());
    EXPECT_EQ("loader.devil.textureloader: Error opening " + fileName("absent.png") + ": could not open file",
              mLog.mLines[0]);
}

TEST_F(DevILLoader, RepeatedRequestsShareOneSourceAndSlashesNameSubfolders)
{
    write("grass/colour.png", ImageFiles::png(3, 2, ImageFiles::RGB, RGB_3X2));
    const SharedPtr<TextureSource> first = textures().getTextureSource("grass/colour.png");
    ASSERT_FALSE(first.isNull());
    EXPECT_EQ(first.get(), textures().getTextureSource("grass/colour.png").get());
    EXPECT_NE(std::string::npos, fileName("grass/colour.png").find("\\grass\\colour.png"));
    EXPECT_TRUE(mLog.mLines.empty());
}

TEST_F(DevILLoader, BadFilesGiveAnEmptySourceAndOneLineNamingTheFile)
{
    const Bytes png = ImageFiles::png(3, 2, ImageFiles::RGB, RGB_3X2);
    const Bytes pcx = ImageFiles::pcx(3, 2, RGB_3X2);
    Bytes huge = png;
    ImageFiles::setPngSize(huge, 65535, 65535);
    Bytes wide = png;
    ImageFiles::setPngSize(wide, 100000, 1);
    Bytes overflowing = png;
    ImageFiles::setPngSize(overflowing, 65536, 65536);
    Bytes hugePcx = pcx;
    hugePcx[8] = hugePcx[9] = hugePcx[10] = hugePcx[11] = 0xfe;
    Bytes invertedPcx = pcx;
    invertedPcx[4] = 9;
    Bytes garbage = png;
    for (size_t i = 33; i < garbage.size(); ++i) {
        garbage[i] = static_cast<unsigned char>(i * 37);
    }
    const struct {
        const char* name;
        Bytes bytes;
    } cases[] = {
        {"empty.png", {}},
        {"truncated.png", Bytes(png.begin(), png.begin() + png.size() / 2)},
        {"without-end.png", Bytes(png.begin(), png.end() - 12)},
        {"truncated.pcx", Bytes(pcx.begin(), pcx.begin() + 100)},
        {"garbage.png", garbage},
        {"text.png", {'n', 'o', 't', ' ', 'a', 'n', ' ', 'i', 'm', 'a', 'g', 'e'}},
        {"huge.png", huge},
        {"wide.png", wide},
        {"overflowing.png", overflowing},
        {"huge.pcx", hugePcx},
        {"inverted.pcx", invertedPcx},
        {"unknown.xyz", {'n', 'o', 't', ' ', 'a', 'n', ' ', 'i', 'm', 'a', 'g', 'e'}},
    };
    for (const auto& bad : cases) {
        SCOPED_TRACE(bad.name);
        mLog.mLines.clear();
        EXPECT_TRUE(load(bad.name, bad.bytes).isNull());
        ASSERT_EQ(1u, mLog.mLines.size());
        EXPECT_EQ(0u, mLog.mLines[0].find("loader.devil.textureloader: Error opening " + fileName(bad.name) + ": "))
            << mLog.mLines[0];
    }
}

TEST_F(DevILLoader, SourcesOutlivingTheLibraryHaveNoPixels)
{
    const SharedPtr<TextureSource> early = load("rgb.png", ImageFiles::png(3, 2, ImageFiles::RGB, RGB_3X2));
    ASSERT_FALSE(early.isNull());
    mLoader.shutdown();
    EXPECT_EQ(nullptr, early->getTextureData());
    EXPECT_EQ(nullptr, early->getPixel(0, 0, 0));
    EXPECT_EQ(3u, early->getTextureInfo().getWidth());

    // Nor do they come back, or disturb the images of a new run.
    mLoader.initialize();
    const SharedPtr<TextureSource> late = load("rgb.png", ImageFiles::png(3, 2, ImageFiles::RGB, RGB_3X2));
    EXPECT_EQ(nullptr, early->getTextureData());
    EXPECT_EQ((Bytes{10, 20, 30}), pixel(late, 0, 1));
}

using DevILPlugin = VeltaTest::SetUpCoreFixture;

TEST_F(DevILPlugin, InstallsOneLoaderThatServesImagesUntilTheCoreShutsDown)
{
    Velta::TextureManager& textures = core().getResourceManager().getTextureManager();
    ASSERT_EQ(1u, textures.getTextureSourceLoaders().getSize());
    EXPECT_TRUE(textures.getTextureSourceLoaders().get(0)->isInitialized());

    const std::string folder = (std::filesystem::temp_directory_path()
                                / ("velta-images-plugin-" + std::to_string(getpid())))
                                   .string();
    std::filesystem::create_directories(folder);
    ImageFiles::write(folder + "/rgb.png", ImageFiles::png(3, 2, ImageFiles::RGB, RGB_3X2));
    textures.setTextureSourceNameMapper(CppLib::SharedPtr<Velta::NameMapper>(new Velta::FileNameMapper(folder)));
    const SharedPtr<TextureSource> held = textures.getTextureSource("rgb.png");
    std::filesystem::remove_all(folder);
    ASSERT_FALSE(held.isNull());
    EXPECT_NE(nullptr, held->getTextureData());

    // A holder that keeps an image past shut-down finds it empty, not freed.
    core().shutdown();
    EXPECT_EQ(nullptr, held->getTextureData());
    EXPECT_EQ(nullptr, held->getPixel(0, 0, 0));
}
