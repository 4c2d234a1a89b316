#include "plugins/DevILFixture.h"
#include "resource/TextureInfo.h"

#include <gtest/gtest.h>

#include <cstring>

using CppLib::SharedPtr;
using Velta::Color;
using Velta::TextureSource;
using VeltaTest::ImageFiles;
using Bytes = ImageFiles::Bytes;

namespace {

/// Three by two pixels: red, green, blue over three dark shades.
const Bytes RGB_3X2 = {255, 0, 0, 0, 255, 0, 0, 0, 255, 10, 20, 30, 40, 50, 60, 70, 80, 90};

/// Pixel (x, y) of an image that must be `width` wide, one slice, of
/// unsigned bytes in `format`; empty when there is none.
Bytes pixel(const SharedPtr<TextureSource>& source, Color::Format format, unsigned int width, unsigned int x,
            unsigned int y)
{
    if (source.isNull()) {
        ADD_FAILURE() << "nothing decoded";
        return {};
    }
    const Velta::TextureInfo& info = source->getTextureInfo();
    EXPECT_EQ(Velta::TextureInfo(width, info.getHeight(), 1, format, Velta::DataType::UNSIGNED_BYTE), info);
    const auto* at = static_cast<const unsigned char*>(source->getPixel(x, y, 0));
    return at ? Bytes(at, at + info.getChannels()) : Bytes();
}

} // namespace

using DevILLoader = VeltaTest::DevILFixture;

TEST_F(DevILLoader, DecodesImagesAsRgbRgbaOrLuminanceTopRowFirst)
{
    for (const auto& [name, file] : {std::pair{"rgb.png", ImageFiles::png(3, 2, ImageFiles::RGB, RGB_3X2)},
                                     std::pair{"rgb.pcx", ImageFiles::pcx(3, 2, RGB_3X2)}}) {
        SCOPED_TRACE(name);
        const SharedPtr<TextureSource> source = load(name, file);
        EXPECT_EQ((Bytes{10, 20, 30}), pixel(source, Color::RGB, 3, 0, 1)) << "first pixel of the second row";
        ASSERT_FALSE(source.isNull());
        EXPECT_EQ(0, std::memcmp(RGB_3X2.data(), source->getTextureData(), RGB_3X2.size()));
        EXPECT_EQ(nullptr, source->getPixel(3, 0, 0));
        EXPECT_EQ(nullptr, source->getPixel(0, 2, 0));
    }
    const Bytes rgba = {255, 0, 0, 0, 0, 255, 0, 64, 0, 0, 255, 128, 1, 2, 3, 255};
    EXPECT_EQ((Bytes{0, 0, 255, 128}),
              pixel(load("rgba.png", ImageFiles::png(2, 2, ImageFiles::RGBA, rgba)), Color::RGBA, 2, 0, 1));
    EXPECT_EQ((Bytes{128}), pixel(load("grey.png", ImageFiles::png(2, 2, ImageFiles::GREY, {0, 64, 128, 255})),
                                  Color::LUMINANCE, 2, 0, 1));
    // BGR stored bottom row first.
    EXPECT_EQ((Bytes{255, 0, 0}), pixel(load("rgb.tga", ImageFiles::tga(3, 2, RGB_3X2)), Color::RGB, 3, 0, 0));
    EXPECT_TRUE(logged().empty());
}

TEST_F(DevILLoader, PaletteImagesTakeTheColoursOfTheirPalette)
{
    // A grey ramp, as height maps are stored: the values are the indices.
    Bytes ramp;
    for (int i = 0; i < 256; ++i) {
        ramp.insert(ramp.end(), 3, static_cast<unsigned char>(i));
    }
    EXPECT_EQ((Bytes{255}), pixel(load("height.pcx", ImageFiles::pcx(3, 2, {0, 100, 200, 255, 7, 9}, ramp)),
                                  Color::LUMINANCE, 3, 0, 1));
    // Any other palette gives the colours shown, not the indices.
    const Bytes colours = ImageFiles::pcx(2, 1, {1, 2}, {0, 0, 0, 9, 9, 9, 1, 2, 3});
    EXPECT_EQ((Bytes{1, 2, 3}), pixel(load("colours.pcx", colours), Color::RGB, 2, 1, 0));
    const Bytes icon = ImageFiles::png(2, 1, ImageFiles::PALETTE, {1, 0}, {255, 0, 0, 0, 0, 255}, {255, 128});
    EXPECT_EQ((Bytes{0, 0, 255, 128}), pixel(load("icon.png", icon), Color::RGBA, 2, 0, 0));
}

