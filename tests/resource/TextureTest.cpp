#include "TestImages.h"

#include "resource/Material.h"
#include "resource/RenderSettings.h"
#include "resource/Texture2D.h"
#include "resource/Texture3D.h"
#include "support/ClockedCoreFixture.h"

#include <gtest/gtest.h>

using CppLib::SharedPtr;
using Velta::Color;
using Velta::DataType;
using Velta::Material;
using Velta::Texture;
using Velta::Texture2D;
using Velta::TextureInfo;
using Velta::TextureSource;

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

SharedPtr<TextureSource> image(unsigned int w, unsigned int h)
{
    return ResourceTest::image(w, h, Color::RGBA, ResourceTest::Bytes(w * h * 4));
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
    SharedPtr<Texture> kept(new Texture2D(image(2, 2)));
    core().shutdown();
    kept.setNull();
    SUCCEED();
}

TEST_F(TextureTest, AReplacedImageOrOneThatChangesItselfIsUploadedAgain)
{
    Texture2D replaced(image(4, 4));
    EXPECT_TRUE(replaced.hasChanged(0)) << "an image from the constructor counts as set at time 0";
    EXPECT_FALSE(replaced.hasChanged(1));
    auto* editable = new EditableImage(TextureInfo(2, 2, 1, Color::RGBA, DataType::UNSIGNED_BYTE));
    Texture2D edited(SharedPtr<TextureSource>(static_cast<TextureSource*>(editable)));

    Binder replacedBinder, editedBinder;
    int replacedUploads = 0, editedUploads = 0;
    for (int frame = 0; frame < 6; ++frame) {
        mClock.advance(16);
        if (frame == 3) {
            replaced.setTextureSource(image(8, 8));
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
    Texture2D texture(image(256, 256));
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
