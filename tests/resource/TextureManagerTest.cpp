#include "cpplib/CowMemPtr.h"
#include "resource/FileNameMapper.h"
#include "resource/Texture2D.h"
#include "resource/TextureData.h"
#include "resource/TextureLoader.h"
#include "resource/TextureManager.h"
#include "resource/TextureSourceLoader.h"
#include "support/CoreFixture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using CppLib::SharedPtr;
using Velta::Color;
using Velta::DataType;
using Velta::NameMapper;
using Velta::TextureInfo;
using Velta::TextureManager;
using Velta::TextureSource;

namespace {

SharedPtr<TextureSource> image()
{
    const TextureInfo info(1, 1, 1, Color::RGBA, DataType::UNSIGNED_BYTE);
    CppLib::CowMemPtr<void> pixels;
    pixels.alloc(4);
    return SharedPtr<TextureSource>(new Velta::TextureData(info, pixels));
}

/// A source loader that answers what the test sets and records what it
/// was asked.
class FakeSourceLoader : public Velta::TextureSourceLoader {
public:
    explicit FakeSourceLoader(bool willing, SharedPtr<TextureSource> answer = {})
        : mWilling(willing), mAnswer(answer)
    {
    }

    bool isInitialized() const override { return mInitialized; }
    bool initialize() override
    {
        ++mInitializeCalls;
        mInitialized = true;
        return true;
    }
    bool shutdown() override { return true; }
    bool canLoad(const NameMapper::ResourceInfo&, const TextureInfo&) const override { return mWilling; }
    bool canLoad(const NameMapper::ResourceInfo&) const override { return mWilling; }
    bool canConvert(const TextureInfo&, bool flag) const override { return mWilling && flag; }
    SharedPtr<TextureSource> load(const NameMapper::ResourceInfo& info, const TextureInfo&) override
    {
        mLoaded.push_back(info.fileName);
        return mAnswer;
    }
    SharedPtr<TextureSource> load(const NameMapper::ResourceInfo& info) override
    {
        mLoaded.push_back(info.fileName);
        return mAnswer;
    }
    SharedPtr<TextureSource> convert(const SharedPtr<TextureSource>&, const TextureInfo&, bool) override
    {
        ++mConverted;
        return mAnswer;
    }

    bool mWilling;
    SharedPtr<TextureSource> mAnswer;
    bool mInitialized = false;
    int mInitializeCalls = 0;
    int mConverted = 0;
    std::vector<std::string> mLoaded;
};

/// Loads every 2D texture asked for, a new one each time.
class FakeTextureLoader : public Velta::TextureLoader {
public:
    bool isInitialized() const override { return true; }
    bool initialize() override { return true; }
    bool shutdown() override { return true; }
    bool canLoadTexture1D(const NameMapper::ResourceInfo&) const override { return false; }
    bool canLoadTexture2D(const NameMapper::ResourceInfo&) const override { return true; }
    bool canLoadTexture3D(const NameMapper::ResourceInfo&) const override { return false; }
    bool canLoadCubeMap(const NameMapper::ResourceInfo&) const override { return false; }
    SharedPtr<Velta::Texture1D> loadTexture1D(const NameMapper::ResourceInfo&) override { return {}; }
    SharedPtr<Velta::Texture2D> loadTexture2D(const NameMapper::ResourceInfo&) override
    {
        ++mLoads;
        return SharedPtr<Velta::Texture2D>(new Velta::Texture2D());
    }
    SharedPtr<Velta::Texture3D> loadTexture3D(const NameMapper::ResourceInfo&) override { return {}; }
    SharedPtr<Velta::CubeMap> loadCubeMap(const NameMapper::ResourceInfo&) override { return {}; }

    int mLoads = 0;
};

SharedPtr<NameMapper> folder(const std::string& name)
{
    return SharedPtr<NameMapper>(new Velta::FileNameMapper(name));
}

} // namespace

TEST(TextureManager, RegisteringInitialisesOnlyLoadersThatAreNotYetAndAnswersTheirPositions)
{
    TextureManager textures;
    FakeSourceLoader fresh(true);
    FakeSourceLoader ready(true);
    ready.mInitialized = true;
    EXPECT_EQ(0u, textures.registerTextureSourceLoader(fresh));
    EXPECT_EQ(1u, textures.registerTextureSourceLoader(ready));
    EXPECT_EQ(1, fresh.mInitializeCalls);
    EXPECT_EQ(0, ready.mInitializeCalls);
    EXPECT_EQ(2u, textures.getTextureSourceLoaders().getSize());
}