TEST_F(DevILLoader, MissingAndBadFilesGiveAnEmptySourceAndOneLineNamingTheFile)
{
    // Through the texture manager, which caches the failure: the file
    // appearing later changes nothing.
    EXPECT_TRUE(textures().getTextureSource("absent.png").isNull());
    write("absent.png", ImageFiles::png(3, 2, ImageFiles::RGB, RGB_3X2));
    EXPECT_TRUE(textures().getTextureSource("absent.png").isNull());
    EXPECT_EQ(std::vector<std::string>{failure("absent.png") + "could not open file"}, logged());

    const Bytes png = ImageFiles::png(3, 2, ImageFiles::RGB, RGB_3X2);
    const Bytes pcx = ImageFiles::pcx(3, 2, RGB_3X2);
    const auto edit = [](Bytes bytes, size_t at, std::initializer_list<unsigned char> values) {
        std::copy(values.begin(), values.end(), bytes.begin() + static_cast<long>(at));
        ImageFiles::fixPngCrc(bytes, at);
        return bytes;
    };
    const Bytes text = {'n', 'o', 't', ' ', 'a', 'n', ' ', 'i', 'm', 'a', 'g', 'e'};
    const std::pair<const char*, Bytes> cases[] = {
        {"empty.png", {}},
        {"truncated.png", Bytes(png.begin(), png.begin() + 60)},
        {"unended.png", Bytes(png.begin(), png.end() - 12)},
        {"truncated.pcx", Bytes(pcx.begin(), pcx.begin() + 100)},
        {"text.png", text},
        {"unknown.xyz", text},
        {"huge.png", edit(png, 16, {0, 0, 0xff, 0xff, 0, 0, 0xff, 0xff})},
        {"overflowing.png", edit(png, 16, {0, 1, 0, 0, 0, 1, 0, 0})},  // 4 × 65536² bytes: 0 in 32 bits
        {"huge.pcx", edit(pcx, 8, {0xff, 0xfe, 0xff, 0xfe})},
        {"backwards.pcx", edit(pcx, 4, {9})},
    };
    for (const auto& [name, bytes] : cases) {
        SCOPED_TRACE(name);
        EXPECT_TRUE(load(name, bytes).isNull());
        const std::vector<std::string> lines = logged();
        ASSERT_EQ(1u, lines.size());
        EXPECT_EQ(0u, lines[0].find(failure(name))) << lines[0];
    }
}

using DevILPlugin = VeltaTest::SetUpCoreFixture;

TEST_F(DevILPlugin, InstallsOneInitialisedLoaderWhoseImagesEmptyWhenTheCoreShutsDown)
{
    Velta::TextureManager& textures = core().getResourceManager().getTextureManager();
    ASSERT_EQ(1u, textures.getTextureSourceLoaders().getSize());
    EXPECT_TRUE(textures.getTextureSourceLoaders().get(0)->isInitialized());

    const std::string folder = std::filesystem::temp_directory_path();
    const std::string name = "velta-plugin-" + std::to_string(getpid()) + ".png";
    ImageFiles::write(folder + "/" + name, ImageFiles::png(3, 2, ImageFiles::RGB, RGB_3X2));
    textures.setTextureSourceNameMapper(SharedPtr<Velta::NameMapper>(new Velta::FileNameMapper(folder)));
    const SharedPtr<TextureSource> held = textures.getTextureSource(name);
    std::filesystem::remove(folder + "/" + name);
    ASSERT_FALSE(held.isNull());
    EXPECT_NE(nullptr, held->getTextureData());
    // A holder that keeps an image past shut-down finds it empty, not freed.
    core().shutdown();
    EXPECT_EQ(nullptr, held->getTextureData());
    EXPECT_EQ(nullptr, held->getPixel(0, 0, 0));
}
