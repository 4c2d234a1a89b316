#include "TestImages.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

using Velta::Color;
using Velta::DataType;
using Velta::TextureData;
using Velta::TextureInfo;
using ResourceTest::block;

namespace {

template <typename Component>
Color colorOf(Color::Format format, DataType::Type type, std::vector<Component> components)
{
    TextureInfo info(1, 1, 1, format, type);
    if (format == Color::UNKNOWN) {
        info.setChannels(static_cast<unsigned int>(components.size()));
    }
    return info.getPixelColor(components.data());
}

/// A w × h × d RGB image of unsigned bytes whose pixel (x, y, z) holds x, y, z.
TextureData coordinateImage(unsigned int w, unsigned int h, unsigned int d)
{
    std::vector<unsigned char> bytes;
    for (unsigned int z = 0; z < d; ++z) {
        for (unsigned int y = 0; y < h; ++y) {
            for (unsigned int x = 0; x < w; ++x) {
                bytes.insert(bytes.end(), {static_cast<unsigned char>(x), static_cast<unsigned char>(y),
                                           static_cast<unsigned char>(z)});
            }
        }
    }
    return TextureData(TextureInfo(w, h, d, Color::RGB, DataType::UNSIGNED_BYTE), block(bytes));
}

const Color opaqueBlack(0.0f, 0.0f, 0.0f, 1.0f);

testing::AssertionResult sameColor(const Color& actual, const Color& expected)
{
    const float a[] = {actual.r, actual.g, actual.b, actual.a}, e[] = {expected.r, expected.g, expected.b, expected.a};
    for (int i = 0; i < 4; ++i) {
        if (std::fabs(a[i] - e[i]) > 1e-6f) {
            return testing::AssertionFailure() << "(" << a[0] << ", " << a[1] << ", " << a[2] << ", " << a[3]
                                               << ") instead of (" << e[0] << ", " << e[1] << ", " << e[2] << ", "
                                               << e[3] << ")";
        }
    }
    return testing::AssertionSuccess();
}

} // namespace

TEST(TextureInfo, EveryFormatReadsItsComponentsInColourOrder)
{
    using UB = std::vector<std::uint8_t>;
    EXPECT_TRUE(sameColor(colorOf(Color::RGB, DataType::UNSIGNED_BYTE, UB{255, 0, 51}), Color(1, 0, 0.2f, 1)));
    EXPECT_TRUE(sameColor(colorOf(Color::RGBA, DataType::UNSIGNED_BYTE, UB{0, 255, 0, 51}), Color(0, 1, 0, 0.2f)));
    EXPECT_TRUE(sameColor(colorOf(Color::BGR, DataType::UNSIGNED_BYTE, UB{255, 0, 51}), Color(0.2f, 0, 1, 1)));
    EXPECT_TRUE(sameColor(colorOf(Color::BGRA, DataType::UNSIGNED_BYTE, UB{255, 0, 51, 0}), Color(0.2f, 0, 1, 0)));
    EXPECT_TRUE(sameColor(colorOf(Color::LUMINANCE, DataType::UNSIGNED_BYTE, UB{255}), Color(1, 1, 1, 1)));
    EXPECT_TRUE(sameColor(colorOf(Color::SINGLE_CHANNEL, DataType::UNSIGNED_BYTE, UB{128}),
                          Color(1, 1, 1, 128 / 255.0f)))
        << "a single channel that is not luminance is coverage";
    EXPECT_TRUE(sameColor(colorOf(Color::UNKNOWN, DataType::UNSIGNED_BYTE, UB{51, 255}), Color(0.2f, 0.2f, 0.2f, 1)));
    EXPECT_TRUE(sameColor(colorOf(Color::UNKNOWN, DataType::UNSIGNED_BYTE, UB{0, 51, 255, 0, 9}), Color(0, 0.2f, 1, 0)))
        << "channels past the fourth are ignored";
}

