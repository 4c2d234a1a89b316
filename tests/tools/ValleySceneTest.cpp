// The whole valley, built from the generated models and textures the way the
// game builds its course, drawn in a real window.
#include "ContentGenerator.h"

#include "render/Viewport.h"
#include "support/RenderWindowFixture.h"
#include "support/ValleyScene.h"

#include "scene/SceneGraph.h"
#include "scene/SceneManager.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include <unistd.h>

namespace {

const std::filesystem::path gRoot =
    std::filesystem::temp_directory_path() / ("velta-valley-scene-" + std::to_string(getpid()));

class ValleyLooks : public VeltaTest::RenderWindowFixture {
protected:
    ValleyLooks() : RenderWindowFixture(128, 96) {}

    void SetUp() override
    {
        VeltaTools::Output output(gRoot.string());
        VeltaTools::generateTextures(output);
        VeltaTools::generateModels(output);
        ASSERT_TRUE(output.isOk());
        std::filesystem::current_path(gRoot);
        RenderWindowFixture::SetUp();
    }

    void TearDown() override
    {
        mValley.reset();
        RenderWindowFixture::TearDown();
        std::filesystem::current_path(mWorkingDirectory);
        std::filesystem::remove_all(gRoot);
    }

    std::filesystem::path mWorkingDirectory = std::filesystem::current_path();
    std::unique_ptr<VeltaTest::ValleyScene> mValley;
};

TEST_F(ValleyLooks, TheStartShowsTheSkyOverTheValleyWithoutALogLine)
{
    if (IsSkipped() || HasFatalFailure()) {
        return;
    }
    testing::internal::CaptureStderr();
    mValley = std::make_unique<VeltaTest::ValleyScene>(core().getSceneManager().createSceneGraph());
    addViewport(mValley->getCamera());
    for (int frame = 0; frame < 3; ++frame) {
        mValley->update(clock().getTimestamp() + 16);
        renderFrame();
    }
    const std::string log = testing::internal::GetCapturedStderr();
    EXPECT_EQ(log, "");
    EXPECT_TRUE(mValley->getMissingModels().empty());

    // The sky, unlit: light blue above the valley walls.
    const VeltaTest::Pixel sky = readPixel(60, 92);
    EXPECT_GT(sky.b, 180) << sky;
    EXPECT_GT(sky.b, sky.r + 30) << sky;
    // Everything is covered: the ground and the river reach the bottom edge.
    for (int x = 0; x < 128; x += 8) {
        EXPECT_LT(readDepth(x, 2), 1.0f) << x;
    }
}

} // namespace