TEST(TextureManager, TheFirstWillingLoadersAnswerIsCachedEvenWhenEmpty)
{
    TextureManager textures;
    textures.setTextureSourceNameMapper(folder("textures"));
    FakeSourceLoader unwilling(false, image());
    FakeSourceLoader failing(true);
    FakeSourceLoader later(true, image());
    textures.registerTextureSourceLoader(unwilling);
    textures.registerTextureSourceLoader(failing);
    textures.registerTextureSourceLoader(later);

    EXPECT_TRUE(textures.getTextureSource("grass/a.png").isNull());
    EXPECT_TRUE(textures.getTextureSource("grass/a.png").isNull());
    EXPECT_EQ(std::vector<std::string>{"textures\\grass\\a.png"}, failing.mLoaded) << "asked once";
    EXPECT_TRUE(later.mLoaded.empty()) << "not asked after the willing one failed";

    failing.mAnswer = image();
    const SharedPtr<TextureSource> first = textures.getTextureSource("b.png");
    ASSERT_FALSE(first.isNull());
    EXPECT_EQ(first.get(), textures.getTextureSource("b.png").get());
    EXPECT_EQ(2u, failing.mLoaded.size());
}

TEST(TextureManager, NothingIsCachedWithoutAMapperOrAWillingLoader)
{
    TextureManager textures;
    FakeSourceLoader unwilling(false, image());
    textures.registerTextureSourceLoader(unwilling);
    EXPECT_TRUE(textures.getTextureSource("a.png").isNull());

    textures.setTextureSourceNameMapper(folder("textures"));
    EXPECT_TRUE(textures.getTextureSource("a.png").isNull());

    FakeSourceLoader willing(true, image());
    textures.registerTextureSourceLoader(willing);
    EXPECT_FALSE(textures.getTextureSource("a.png").isNull());
}

TEST(TextureManager, LoadingInAWantedLayoutBypassesTheCache)
{
    TextureManager textures;
    textures.setTextureSourceNameMapper(folder("textures"));
    FakeSourceLoader loader(true, image());
    textures.registerTextureSourceLoader(loader);
    const TextureInfo wanted(1, 1, 1, Color::RGB, DataType::UNSIGNED_BYTE);

    const SharedPtr<TextureSource> cached = textures.getTextureSource("a.png");
    loader.mAnswer = image();
    const SharedPtr<TextureSource> fresh = textures.getTextureSource("a.png", wanted);
    EXPECT_NE(cached.get(), fresh.get());
    EXPECT_EQ(cached.get(), textures.getTextureSource("a.png").get());
    EXPECT_EQ(2u, loader.mLoaded.size());
}

TEST(TextureManager, ProxiesComeFromTheFirstLoaderWillingToConvert)
{
    TextureManager textures;
    const TextureInfo wanted(1, 1, 1, Color::RGB, DataType::UNSIGNED_BYTE);
    FakeSourceLoader loader(true, image());
    textures.registerTextureSourceLoader(loader);
    EXPECT_TRUE(textures.getTextureProxy(image(), wanted, false).isNull()) << "the flag reaches the loader";
    EXPECT_EQ(loader.mAnswer.get(), textures.getTextureProxy(image(), wanted, true).get());
    EXPECT_EQ(1, loader.mConverted);
}

// Textures take their ids from the core's texture manager.
using TextureManagerInCore = VeltaTest::CoreFixture;

TEST_F(TextureManagerInCore, TexturesAreFoundWhenRegisteredOrLoadedOnceThroughTheTextureMapper)
{
    TextureManager textures;
    const SharedPtr<Velta::Texture2D> sky(new Velta::Texture2D());
    textures.registerTexture2D("sky", sky);
    EXPECT_EQ(sky.get(), textures.getTexture2D("sky").get());
    EXPECT_TRUE(textures.getTexture2D("sea").isNull()) << "no texture mapper";
    EXPECT_TRUE(textures.getTexture1D("sky").isNull());

    FakeTextureLoader loader;
    textures.registerTextureLoader(loader);
    textures.setTextureNameMapper(folder("textures"));
    const SharedPtr<Velta::Texture2D> sea = textures.getTexture2D("sea");
    ASSERT_FALSE(sea.isNull());
    EXPECT_EQ(sea.get(), textures.getTexture2D("sea").get());
    EXPECT_EQ(1, loader.mLoads);
    EXPECT_TRUE(textures.getTexture3D("sea").isNull());
    EXPECT_TRUE(textures.getCubeMap("sea").isNull());
}