TEST(TextureInfo, EveryComponentTypeScalesToTheUnitRangeOrReadsAsOpaqueBlack)
{
    EXPECT_TRUE(sameColor(colorOf(Color::RGBA, DataType::FLOAT, std::vector<float>{0.5f, 2, -1, 0.25f}),
                          Color(0.5f, 2, -1, 0.25f)))
        << "floats are taken as they are";
    EXPECT_TRUE(sameColor(colorOf(Color::BGR, DataType::DOUBLE, std::vector<double>{0.25, 0.5, 0.75}),
                          Color(0.75f, 0.5f, 0.25f, 1)));
    EXPECT_TRUE(sameColor(colorOf(Color::RGB, DataType::UNSIGNED_SHORT, std::vector<std::uint16_t>{65535, 0, 65535}),
                          Color(1, 0, 1, 1)));
    EXPECT_TRUE(sameColor(colorOf(Color::LUMINANCE, DataType::UNSIGNED_INT, std::vector<std::uint32_t>{0xFFFFFFFFu}),
                          Color(1, 1, 1, 1)));

    const std::vector<std::uint32_t> pixel{0x7F7F7F7Fu, 0x7F7F7F7Fu, 0x7F7F7F7Fu, 0x7F7F7F7Fu};
    for (DataType::Type type : {DataType::NONE, DataType::BYTE, DataType::SHORT, DataType::INT, DataType::BOOL,
                                static_cast<DataType::Type>(42)}) {
        EXPECT_TRUE(sameColor(colorOf(Color::RGBA, type, pixel), opaqueBlack)) << DataType::getName(type);
    }
    const TextureInfo rgba(1, 1, 1, Color::RGBA, DataType::UNSIGNED_BYTE);
    EXPECT_TRUE(sameColor(rgba.getPixelColor(nullptr), opaqueBlack));
    EXPECT_TRUE(sameColor(TextureInfo().getPixelColor(pixel.data()), opaqueBlack)) << "no channels";
}

TEST(TextureInfo, FormatsSetTheChannelsAndAnotherChannelCountForgetsTheFormat)
{
    TextureInfo info;
    info.setColorFormat(Color::RGBA);
    EXPECT_EQ(info.getChannels(), 4u);
    info.setChannels(4);
    EXPECT_EQ(info.getColorFormat(), Color::RGBA);
    info.setChannels(3);
    EXPECT_EQ(info.getColorFormat(), Color::UNKNOWN);
    info.setColorFormat(static_cast<Color::Format>(9));
    EXPECT_EQ(info.getChannels(), 3u) << "an unknown format keeps the count";
}

TEST(TextureInfo, MemorySizesCountEveryLevelDownToOnePixel)
{
    EXPECT_EQ(TextureInfo(256, 256, 1, Color::RGBA, DataType::UNSIGNED_BYTE).getMemSize(), 262144u);
    EXPECT_EQ(TextureInfo(10, 3, 2, Color::RGB, DataType::FLOAT).getMemSize(), 10u * 3u * 2u * 12u);
    EXPECT_EQ(TextureInfo(10, 3, 0, Color::RGB, DataType::FLOAT).getMemSize(), 0u);
    EXPECT_EQ(TextureInfo(0xFFFFFFFFu, 0xFFFFFFFFu, 2, Color::RGBA, DataType::DOUBLE).getMemSize(), ~0ull)
        << "too large to hold rather than a wrapped small size";

    const TextureInfo square(256, 256, 1, Color::RGBA, DataType::UNSIGNED_BYTE);
    EXPECT_EQ(square.getMipMapMemSize(100), 4u * (65536 + 16384 + 4096 + 1024 + 256 + 64 + 16 + 4 + 1));
    EXPECT_EQ(square.getMipMapMemSize(5), 4u * (65536 + 16384 + 4096 + 1024 + 256 + 64));
    const TextureInfo strip(8, 2, 3, Color::LUMINANCE, DataType::UNSIGNED_SHORT);
    EXPECT_EQ(strip.getMipMapMemSize(10), 2u * 3u * (16 + 4 + 2 + 1));
}

