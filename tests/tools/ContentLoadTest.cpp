// Everything the game opens is generated, the same every time, and loads
// through the engine's own loaders the way the game asks for it, without a
// single log line.
#include "ContentGenerator.h"
#include "ImageFile.h"

#include "geometry/Geometry.h"
#include "geometry/GeometryObject.h"
#include "geometry/GeometrySubobject.h"
#include "geometry/VertexDataSet.h"
#include "resource/ObjectManager.h"
#include "resource/ResourceManager.h"
#include "resource/TextureManager.h"
#include "resource/TextureSource.h"
#include "scene/TransformationNode.h"
#include "sound/SoundManager.h"
#include "sound/SoundSource.h"
#include "support/CoreFixture.h"

#include <IL/il.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>

#include <unistd.h>

namespace {

const std::filesystem::path gRoot =
    std::filesystem::temp_directory_path() / ("velta-content-load-" + std::to_string(getpid()));

/// Sound goes to OpenAL's null device, set before anything in this process
/// opens one.
class NullAudio : public testing::Environment {
public:
    void SetUp() override
    {
        std::filesystem::create_directories(gRoot);
        std::ofstream(gRoot / "alsoft.conf") << "[general]\ndrivers = null\n";
        ::setenv("ALSOFT_CONF", (gRoot / "alsoft.conf").c_str(), 1);
        ::unsetenv("ALSOFT_DRIVERS");
    }
    void TearDown() override { std::filesystem::remove_all(gRoot); }
};

const testing::Environment* const gNullAudio = testing::AddGlobalTestEnvironment(new NullAudio());

/// A core set up with its plug-ins in the generated data's directory, as the
/// game runs.
class ContentLoadTest : public VeltaTest::SetUpCoreFixture {
protected:
    void SetUp() override
    {
        testing::internal::CaptureStderr();
        ASSERT_TRUE(VeltaTools::generateContent(mOutput));
        std::filesystem::current_path(gRoot);
        SetUpCoreFixture::SetUp();
    }

    void TearDown() override
    {
        SetUpCoreFixture::TearDown();
        testing::internal::GetCapturedStderr();
        std::filesystem::current_path(mWorkingDirectory);
    }

    static Velta::ResourceManager& resources() { return core().getResourceManager(); }

    std::filesystem::path mWorkingDirectory = std::filesystem::current_path();
    VeltaTools::Output mOutput{gRoot.string()};
};

} // namespace

TEST_F(ContentLoadTest, EveryGeneratedModelImageAndSoundLoadsWithoutALogLine)
{
    ASSERT_NE(resources().getSoundManager().getSoundEngine(), nullptr) << "OpenAL's null device";
    for (const VeltaTools::Output::Entry& entry : mOutput.getEntries()) {
        SCOPED_TRACE(entry.path);
        const std::string folder = entry.path.substr(0, entry.path.find('/'));
        const std::string name = entry.path.substr(folder.size() + 1);
        if (folder == "models") {
            const std::unique_ptr<Velta::ObjectNode> node(resources().getObjectManager().createObject(name));
            const auto* object = dynamic_cast<Velta::GeometryObject*>(node.get());
            ASSERT_NE(object, nullptr);
            const auto* holder = dynamic_cast<Velta::TransformationNode*>(object->getAttachedChild(0));
            const auto* subobject = object->getSubobject(holder->getChild()->getNodeId());
            EXPECT_GT(subobject->getGeometry(0)->getIndexedDataSet(0)->getCount(), 0u);
        } else if (folder == "textures") {
            const auto image = resources().getTextureManager().getTextureSource(name);
            ASSERT_FALSE(image.isNull());
            EXPECT_GT(image->getTextureInfo().getMemSize(), 0u);
        } else if (folder == "sound") {
            EXPECT_FALSE(resources().getSoundManager().getSoundSource(name, false, false).isNull());
        }
    }
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    testing::internal::CaptureStderr();
}

// Also shows that the loading test above has every file to load.
TEST_F(ContentLoadTest, EveryFileTheGameOpensIsGeneratedAndGenerationIsRepeatable)
{
    std::map<std::string, std::size_t> written;
    for (const VeltaTools::Output::Entry& entry : mOutput.getEntries()) {
        written[entry.path] = entry.size;
    }
    const std::pair<const char*, const char*> expected[] = {
        {"models/%.ms3d", "sky finishhouse bumper banner finishbanner traffic catchmesh stone1 medicare oxygen "
                          "banana pulso mallard rallye rallye2 meister velta"},
        {"textures/%.png", "primcolor rockscolor grasscolor grassalpha rivercolor riveralpha empty"},
        {"textures/%.pcx", "heightmap"},
        {"textures/overlays/%.png", "tacho tachotext speedbar time panel item panelmask ready go yes gameover"},
        {"textures/text/%.png", "CharMap medicare oxygen banana pulso"},
        {"textures/icons/%.png", "medicare oxygen banana pulso"},
        {"textures/particles/%.png", "krankheit smoke"},
        {"sound/%.mp3", "bgwater music additem splash sprite click hitterrain hitterrainlow gibtsfragen gulp "
                        "breathe eatloud pulso finish loose"},
    };
    for (const auto& [pattern, names] : expected) {
        std::istringstream list(names);
        for (std::string name; list >> name;) {
            std::string file = pattern;
            file.replace(file.find('%'), 1, name);
            const auto found = written.find(file);
            ASSERT_NE(found, written.end()) << file;
            EXPECT_GT(found->second, 0u) << file;
        }
    }

    VeltaTools::Output again((gRoot / "again").string());
    ASSERT_TRUE(VeltaTools::generateContent(again));
    ASSERT_EQ(again.getEntries().size(), mOutput.getEntries().size());
    for (const VeltaTools::Output::Entry& entry : mOutput.getEntries()) {
        EXPECT_EQ(VeltaTools::readFileBytes(mOutput.fullPath(entry.path)),
                  VeltaTools::readFileBytes(again.fullPath(entry.path)))
            << entry.path;
    }

    // The head-up display copies glyphs only between images of the same
    // layout as its RGBA proxies, so the sheet must load as 8-bit RGBA.
    ilInit();
    ILuint image = 0;
    ilGenImages(1, &image);
    ilBindImage(image);
    ASSERT_TRUE(ilLoadImage(mOutput.fullPath("textures/text/CharMap.png").c_str()));
    EXPECT_EQ(ilGetInteger(IL_IMAGE_FORMAT), IL_RGBA);
    EXPECT_EQ(ilGetInteger(IL_IMAGE_TYPE), IL_UNSIGNED_BYTE);
    ilDeleteImages(1, &image);
}
