#include "TestImages.h"

#include "resource/Material.h"
#include "resource/RenderSettings.h"
#include "resource/Texture2D.h"
#include "resource/Texture3D.h"
#include "resource/TextureProxy.h"
#include "support/ClockedCoreFixture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using CppLib::SharedPtr;
using Velta::Color;
using Velta::DataType;
using Velta::Material;
using Velta::Texture;
using Velta::Texture2D;
using Velta::TextureInfo;
using Velta::TextureProxy;
using Velta::TextureSource;
using ResourceTest::Bytes;
using ResourceTest::image;

namespace {

/// An image that reports changes from a time the test sets, as an editable
/// image does.
class EditableImage : public TextureSource {
public:
    explicit EditableImage(const TextureInfo& info) : mInfo(info) {}
    const TextureInfo& getTextureInfo() const override { return mInfo; }
    bool hasChanged(long long t) const override { return mChangeTime >= t; }
    const void* getTextureData() const override { return nullptr; }
    const void* getPixel(unsigned int, unsigned int, unsigned int) const override { return nullptr; }
    bool copyData(unsigned int, unsigned int, unsigned int, unsigned int, unsigned int, unsigned int,
                  void*) const override
    {
        return false;
    }

    long long mChangeTime = 0;

private:
    TextureInfo mInfo;
};

class Volume : public Velta::Texture3D {
public:
    bool hasChanged(long long) const override { return false; }
    const SharedPtr<TextureSource> getTextureSource(unsigned int, unsigned int) const override { return {}; }
};

SharedPtr<TextureSource> blank(unsigned int w, unsigned int h)
{
    return image(w, h, Color::RGBA, Bytes(w * h * 4));
}

/// The upload rule of a renderer: upload when nothing was uploaded yet or
/// the texture changed since the last bind, and record the time of each bind.
struct Binder {
    bool bind(const Texture& texture, long long now)
    {
        const bool upload = lastBind == 0 || texture.hasChanged(lastBind);
        lastBind = now;
        return upload;
    }
    long long lastBind = 0;
};

using TextureTest = VeltaTest::ClockedCoreFixture;

} // namespace

TEST_F(TextureTest, FiltersAreStoredAsTheRendererUsesThem)
{
    Texture2D texture;
    texture.setMipMapFilter(Texture::NEAREST, Texture::NEAREST);
    texture.setMinFilter(Texture::TRILINEAR);
    EXPECT_EQ(texture.getMinFilter(), Texture::MIPMAP);
    EXPECT_EQ(texture.getMipMapChooseFilter(), Texture::LINEAR);
    EXPECT_EQ(texture.getMipMapFilter(), Texture::LINEAR);

    texture.setMinFilter(Texture::BILINEAR);
    EXPECT_EQ(texture.getMinFilter(), Texture::LINEAR);
    texture.setMagFilter(Texture::MIPMAP);
    EXPECT_EQ(texture.getMagFilter(), Texture::LINEAR);
    texture.setAllFilters(Texture::TRILINEAR);
    EXPECT_EQ(texture.getMinFilter(), Texture::MIPMAP);
    EXPECT_EQ(texture.getMagFilter(), Texture::LINEAR);
}

TEST_F(TextureTest, WrapModesOutsideTheAxesAreIgnoredAndReadAsRepeat)
{
    Texture2D texture;
    texture.setWrapMode(Texture::CLAMP_TO_EDGE, 1, 0);
    texture.setWrapMode(Texture::CLAMP, 2, 0);
    texture.setWrapMode(Texture::CLAMP, 0, 1);
    texture.setWrapMode(Texture::CLAMP, 0xFFFFFFFFu, 0xFFFFFFFFu);
    EXPECT_EQ(texture.getWrapMode(0, 0), Texture::REPEAT);
    EXPECT_EQ(texture.getWrapMode(1, 0), Texture::CLAMP_TO_EDGE);
    EXPECT_EQ(texture.getWrapMode(2, 0), Texture::REPEAT);
    EXPECT_EQ(texture.getWrapMode(0, 1), Texture::REPEAT);

    Volume volume;
    volume.setWrapMode(Texture::CLAMP, 2, 0);
    EXPECT_EQ(volume.getWrapMode(2, 0), Texture::CLAMP) << "a 3D texture wraps r as well";
}

TEST_F(TextureTest, ATextureMayOutliveTheCore)
{
    SharedPtr<Texture> kept(new Texture2D(blank(2, 2)));
    core().shutdown();
    kept.setNull();
    SUCCEED();
}

