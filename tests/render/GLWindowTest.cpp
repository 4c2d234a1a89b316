#include "RenderScene.h"

#include "plugins/render/opengl/GLRenderContext.h"
#include "plugins/render/opengl/sdl/GLSDLRenderWindow.h"
#include "render/RenderManager.h"
#include "render/RenderTarget.h"
#include "render/Viewport.h"
#include "resource/RenderSettings.h"
#include "scene/SceneGraph.h"
#include "scene/SceneManager.h"
#include "support/RenderWindowFixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

using namespace Velta;
using RenderTest::SceneBuilder;
using VeltaTest::Pixel;

namespace {

const Pixel BLACK{0, 0, 0, 0};
const Pixel RED{255, 0, 0, 255};

class GLWindowTest : public VeltaTest::RenderWindowFixture {
protected:
    /// A red quad filling the view of a camera in a new scene.
    CppLib::SharedPtr<Camera> redScene(SceneBuilder& builder)
    {
        CppLib::SharedPtr<Camera> camera = builder.addCamera();
        CppLib::SharedPtr<RenderSettings> unlit(new RenderSettings());
        unlit->setUseLights(false);
        camera->getCamSettings().setRenderSettings(unlit);
        builder.addObject(RenderTest::makeQuad(-1, -1, 1, 1, -1, Color(1, 0, 0, 1)), RenderTest::makeMaterial());
        return camera;
    }

    int lines(const std::string& text) { return static_cast<int>(std::count(text.begin(), text.end(), '\n')); }
};

} // namespace

TEST_F(GLWindowTest, AnEmptyWindowIsClearedToBlackEveryFrame)
{
    EXPECT_EQ(window().getWidth(), 64);
    EXPECT_TRUE(window().isDoubleBuffered());
    EXPECT_TRUE(context().isCurrent());
    SceneBuilder builder(core().getSceneManager().createSceneGraph());
    CppLib::SharedPtr<Viewport> viewport = addViewport(redScene(builder));
    renderFrame();
    ASSERT_TRUE(readPixel(32, 32).isNear(RED)) << readPixel(32, 32);

    // A disabled viewport, a target without viewports, no target at all:
    // black each time.
    viewport->setEnabled(false);
    renderFrame();
    EXPECT_TRUE(readPixel(32, 32).isNear(BLACK)) << readPixel(32, 32);
    viewport->setEnabled(true);
    window().attachRenderTarget(CppLib::SharedPtr<RenderTarget>(new RenderTarget()));
    renderFrame();
    EXPECT_TRUE(readPixel(32, 32).isNear(BLACK)) << readPixel(32, 32);
    window().detachRenderTarget();
    renderFrame();
    EXPECT_TRUE(readPixel(32, 32).isNear(BLACK)) << readPixel(32, 32);
}

TEST_F(GLWindowTest, ViewportsShowingNothingOfTheirTargetAreSkippedWithOneLogLine)
{
    SceneBuilder builder(core().getSceneManager().createSceneGraph());
    CppLib::SharedPtr<Camera> camera = redScene(builder);
    CppLib::SharedPtr<Viewport> outside(new Viewport(100, 0, 64, 64));
    CppLib::SharedPtr<Viewport> empty(new Viewport(0.0f, 0.0f, 0.0f, 1.0f));
    outside->attachCamera(camera);
    empty->attachCamera(camera);
    target().attachViewport(outside);
    target().attachViewport(empty);
    testing::internal::CaptureStderr();
    renderFrame();
    renderFrame();
    const std::string log = testing::internal::GetCapturedStderr();
    EXPECT_EQ(lines(log), 2) << log;
    EXPECT_TRUE(readPixel(32, 32).isNear(BLACK));
}

TEST_F(GLWindowTest, WindowsThatCannotOpenAreRefusedWithOneLogLine)
{
    RenderManager& manager = core().getRenderManager();
    testing::internal::CaptureStderr();
    EXPECT_EQ(manager.createRenderWindow("flat", 64, 0, false, 0, 0, nullptr), nullptr);
    const std::string log = testing::internal::GetCapturedStderr();
    EXPECT_EQ(lines(log), 1) << log;
    EXPECT_NE(log.find("flat"), std::string::npos) << log;
    EXPECT_EQ(manager.getRenderWindowCount(), 1u);
    EXPECT_EQ(manager.getProcessList()->size(), 1u);
    EXPECT_FALSE(manager.setDefaultRenderer("software"));
    EXPECT_EQ(manager.getDefaultRenderer(), "opengl");
}

TEST_F(GLWindowTest, AWindowWhoseContextALaterWindowReplacedDrawsNothingAndSaysSoOnce)
{
    RenderManager& manager = core().getRenderManager();
    RenderWindow* second = manager.createRenderWindow("second", 32, 32, false, 0, 0, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_FALSE(context().isCurrent());
    testing::internal::CaptureStderr();
    renderFrame();
    renderFrame();
    const std::string log = testing::internal::GetCapturedStderr();
    EXPECT_EQ(lines(log), 1) << log;

    // The window that replaced it draws, and once the first is gone the
    // manager carries on with the second alone.
    EXPECT_TRUE(manager.destroyRenderWindow(window().getId()));
    renderFrame();
    EXPECT_EQ(manager.getRenderWindowCount(), 1u);
}

TEST_F(GLWindowTest, InputGrabAndCursorReportWhatTheyDid)
{
    EXPECT_TRUE(window().setCursorVisible(false));
    EXPECT_FALSE(window().isCursorVisible());
    EXPECT_TRUE(window().setCursorVisible(true));
    EXPECT_TRUE(window().isCursorVisible());
    if (window().setInputGrabbed(true)) {
        EXPECT_TRUE(window().isInputGrabbed());
    }
    EXPECT_TRUE(window().setInputGrabbed(false));
    EXPECT_FALSE(window().isInputGrabbed());
    EXPECT_TRUE(window().warpPointer(10, 10));
}
