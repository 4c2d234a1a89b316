#include "cpplib/CowMemPtr.h"
#include "resource/TextureData.h"
#include "resource/TextureProxy.h"
#include "support/ManualClock.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

using CppLib::SharedPtr;
using Velta::Color;
using Velta::DataType;
using Velta::TextureInfo;
using Velta::TextureProxy;
using Velta::TextureSource;
using Bytes = std::vector<unsigned char>;

namespace {

SharedPtr<TextureSource> image(unsigned int w, unsigned int h, Color::Format format, const Bytes& bytes)
{
    const TextureInfo info(w, h, 1, format, DataType::UNSIGNED_BYTE);
    CppLib::CowMemPtr<void> pixels;
    pixels.alloc(static_cast<unsigned int>(bytes.size()));
    std::memcpy(pixels.get(), bytes.data(), bytes.size());
    return SharedPtr<TextureSource>(new Velta::TextureData(info, pixels));
}

/// A `w` × `h` RGBA image whose pixel (x, y) is (x, y, `tag`, 255).
SharedPtr<TextureSource> numbered(unsigned int w, unsigned int h, unsigned char tag)
{
    Bytes bytes;
    for (unsigned int y = 0; y < h; ++y) {
        for (unsigned int x = 0; x < w; ++x) {
            bytes.insert(bytes.end(), {static_cast<unsigned char>(x), static_cast<unsigned char>(y), tag, 255});
        }
    }
    return image(w, h, Color::RGBA, bytes);
}

Bytes pixel(const TextureSource& source, unsigned int x, unsigned int y)
{
    const auto* at = static_cast<const unsigned char*>(source.getPixel(x, y, 0));
    return at ? Bytes(at, at + 4) : Bytes();
}

/// Pixels (x, y) of the proxy that are not (0, 0, 0, 0), as the tag byte
/// of each (the proxy starts transparent black).
std::vector<std::vector<int>> written(const TextureProxy& proxy)
{
    const TextureInfo& info = proxy.getTextureInfo();
    std::vector<std::vector<int>> rows(info.getHeight(), std::vector<int>(info.getWidth(), 0));
    for (unsigned int y = 0; y < info.getHeight(); ++y) {
        for (unsigned int x = 0; x < info.getWidth(); ++x) {
            rows[y][x] = pixel(proxy, x, y)[2];
        }
    }
    return rows;
}

const Color CLEAR(0.0f, 0.0f, 0.0f, 0.0f);

} // namespace

TEST(TextureProxy, PixelValuesAreScaledTruncatedAndClamped)
{
    const TextureProxy proxy(1, 1, CLEAR);
    EXPECT_EQ(127, proxy.getPixelValue(0.5f, 1.0f, 0.0f));
    EXPECT_EQ(255, proxy.getPixelValue(2.0f, 1.0f, 0.0f));
    EXPECT_EQ(0, proxy.getPixelValue(-1.0f, 1.0f, 0.0f));
    EXPECT_EQ(0, proxy.getPixelValue(std::nanf(""), 1.0f, 0.0f));
    EXPECT_EQ(204, proxy.getPixelValue(0.5f, 0.4f, 0.6f));
}

TEST(TextureProxy, AColourProxyIsAnRgbaImageFilledWithTheColour)
{
    const TextureProxy white(3, 2, Color(1.0f, 1.0f, 1.0f, 1.0f));
    const TextureInfo& info = white.getTextureInfo();
    EXPECT_EQ(TextureInfo(3, 2, 1, Color::RGBA, DataType::UNSIGNED_BYTE), info);
    const auto* data = static_cast<const unsigned char*>(white.getTextureData());
    ASSERT_NE(nullptr, data);
    EXPECT_EQ(Bytes(24, 0xff), Bytes(data, data + 24));

    const TextureProxy tinted(2, 2, Color(0.5f, 0.25f, 1.0f, 0.0f));
    EXPECT_EQ((Bytes{127, 63, 255, 0}), pixel(tinted, 1, 1));
    EXPECT_EQ(nullptr, tinted.getPixel(2, 0, 0));
    EXPECT_EQ(nullptr, tinted.getPixel(0, 0, 1));
    EXPECT_FALSE(tinted.copyData(0, 0, 0, 1, 1, 1, nullptr));

    const TextureProxy impossible(100000, 100000, CLEAR);
    EXPECT_EQ(nullptr, impossible.getTextureData());
    EXPECT_EQ(0u, impossible.getTextureInfo().getWidth());
}

