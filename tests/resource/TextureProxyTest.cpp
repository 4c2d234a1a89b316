#include "TestImages.h"

#include "resource/TextureProxy.h"
#include "support/ClockedCoreFixture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using CppLib::SharedPtr;
using Velta::Color;
using Velta::TextureInfo;
using Velta::TextureProxy;
using Velta::TextureSource;
using ResourceTest::Bytes;
using ResourceTest::image;

namespace {

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

/// The tag byte (blue) of each pixel, row by row: where copies landed.
std::vector<Bytes> tags(const TextureProxy& proxy)
{
    std::vector<Bytes> rows(proxy.getTextureInfo().getHeight());
    for (unsigned int y = 0; y < rows.size(); ++y) {
        for (unsigned int x = 0; x < proxy.getTextureInfo().getWidth(); ++x) {
            rows[y].push_back(pixel(proxy, x, y)[2]);
        }
    }
    return rows;
}

const Color CLEAR(0.0f, 0.0f, 0.0f, 0.0f);

} // namespace

TEST(TextureProxy, AColourProxyIsAnRgbaImageFilledWithTheColourInClampedBytes)
{
    const TextureProxy tinted(3, 2, Color(0.5f, 2.0f, -1.0f, std::nanf("")));
    EXPECT_EQ(TextureInfo(3, 2, 1, Color::RGBA, Velta::DataType::UNSIGNED_BYTE), tinted.getTextureInfo());
    EXPECT_EQ((Bytes{127, 255, 0, 0}), pixel(tinted, 2, 1));
    EXPECT_EQ(nullptr, tinted.getPixel(3, 0, 0));
    EXPECT_EQ(204, tinted.getPixelValue(0.5f, 0.4f, 0.6f));

    const TextureProxy impossible(100000, 100000, CLEAR);
    EXPECT_EQ(nullptr, impossible.getTextureData());
    EXPECT_EQ(0u, impossible.getTextureInfo().getWidth());
}

TEST(TextureProxy, CombinesScaledColoursWithAlphaFromAChannelOfAnotherImage)
{
    const TextureProxy plain(image(2, 1, Color::LUMINANCE, {128, 0}), {}, 1.0f, 0.0f, 0);
    EXPECT_EQ((Bytes{128, 128, 128, 255}), pixel(plain, 0, 0));

    // The terrain's light map: colour × 0.4 + 0.6, alpha from the red of a
    // smaller alpha map sampled at the same relative place.
    const SharedPtr<TextureSource> wide = image(4, 1, Color::LUMINANCE, {0, 0, 255, 255});
    const SharedPtr<TextureSource> mask = image(2, 1, Color::RGB, {10, 20, 30, 40, 50, 60});
    const TextureProxy lit(wide, mask, 0.4f, 0.6f, 0);
    EXPECT_EQ((Bytes{153, 153, 153, 10}), pixel(lit, 1, 0));
    EXPECT_EQ((Bytes{255, 255, 255, 40}), pixel(lit, 2, 0));
    EXPECT_EQ(60, pixel(TextureProxy(wide, mask, 1.0f, 0.0f, 2), 3, 0)[3]);
    EXPECT_EQ(0, pixel(TextureProxy(wide, mask, 1.0f, 0.0f, 7), 3, 0)[3]) << "no such channel";

    // One value a pixel that is not luminance is a grey too.
    EXPECT_EQ((Bytes{64, 64, 64, 255}), pixel(TextureProxy(image(1, 1, Color::SINGLE_CHANNEL, {64}), {}, 1, 0, 0), 0, 0));
    EXPECT_EQ(nullptr, TextureProxy({}, mask, 1.0f, 0.0f, 0).getTextureData());
}

using TextureProxyCopy = VeltaTest::ClockedCoreFixture;

TEST_F(TextureProxyCopy, CopiesRectanglesClippedToBothImages)
{
    TextureProxy proxy(4, 3, CLEAR);
    ASSERT_TRUE(proxy.copyRect(numbered(5, 5, 1), 1, 1, 0, 2, 3, 0, 2, 1, 1));
    EXPECT_EQ((Bytes{3, 3, 1, 255}), pixel(proxy, 2, 1));
    EXPECT_EQ((std::vector<Bytes>{{0, 0, 0, 0}, {0, 1, 1, 0}, {0, 0, 0, 0}}), tags(proxy));

    // Running off the source's right and bottom edges and the proxy's.
    TextureProxy clipped(4, 3, CLEAR);
    EXPECT_TRUE(clipped.copyRect(numbered(3, 2, 2), 2, 1, 0, 1, 0, 0, 50, 50, 1));
    EXPECT_EQ((std::vector<Bytes>{{0, 0, 0, 0}, {0, 0, 2, 2}, {0, 0, 2, 2}}), tags(clipped));
    EXPECT_EQ((Bytes{2, 1, 2, 255}), pixel(clipped, 3, 2));

    // Starting outside either image copies nothing, and reads nothing.
    TextureProxy untouched(4, 3, CLEAR);
    EXPECT_TRUE(untouched.copyRect(numbered(3, 2, 3), 4, 0, 0, 0, 0, 0, 2, 2, 1));
    EXPECT_TRUE(untouched.copyRect(numbered(3, 2, 3), 0, 0, 0, 0, 2, 0, 2, 2, 1));
    EXPECT_TRUE(untouched.copyRect(numbered(3, 2, 3), 0, 0, 0, 0xffffffffu, 0, 0, 0xffffffffu, 2, 1));
    EXPECT_EQ(std::vector<Bytes>(3, Bytes(4, 0)), tags(untouched));
}

TEST_F(TextureProxyCopy, CopiesWithinItselfWithoutSmearingOverlappingRows)
{
    const SharedPtr<TextureSource> self(new TextureProxy(numbered(3, 3, 9), {}, 1.0f, 0.0f, 3));
    TextureProxy& proxy = static_cast<TextureProxy&>(*self);
    EXPECT_TRUE(proxy.copyRect(self, 0, 1, 0, 0, 0, 0, 3, 2, 1));
    EXPECT_EQ((Bytes{1, 1, 9, 255}), pixel(proxy, 1, 2));
    EXPECT_TRUE(proxy.copyRect(self, 0, 0, 0, 0, 1, 0, 3, 2, 1));
    EXPECT_EQ((Bytes{2, 1, 9, 255}), pixel(proxy, 2, 1));
}

TEST_F(TextureProxyCopy, EveryCopyFromASourceMarksTheProxyChangedEvenWhenFormatsDiffer)
{
    TextureProxy proxy(2, 2, CLEAR);
    mClock.set(5000);
    EXPECT_FALSE(proxy.copyRect({}, 0, 0, 0, 0, 0, 0, 1, 1, 1));
    EXPECT_FALSE(proxy.hasChanged(1)) << "an empty source changes nothing";

    EXPECT_TRUE(proxy.copyRect(image(1, 1, Color::RGB, {9, 9, 9}), 0, 0, 0, 0, 0, 0, 1, 1, 1));
    EXPECT_EQ((Bytes{0, 0, 0, 0}), pixel(proxy, 0, 0)) << "an RGB image is not copied into RGBA";
    EXPECT_TRUE(proxy.hasChanged(5000));
    EXPECT_FALSE(proxy.hasChanged(5001));
}