TEST(TextureData, PixelsAtTheBordersAreFoundAndPastThemAreNull)
{
    const TextureData image = coordinateImage(5, 4, 3);
    const unsigned char* data = static_cast<const unsigned char*>(image.getTextureData());
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(image.getPixel(0, 0, 0), data);
    EXPECT_EQ(image.getPixel(4, 3, 2), data + 3 * (5 * 4 * 3 - 1));
    EXPECT_EQ(image.getPixel(0, 1, 0), data + 3 * 5) << "the first pixel of the second row";
    EXPECT_TRUE(sameColor(image.getPixelColor(4, 3, 2), Color(4 / 255.0f, 3 / 255.0f, 2 / 255.0f, 1.0f)));

    const unsigned int past[][3] = {{5, 0, 0}, {0, 4, 0}, {0, 0, 3}, {5, 4, 3}, {0xFFFFFFFFu, 0, 0},
                                    {0, 0xFFFFFFFFu, 0xFFFFFFFFu}};
    for (const auto& p : past) {
        EXPECT_EQ(image.getPixel(p[0], p[1], p[2]), nullptr) << p[0] << ", " << p[1] << ", " << p[2];
        EXPECT_TRUE(sameColor(image.getPixelColor(p[0], p[1], p[2]), opaqueBlack));
    }
}

TEST(TextureData, AnEmptyOrShortBlockIsNeverReadPastItsEnd)
{
    const TextureData empty(TextureInfo(0, 0, 1, Color::RGBA, DataType::UNSIGNED_BYTE), block({}));
    EXPECT_EQ(empty.getPixel(0, 0, 0), nullptr);
    EXPECT_TRUE(sameColor(empty.getPixelColor(0, 0, 0), opaqueBlack));

    // Two whole pixels and a half of a 2 × 2 RGB image.
    const TextureData shortImage(TextureInfo(2, 2, 1, Color::RGB, DataType::UNSIGNED_BYTE),
                                 block({1, 2, 3, 4, 5, 6, 7, 8}));
    EXPECT_EQ(shortImage.getTextureData(), nullptr) << "an upload would read 12 bytes";
    EXPECT_NE(shortImage.getPixel(1, 0, 0), nullptr);
    EXPECT_EQ(shortImage.getPixel(0, 1, 0), nullptr);
    EXPECT_EQ(shortImage.getPixel(1, 1, 0), nullptr);

    // Coordinates whose offset does not fit 64 bits must not wrap back into the block.
    const TextureData huge(TextureInfo(0xFFFFFFFFu, 0xFFFFFFFFu, 0xFFFFFFFFu, Color::RGBA, DataType::DOUBLE),
                           block({1, 2, 3, 4}));
    EXPECT_EQ(huge.getPixel(0xFFFFFFFEu, 0xFFFFFFFEu, 0xFFFFFFFEu), nullptr);
    EXPECT_EQ(huge.getPixel(0x80000000u, 0x80000000u, 0x40000000u), nullptr);

    const TextureData noBlock(TextureInfo(2, 2, 1, Color::RGB, DataType::UNSIGNED_BYTE), CppLib::CowMemPtr<void>());
    EXPECT_EQ(noBlock.getTextureData(), nullptr);
    EXPECT_EQ(noBlock.getPixel(0, 0, 0), nullptr);
}

TEST(TextureData, SharesItsBlockWithTheMakerUntilTheMakerWrites)
{
    CppLib::CowMemPtr<void> pixels = block({10, 20, 30});
    const TextureData image(TextureInfo(1, 1, 1, Color::RGB, DataType::UNSIGNED_BYTE), pixels);
    EXPECT_EQ(image.getTextureData(), static_cast<const CppLib::CowMemPtr<void>&>(pixels).get());
    static_cast<unsigned char*>(pixels.get())[0] = 99;
    EXPECT_EQ(static_cast<const unsigned char*>(image.getTextureData())[0], 10) << "the image never changes";
}