TEST_F(TextureTest, AReplacedImageOrOneThatChangesItselfIsUploadedAgain)
{
    Texture2D replaced(blank(4, 4));
    EXPECT_TRUE(replaced.hasChanged(0)) << "an image from the constructor counts as set at time 0";
    EXPECT_FALSE(replaced.hasChanged(1));
    auto* editable = new EditableImage(TextureInfo(2, 2, 1, Color::RGBA, DataType::UNSIGNED_BYTE));
    Texture2D edited(SharedPtr<TextureSource>(static_cast<TextureSource*>(editable)));

    Binder replacedBinder, editedBinder;
    int replacedUploads = 0, editedUploads = 0;
    for (int frame = 0; frame < 6; ++frame) {
        mClock.advance(16);
        if (frame == 3) {
            replaced.setTextureSource(blank(8, 8));
        }
        if (frame == 2 || frame == 4) {
            editable->mChangeTime = core().getTimerManager().getTimestamp();
        }
        mClock.advance(2); // the rest of the frame's logic
        replacedUploads += replacedBinder.bind(replaced, core().getTimerManager().getTimestamp());
        editedUploads += editedBinder.bind(edited, core().getTimerManager().getTimestamp());
    }
    EXPECT_EQ(replacedUploads, 2) << "the first bind and the replacement";
    EXPECT_EQ(replaced.getTextureSource(5, 5)->getTextureInfo().getWidth(), 8u);
    EXPECT_EQ(editedUploads, 3) << "the first bind and both edits";
}

TEST_F(TextureTest, MemorySizeCountsMipMapsUpToTheHighestLevel)
{
    Texture2D texture(blank(256, 256));
    EXPECT_EQ(texture.getMemSize(), 262144u);
    texture.setGenerateMipMaps(true);
    EXPECT_EQ(texture.getMemSize(), 4u * (65536 + 16384 + 4096 + 1024 + 256 + 64));

    Texture2D empty;
    empty.setGenerateMipMaps(true);
    EXPECT_EQ(empty.getMemSize(), 0u);
}

TEST_F(TextureTest, AMaterialKeepsOneTextureAUnitAliveAndAskingForAnEmptyUnitAddsNothing)
{
    Material material;
    EXPECT_FALSE(material.useBlending()) << "decides the opaque or the blended pass";
    EXPECT_TRUE(material.getTexture(0).isNull());
    // An empty pointer is a valid entry that switches texturing off on its unit.
    material.setTexture(0, SharedPtr<Texture>());
    EXPECT_TRUE(material.getTexture(3).isNull());
    EXPECT_EQ(material.getTextureCount(), 1u);

    SharedPtr<Texture> first(new Texture2D());
    SharedPtr<Texture> second(new Texture2D());
    material.setTexture(0, first);
    material.setTexture(0, second);
    material.setTexture(2, first);
    EXPECT_EQ(material.getTexture(0), second);
    EXPECT_EQ(material.getTexture(2), first);
    EXPECT_TRUE(material.getTexture(1).isNull());
    EXPECT_EQ(material.getTextureCount(), 2u);

    SharedPtr<Velta::RenderSettings> settings(new Velta::RenderSettings());
    material.setRenderSettings(settings);
    Texture* kept = second.get();
    second.setNull();
    const Material copy(material);
    EXPECT_EQ(copy.getTexture(0).get(), kept);
    EXPECT_EQ(copy.getRenderSettings(), settings);
}

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

TEST_F(TextureProxyCopy, KnowsTheRectanglesWrittenSinceAReaderLastLookedUntilTheyAreForgotten)
{
    TextureProxy proxy(8, 8, CLEAR);
    const SharedPtr<TextureSource> source = numbered(4, 4, 1);
    const TextureProxy::Region* regions = nullptr;
    unsigned int count = 99;
    const unsigned long long start = proxy.getRevision();
    ASSERT_TRUE(proxy.getChangedRegions(start, regions, count));
    EXPECT_EQ(0u, count);

    proxy.copyRect(source, 6, 6, 0, 0, 0, 0, 4, 4, 1); // clipped to 2 × 2
    const unsigned long long first = proxy.getRevision();
    proxy.copyRect(source, 0, 0, 0, 0, 0, 0, 3, 1, 1);
    ASSERT_TRUE(proxy.getChangedRegions(start, regions, count));
    ASSERT_EQ(2u, count);
    EXPECT_EQ(6u, regions[0].x);
    EXPECT_EQ(2u, regions[0].width);
    EXPECT_EQ(2u, regions[0].height);
    EXPECT_EQ(3u, regions[1].width);
    EXPECT_TRUE(proxy.getChangedRegions(first, regions, count)) << "a later reader gets at least its part";
    EXPECT_EQ(2u, count);

    proxy.forgetChangedRegions();
    EXPECT_FALSE(proxy.getChangedRegions(start, regions, count)) << "a reader from before the forget copies all";
    EXPECT_TRUE(proxy.getChangedRegions(proxy.getRevision(), regions, count));
    EXPECT_EQ(0u, count);
    const TextureProxy other(8, 8, CLEAR);
    EXPECT_FALSE(other.getChangedRegions(proxy.getRevision(), regions, count)) << "revisions of another image";
}