TEST(TextureProxy, CombinesScaledColoursWithAlphaFromAChannelOfAnotherImage)
{
    const SharedPtr<TextureSource> light = image(2, 1, Color::LUMINANCE, {128, 0});
    const TextureProxy plain(light, {}, 1.0f, 0.0f, 0);
    EXPECT_EQ((Bytes{128, 128, 128, 255}), pixel(plain, 0, 0));
    EXPECT_EQ(TextureInfo(2, 1, 1, Color::RGBA, DataType::UNSIGNED_BYTE), plain.getTextureInfo());

    // The terrain's light map: colour × 0.4 + 0.6, alpha from the red of a
    // smaller alpha map sampled at the same relative place.
    const SharedPtr<TextureSource> wide = image(4, 1, Color::LUMINANCE, {0, 0, 255, 255});
    const SharedPtr<TextureSource> mask = image(2, 1, Color::RGB, {10, 20, 30, 40, 50, 60});
    const TextureProxy lit(wide, mask, 0.4f, 0.6f, 0);
    EXPECT_EQ((Bytes{153, 153, 153, 10}), pixel(lit, 1, 0));
    EXPECT_EQ((Bytes{255, 255, 255, 40}), pixel(lit, 2, 0));
    const TextureProxy blue(wide, mask, 1.0f, 0.0f, 2);
    EXPECT_EQ(60, pixel(blue, 3, 0)[3]);
    const TextureProxy none(wide, mask, 1.0f, 0.0f, 7);
    EXPECT_EQ(0, pixel(none, 3, 0)[3]) << "no such channel";

    // One value a pixel that is not luminance is a grey too.
    const TextureProxy grey(image(1, 1, Color::SINGLE_CHANNEL, {64}), {}, 1.0f, 0.0f, 0);
    EXPECT_EQ((Bytes{64, 64, 64, 255}), pixel(grey, 0, 0));

    const TextureProxy empty({}, mask, 1.0f, 0.0f, 0);
    EXPECT_EQ(nullptr, empty.getTextureData());
    EXPECT_EQ(nullptr, empty.getPixel(0, 0, 0));
}

using TextureProxyCopy = VeltaTest::ClockedCoreFixture;

TEST_F(TextureProxyCopy, CopiesRectanglesClippedToBothImages)
{
    TextureProxy proxy(4, 3, CLEAR);
    ASSERT_TRUE(proxy.copyRect(numbered(5, 5, 1), 1, 1, 0, 2, 3, 0, 2, 1, 1));
    EXPECT_EQ((Bytes{2, 3, 1, 255}), pixel(proxy, 1, 1));
    EXPECT_EQ((Bytes{3, 3, 1, 255}), pixel(proxy, 2, 1));
    EXPECT_EQ((std::vector<std::vector<int>>{{0, 0, 0, 0}, {0, 1, 1, 0}, {0, 0, 0, 0}}), written(proxy));

    // Running off the source's right and bottom edges and the proxy's.
    TextureProxy clipped(4, 3, CLEAR);
    EXPECT_TRUE(clipped.copyRect(numbered(3, 2, 2), 2, 1, 0, 1, 0, 0, 50, 50, 1));
    EXPECT_EQ((std::vector<std::vector<int>>{{0, 0, 0, 0}, {0, 0, 2, 2}, {0, 0, 2, 2}}), written(clipped));
    EXPECT_EQ((Bytes{2, 1, 2, 255}), pixel(clipped, 3, 2));

    // Starting outside either image copies nothing, and reads nothing.
    TextureProxy untouched(4, 3, CLEAR);
    EXPECT_TRUE(untouched.copyRect(numbered(3, 2, 3), 4, 0, 0, 0, 0, 0, 2, 2, 1));
    EXPECT_TRUE(untouched.copyRect(numbered(3, 2, 3), 0, 0, 0, 0, 2, 0, 2, 2, 1));
    EXPECT_TRUE(untouched.copyRect(numbered(3, 2, 3), 0, 0, 0, 0xffffffffu, 0, 0, 0xffffffffu, 2, 1));
    EXPECT_EQ(std::vector<std::vector<int>>(3, std::vector<int>(4, 0)), written(untouched));
}

TEST_F(TextureProxyCopy, CopiesWithinItselfWithoutSmearingOverlappingRows)
{
    const SharedPtr<TextureSource> self(new TextureProxy(numbered(3, 3, 9), {}, 1.0f, 0.0f, 3));
    TextureProxy& same = static_cast<TextureProxy&>(*self);
    EXPECT_TRUE(same.copyRect(self, 0, 1, 0, 0, 0, 0, 3, 2, 1));
    EXPECT_EQ((Bytes{1, 0, 9, 255}), pixel(same, 1, 1));
    EXPECT_EQ((Bytes{1, 1, 9, 255}), pixel(same, 1, 2));
    EXPECT_TRUE(same.copyRect(self, 0, 0, 0, 0, 1, 0, 3, 2, 1));
    EXPECT_EQ((Bytes{2, 0, 9, 255}), pixel(same, 2, 0));
    EXPECT_EQ((Bytes{2, 1, 9, 255}), pixel(same, 2, 1));
}

TEST_F(TextureProxyCopy, EveryCopyFromASourceMarksTheProxyChangedEvenWhenFormatsDiffer)
{
    TextureProxy proxy(2, 2, CLEAR);
    EXPECT_FALSE(proxy.hasChanged(1));

    mClock.set(5000);
    EXPECT_FALSE(proxy.copyRect({}, 0, 0, 0, 0, 0, 0, 1, 1, 1));
    EXPECT_FALSE(proxy.hasChanged(5000)) << "an empty source changes nothing";

    EXPECT_TRUE(proxy.copyRect(image(1, 1, Color::RGB, {9, 9, 9}), 0, 0, 0, 0, 0, 0, 1, 1, 1));
    EXPECT_EQ((Bytes{0, 0, 0, 0}), pixel(proxy, 0, 0)) << "an RGB image is not copied into RGBA";
    EXPECT_TRUE(proxy.hasChanged(5000));
    EXPECT_FALSE(proxy.hasChanged(5001));

    mClock.set(6000);
    EXPECT_TRUE(proxy.copyRect(numbered(1, 1, 4), 1, 1, 0, 0, 0, 0, 1, 1, 1));
    EXPECT_TRUE(proxy.hasChanged(6000));
    EXPECT_EQ(4, pixel(proxy, 1, 1)[2]);
}
