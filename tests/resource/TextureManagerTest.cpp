#include "cpplib/CowMemPtr.h"
#include "resource/FileNameMapper.h"
#include "resource/TextureData.h"
#include "resource/TextureManager.h"
#include "resource/TextureSourceLoader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using CppLib::SharedPtr;
using Velta::NameMapper;
using Velta::TextureInfo;
using Velta::TextureManager;
using Velta::TextureSource;

namespace {

SharedPtr<TextureSource> image()
{
    return SharedPtr<TextureSource>(new Velta::TextureData(TextureInfo(), CppLib::CowMemPtr<void>()));
}

/// Answers what the test sets and records what it was asked.
class FakeLoader : public Velta::TextureSourceLoader {
public:
    explicit FakeLoader(bool willing, SharedPtr<TextureSource> answer = {}) : willing(willing), answer(answer) {}

    bool isInitialized() const override { return initializeCalls > 0; }
    bool initialize() override { return ++initializeCalls > 0; }
    bool shutdown() override { return true; }
    bool canLoad(const NameMapper::ResourceInfo&, const TextureInfo&) const override { return false; }
    bool canLoad(const NameMapper::ResourceInfo&) const override { return willing; }
    bool canConvert(const TextureInfo&, bool) const override { return false; }
    SharedPtr<TextureSource> load(const NameMapper::ResourceInfo&, const TextureInfo&) override { return {}; }
    SharedPtr<TextureSource> load(const NameMapper::ResourceInfo& info) override
    {
        loaded.push_back(info.fileName);
        return answer;
    }
    SharedPtr<TextureSource> convert(const SharedPtr<TextureSource>&, const TextureInfo&, bool) override { return answer; }

    bool willing;
    SharedPtr<TextureSource> answer;
    int initializeCalls = 0;
    std::vector<std::string> loaded;
};

SharedPtr<NameMapper> folder(const std::string& name)
{
    return SharedPtr<NameMapper>(new Velta::FileNameMapper(name));
}

} // namespace

TEST(TextureManager, TheFirstWillingLoadersAnswerIsCachedEvenWhenEmpty)
{
    TextureManager textures;
    textures.setTextureSourceNameMapper(folder("textures"));
    FakeLoader unwilling(false, image());
    FakeLoader failing(true);
    FakeLoader later(true, image());
    EXPECT_EQ(0u, textures.registerTextureSourceLoader(unwilling));
    EXPECT_EQ(1u, textures.registerTextureSourceLoader(failing));
    EXPECT_EQ(2u, textures.registerTextureSourceLoader(later));
    EXPECT_EQ(1, failing.initializeCalls);
    textures.registerTextureSourceLoader(failing);
    EXPECT_EQ(1, failing.initializeCalls) << "an initialised loader is not initialised again";

    EXPECT_TRUE(textures.getTextureSource("grass/a.png").isNull());
    EXPECT_TRUE(textures.getTextureSource("grass/a.png").isNull());
    EXPECT_EQ(std::vector<std::string>{"textures\\grass\\a.png"}, failing.loaded) << "asked once";
    EXPECT_TRUE(later.loaded.empty()) << "not asked after the willing one failed";

    failing.answer = image();
    const SharedPtr<TextureSource> first = textures.getTextureSource("b.png");
    ASSERT_FALSE(first.isNull());
    EXPECT_EQ(first.get(), textures.getTextureSource("b.png").get());
    EXPECT_EQ(2u, failing.loaded.size());
}

TEST(TextureManager, NothingIsCachedWithoutAMapperOrAWillingLoader)
{
    TextureManager textures;
    FakeLoader unwilling(false, image());
    textures.registerTextureSourceLoader(unwilling);
    EXPECT_TRUE(textures.getTextureSource("a.png").isNull());
    textures.setTextureSourceNameMapper(folder("textures"));
    EXPECT_TRUE(textures.getTextureSource("a.png").isNull());

    FakeLoader willing(true, image());
    textures.registerTextureSourceLoader(willing);
    EXPECT_FALSE(textures.getTextureSource("a.png").isNull());
}
