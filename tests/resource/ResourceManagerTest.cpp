#include "resource/FileNameMapper.h"
#include "resource/NativePath.h"
#include "resource/ResourceContainer.h"
#include "resource/ResourceData.h"
#include "resource/ResourceFile.h"
#include "resource/ResourceManager.h"
#include "support/CoreFixture.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

using Velta::FileNameMapper;
using Velta::NameMapper;
using Velta::ResourceFile;

TEST(FileNameMapper, JoinsWithBackslashesAndTakesTheExtensionOfTheFileOnly)
{
    const FileNameMapper textures("textures");
    NameMapper::ResourceInfo info = textures.map("a.b/c");
    EXPECT_EQ(info.name, "a.b/c");
    EXPECT_EQ(info.fileName, "textures\\a.b\\c");
    EXPECT_EQ(info.extension, "");

    EXPECT_EQ(textures.map("x.tar.gz").extension, "gz");
    EXPECT_EQ(textures.map("noext").extension, "");
    EXPECT_EQ(textures.map("").fileName, "textures\\");
    EXPECT_EQ(textures.map("").extension, "");

    const FileNameMapper dotted(".\\models");
    EXPECT_EQ(dotted.map("sky").extension, "") << "the dot of the directory is no extension";
    EXPECT_EQ(dotted.map("grass/colour.png").fileName, ".\\models\\grass\\colour.png");
    EXPECT_EQ(dotted.map("grass/colour.png").extension, "png");
}

TEST(ResourceContainer, KeepsOneRecordPerProviderAndNeverOwnsThem)
{
    Velta::ResourceData d0(0), d1(1), d1b(1);
    Velta::ResourceContainer container;
    container.setResourceData(d0);
    container.setResourceData(d1);
    EXPECT_EQ(container.getResourceData(0), &d0);
    EXPECT_EQ(container.getResourceData(1), &d1);
    EXPECT_EQ(container.getResourceData(2), nullptr);

    container.setResourceData(d1b);
    EXPECT_EQ(container.getResourceData(1), &d1b);
    container.unsetResourceData(0);
    EXPECT_EQ(container.getResourceData(0), nullptr);
    EXPECT_EQ(container.getResourceData(1), &d1b);
    container.unsetResourceData(7);
}

using ResourceManagerTest = VeltaTest::CoreFixture;

TEST_F(ResourceManagerTest, ProviderIdsStartAtZeroAndAreNotReused)
{
    Velta::ResourceManager& resources = core().getResourceManager();
    EXPECT_EQ(resources.createResourceProviderId(), 0u);
    resources.returnResourceProviderId(0);
    EXPECT_EQ(resources.createResourceProviderId(), 1u);
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

TEST_F(DataDirectory, ResourcePathsKeepBackslashesUntilAFileIsOpened)
{
    const FileNameMapper textures(std::string(".") + '\\' + "textures");
    const std::string fileName = textures.map("overlays/go.png").fileName;
    EXPECT_EQ(fileName, ".\\textures\\overlays\\go.png");
    EXPECT_EQ(Velta::NativePath::fromResourcePath(fileName), "./textures/overlays/go.png");

    std::vector<unsigned char> bytes;
    ASSERT_TRUE(ResourceFile::readAll(fileName, bytes));
    EXPECT_EQ(bytes, (std::vector<unsigned char>{'G', 'O', 0, '!'}));
    EXPECT_TRUE(ResourceFile::exists(fileName));
}

TEST_F(DataDirectory, MissingFilesAndDirectoriesReadAsFailures)
{
    std::vector<unsigned char> bytes{1, 2, 3};
    EXPECT_FALSE(ResourceFile::readAll(".\\textures\\missing.png", bytes));
    EXPECT_TRUE(bytes.empty());
    EXPECT_FALSE(ResourceFile::readAll(".\\textures\\overlays", bytes)) << "a directory is not a file";
    EXPECT_FALSE(ResourceFile::exists(".\\textures"));
    EXPECT_FALSE(ResourceFile::readAll("", bytes));
}
