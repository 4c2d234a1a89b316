// Everything the content generator writes loads through the engine's own
// loaders, the way the game asks for it, without a single log line.
#include "ContentGenerator.h"

#include "geometry/Geometry.h"
#include "geometry/GeometryGroup.h"
#include "geometry/GeometryObject.h"
#include "geometry/GeometrySubobject.h"
#include "geometry/VertexDataSet.h"
#include "resource/Material.h"
#include "resource/ObjectManager.h"
#include "resource/ResourceManager.h"
#include "resource/TextureInfo.h"
#include "resource/TextureManager.h"
#include "resource/TextureSource.h"
#include "scene/TransformationNode.h"
#include "sound/SoundManager.h"
#include "sound/SoundSource.h"
#include "support/CoreFixture.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include <unistd.h>

namespace {

/// Sound goes to OpenAL's null device, set before anything in this process
/// opens one.
class NullAudio : public testing::Environment {
public:
    void SetUp() override
    {
        mConfig = std::filesystem::temp_directory_path() / ("velta-null-audio-" + std::to_string(getpid()) + ".conf");
        std::ofstream(mConfig) << "[general]\ndrivers = null\n";
        ::setenv("ALSOFT_CONF", mConfig.c_str(), 1);
        ::unsetenv("ALSOFT_DRIVERS");
    }
    void TearDown() override { std::filesystem::remove(mConfig); }

private:
    std::filesystem::path mConfig;
};

const testing::Environment* const gNullAudio = testing::AddGlobalTestEnvironment(new NullAudio());

/// The generated data in a fresh directory, made the working directory of
/// a core set up with its plug-ins, as the game runs.
class ContentLoadTest : public VeltaTest::SetUpCoreFixture {
protected:
    ContentLoadTest()
        : mRoot(std::filesystem::temp_directory_path() / ("velta-content-load-" + std::to_string(getpid()))),
          mOutput(mRoot.string())
    {
    }

    void SetUp() override
    {
        testing::internal::CaptureStderr();
        mWorkingDirectory = std::filesystem::current_path();
        std::filesystem::remove_all(mRoot);
        ASSERT_TRUE(VeltaTools::generateContent(mOutput));
        std::filesystem::current_path(mRoot);
        VeltaTest::SetUpCoreFixture::SetUp();
    }

    void TearDown() override
    {
        VeltaTest::SetUpCoreFixture::TearDown();
        testing::internal::GetCapturedStderr();
        std::filesystem::current_path(mWorkingDirectory);
        std::filesystem::remove_all(mRoot);
    }

    static Velta::ResourceManager& resources() { return core().getResourceManager(); }

    /// The model loads into an object with geometry, and every material of
    /// it that names an image is textured.
    static void expectModel(const std::string& name)
    {
        const std::unique_ptr<Velta::ObjectNode> node(resources().getObjectManager().createObject(name));
        const auto* object = dynamic_cast<Velta::GeometryObject*>(node.get());
        ASSERT_NE(object, nullptr);
        const auto* holder = dynamic_cast<const Velta::TransformationNode*>(object->getAttachedChild(0));
        ASSERT_NE(holder, nullptr);
        const Velta::GeometrySubobject* subobject = object->getSubobject(holder->getChild()->getNodeId());
        ASSERT_NE(subobject, nullptr);
        const CppLib::SharedPtr<Velta::Geometry> geometry = subobject->getGeometry(0);
        ASSERT_FALSE(geometry.isNull());
        EXPECT_GT(geometry->getIndexedDataSet(0)->getCount(), 0u);
        for (const Velta::GeometryGroup* group : geometry->getElementGroups()) {
            const CppLib::SharedPtr<Velta::Material> material = object->getMaterial(*subobject, group->getMaterialIndex());
            EXPECT_FALSE(material.isNull()) << "group with material " << group->getMaterialIndex();
        }
    }

    std::filesystem::path mRoot;
    VeltaTools::Output mOutput;
    std::filesystem::path mWorkingDirectory;
};

} // namespace

TEST_F(ContentLoadTest, EveryGeneratedModelImageAndSoundLoadsWithoutALogLine)
{
    ASSERT_NE(resources().getSoundManager().getSoundEngine(), nullptr) << "OpenAL's null device";
    int models = 0;
    int images = 0;
    int sounds = 0;
    for (const VeltaTools::Output::Entry& entry : mOutput.getEntries()) {
        SCOPED_TRACE(entry.path);
        const std::string::size_type slash = entry.path.find('/');
        const std::string folder = entry.path.substr(0, slash);
        const std::string name = entry.path.substr(slash + 1);
        if (folder == "models") {
            expectModel(name);
            ++models;
        } else if (folder == "textures") {
            const CppLib::SharedPtr<Velta::TextureSource> image =
                resources().getTextureManager().getTextureSource(name);
            ASSERT_FALSE(image.isNull());
            EXPECT_GT(image->getTextureInfo().getMemSize(), 0u);
            ++images;
        } else if (folder == "sound") {
            EXPECT_FALSE(resources().getSoundManager().getSoundSource(name, false, false).isNull());
            ++sounds;
        }
    }
    EXPECT_GT(models, 10);
    EXPECT_GT(images, 20);
    EXPECT_GT(sounds, 10);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    testing::internal::CaptureStderr();
}
