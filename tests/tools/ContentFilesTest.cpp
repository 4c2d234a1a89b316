#include "ContentGenerator.h"
#include "ImageFile.h"

#include <IL/il.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <set>
#include <string>

#include <unistd.h>

using namespace VeltaTools;

namespace {

/// An empty directory of this process (ctest runs tests in parallel processes).
std::string freshDirectory(const std::string& name)
{
    const std::string path = testing::TempDir() + name + "_" + std::to_string(getpid());
    std::filesystem::remove_all(path);
    return path;
}

/// Generates everything once into a fresh directory.
class GeneratedContent {
public:
    explicit GeneratedContent(const std::string& name) : mRoot(freshDirectory(name)), mOutput(mRoot)
    {
        mOk = generateContent(mOutput);
    }
    ~GeneratedContent() { std::filesystem::remove_all(mRoot); }

    bool isOk() const { return mOk; }
    const Output& output() const { return mOutput; }
    std::string path(const std::string& relative) const { return mOutput.fullPath(relative); }

private:
    std::string mRoot;
    Output mOutput;
    bool mOk = false;
};

} // namespace

TEST(ContentFiles, EveryFileTheGameOpensIsGeneratedAndGenerationIsRepeatable)
{
    GeneratedContent first("content_first");
    GeneratedContent second("content_second");
    ASSERT_TRUE(first.isOk());
    ASSERT_TRUE(second.isOk());

    std::map<std::string, std::size_t> written;
    for (const Output::Entry& entry : first.output().getEntries()) {
        written[entry.path] = entry.size;
    }
    const std::set<std::string> expected = {
        "models/sky.ms3d", "models/finishhouse.ms3d", "models/bumper.ms3d", "models/banner.ms3d",
        "models/finishbanner.ms3d", "models/traffic.ms3d", "models/catchmesh.ms3d", "models/stone1.ms3d",
        "models/medicare.ms3d", "models/oxygen.ms3d", "models/banana.ms3d", "models/pulso.ms3d",
        "models/mallard.ms3d", "models/rallye.ms3d", "models/rallye2.ms3d", "models/meister.ms3d",
        "models/velta.ms3d",
        "textures/heightmap.pcx", "textures/primcolor.png", "textures/rockscolor.png", "textures/grasscolor.png",
        "textures/grassalpha.png", "textures/rivercolor.png", "textures/riveralpha.png", "textures/empty.png",
        "textures/overlays/tacho.png", "textures/overlays/tachotext.png", "textures/overlays/speedbar.png",
        "textures/overlays/time.png", "textures/overlays/panel.png", "textures/overlays/item.png",
        "textures/overlays/panelmask.png", "textures/overlays/ready.png", "textures/overlays/go.png",
        "textures/overlays/yes.png", "textures/overlays/gameover.png", "textures/text/CharMap.png",
        "textures/icons/medicare.png", "textures/icons/oxygen.png", "textures/icons/banana.png",
        "textures/icons/pulso.png", "textures/text/medicare.png", "textures/text/oxygen.png",
        "textures/text/banana.png", "textures/text/pulso.png", "textures/particles/krankheit.png",
        "textures/particles/smoke.png",
        "sound/bgwater.mp3", "sound/music.mp3", "sound/additem.mp3", "sound/splash.mp3", "sound/sprite.mp3",
        "sound/click.mp3", "sound/hitterrain.mp3", "sound/hitterrainlow.mp3", "sound/gibtsfragen.mp3",
        "sound/gulp.mp3", "sound/breathe.mp3", "sound/eatloud.mp3", "sound/pulso.mp3", "sound/finish.mp3",
        "sound/loose.mp3",
    };
    for (const std::string& file : expected) {
        const auto found = written.find(file);
        ASSERT_NE(found, written.end()) << file;
        EXPECT_GT(found->second, 0u) << file;
    }

    ASSERT_EQ(first.output().getEntries().size(), second.output().getEntries().size());
    for (const Output::Entry& entry : first.output().getEntries()) {
        EXPECT_EQ(readFileBytes(first.path(entry.path)), readFileBytes(second.path(entry.path))) << entry.path;
    }

    // The head-up display copies glyphs only between images of the same
    // layout as its RGBA proxies, so the sheet must load as 8-bit RGBA.
    ilInit();
    ILuint image = 0;
    ilGenImages(1, &image);
    ilBindImage(image);
    ASSERT_TRUE(ilLoadImage(first.path("textures/text/CharMap.png").c_str()));
    EXPECT_EQ(ilGetInteger(IL_IMAGE_FORMAT), IL_RGBA);
    EXPECT_EQ(ilGetInteger(IL_IMAGE_TYPE), IL_UNSIGNED_BYTE);
    ilDeleteImages(1, &image);
}
