#include "TestImages.h"

#include "resource/FileNameMapper.h"
#include "resource/NativePath.h"
#include "resource/ResourceContainer.h"
#include "resource/ResourceData.h"
#include "resource/ResourceFile.h"
#include "resource/TextureManager.h"
#include "resource/TextureSourceLoader.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

using CppLib::SharedPtr;
using Velta::FileNameMapper;
using Velta::NameMapper;
using Velta::ResourceFile;
using Velta::TextureInfo;
using Velta::TextureManager;
using Velta::TextureSource;

TEST(FileNameMapper, JoinsWithBackslashesAndTakesTheExtensionOfTheFileOnly)
{
    const FileNameMapper textures("textures");
    const NameMapper::ResourceInfo info = textures.map("a.b/c");
    EXPECT_EQ(info.fileName, "textures\\a.b\\c");
    EXPECT_EQ(info.extension, "") << "the dot of a directory is no extension";

    EXPECT_EQ(textures.map("x.tar.gz").extension, "gz");
    EXPECT_EQ(textures.map("noext").extension, "");
    EXPECT_EQ(textures.map("").fileName, "textures\\");
    EXPECT_EQ(textures.map("").extension, "");

    const FileNameMapper dotted(".\\models");
    EXPECT_EQ(dotted.map("sky").extension, "");
    EXPECT_EQ(dotted.map("grass/colour.png").fileName, ".\\models\\grass\\colour.png");
    EXPECT_EQ(dotted.map("grass/colour.png").extension, "png");
}

TEST(ResourceContainer, KeepsOneRecordPerProviderAndNeverOwnsThem)
{
    Velta::ResourceData d0(0), d1(1), d1b(1);
    Velta::ResourceContainer container;
    container.setResourceData(d0);
    container.setResourceData(d1);
    container.setResourceData(d1b);
    EXPECT_EQ(container.getResourceData(0), &d0);
    EXPECT_EQ(container.getResourceData(1), &d1b);
    EXPECT_EQ(container.getResourceData(2), nullptr);
    container.unsetResourceData(0);
    EXPECT_EQ(container.getResourceData(0), nullptr);
    EXPECT_EQ(container.getResourceData(1), &d1b);
    container.unsetResourceData(7);
    EXPECT_EQ(d0.getContainer(), nullptr) << "let go of";
    EXPECT_EQ(d1.getContainer(), nullptr) << "replaced";
    EXPECT_EQ(d1b.getContainer(), &container);
}

TEST(ResourceContainer, AResourceAndItsRecordMayGoInEitherOrder)
{
    Velta::ResourceData outliving(0);
    {
        Velta::ResourceContainer container;
        container.setResourceData(outliving);
    }
    EXPECT_EQ(outliving.getContainer(), nullptr) << "told that its resource is gone";

    Velta::ResourceContainer container;
    {
        Velta::ResourceData shortLived(3);
        container.setResourceData(shortLived);
    }
    EXPECT_EQ(container.getResourceData(3), nullptr) << "a record that goes first detaches itself";
}

namespace {

/// A scratch working directory with the game's data layout, removed afterwards.
class DataDirectory : public testing::Test {
protected:
    void SetUp() override
    {
        mRoot = std::filesystem::temp_directory_path() / ("velta-resource-test-" + std::to_string(getpid()));
        std::filesystem::create_directories(mRoot / "textures" / "overlays");
        std::ofstream(mRoot / "textures" / "overlays" / "go.png", std::ios::binary) << std::string("GO\0!", 4);
        mPrevious = std::filesystem::current_path();
        std::filesystem::current_path(mRoot);
    }

    void TearDown() override
    {
        std::filesystem::current_path(mPrevious);
        std::filesystem::remove_all(mRoot);
    }

    std::filesystem::path mRoot;
    std::filesystem::path mPrevious;
};

} // namespace

TEST_F(DataDirectory, ResourcePathsKeepBackslashesUntilAFileIsOpenedAndMissingFilesReadAsFailures)
{
    const std::string fileName = FileNameMapper(".\\textures").map("overlays/go.png").fileName;
    EXPECT_EQ(Velta::NativePath::fromResourcePath(fileName), "./textures/overlays/go.png");
    std::vector<unsigned char> bytes;
    ASSERT_TRUE(ResourceFile::readAll(fileName, bytes));
    EXPECT_EQ(bytes, (std::vector<unsigned char>{'G', 'O', 0, '!'}));
    EXPECT_TRUE(ResourceFile::exists(fileName));

    EXPECT_FALSE(ResourceFile::readAll(".\\textures\\missing.png", bytes));
    EXPECT_TRUE(bytes.empty());
    EXPECT_FALSE(ResourceFile::readAll(".\\textures\\overlays", bytes)) << "a directory is not a file";
    EXPECT_FALSE(ResourceFile::exists(".\\textures"));
    EXPECT_FALSE(ResourceFile::readAll("", bytes));
}

namespace {

SharedPtr<TextureSource> image()
{
    return ResourceTest::image(1, 1, Velta::Color::LUMINANCE, {0});
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

TEST(TextureManager, TheFirstWillingLoadersAnswerIsCachedEvenWhenEmptyAndNothingWithoutOne)
{
    TextureManager textures;
    FakeLoader unwilling(false, image());
    FakeLoader failing(true);
    FakeLoader later(true, image());
    EXPECT_EQ(0u, textures.registerTextureSourceLoader(unwilling));
    EXPECT_TRUE(textures.getTextureSource("grass/a.png").isNull()) << "no mapper";
    textures.setTextureSourceNameMapper(folder("textures"));
    EXPECT_TRUE(textures.getTextureSource("grass/a.png").isNull()) << "no willing loader";

    EXPECT_EQ(1u, textures.registerTextureSourceLoader(failing));
    EXPECT_EQ(2u, textures.registerTextureSourceLoader(later));
    EXPECT_EQ(1, failing.initializeCalls);
    textures.registerTextureSourceLoader(failing);
    EXPECT_EQ(1, failing.initializeCalls) << "an initialised loader is not initialised again";

    EXPECT_TRUE(textures.getTextureSource("grass/a.png").isNull());
    EXPECT_TRUE(textures.getTextureSource("grass/a.png").isNull());
    EXPECT_EQ(std::vector<std::string>{"textures\\grass\\a.png"}, failing.loaded)
        << "asked once: nothing was kept while no loader was willing";
    EXPECT_TRUE(later.loaded.empty()) << "not asked after the willing one failed";

    failing.answer = image();
    const SharedPtr<TextureSource> first = textures.getTextureSource("b.png");
    ASSERT_FALSE(first.isNull());
    EXPECT_EQ(first.get(), textures.getTextureSource("b.png").get());
    EXPECT_EQ(2u, failing.loaded.size());
}
