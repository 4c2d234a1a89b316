#include "SceneFixture.h"

#include "plugins/render/opengl/GLRenderContext.h"
#include "plugins/render/opengl/sdl/GLSDLRenderWindow.h"
#include "render/RenderManager.h"
#include "render/RenderTarget.h"
#include "render/Viewport.h"
#include "scene/SceneManager.h"

#include <gtest/gtest.h>

#include <string>

using namespace Velta;
using VeltaTest::Pixel;

namespace {

const Pixel BLACK{0, 0, 0, 0};

class GLWindowTest : public RenderTest::SceneFixture {
protected:
    /// A red quad filling the view of a new camera.
    CppLib::SharedPtr<Camera> redScene()
    {
        quad(-1, -1, 1, 1, -1, Color(1, 0, 0, 1));
        return camera();
    }
};

} // namespace

TEST_F(GLWindowTest, TheWindowIsClearedToBlackWhereNoViewportShowsAnything)
{
    CppLib::SharedPtr<Viewport> viewport = addViewport(redScene());
    renderFrame();
    ASSERT_TRUE(readPixel(32, 32).isNear({255, 0, 0})) << readPixel(32, 32);

    // A disabled viewport, a target without viewports, no target at all:
    // black each time.
    viewport->setEnabled(false);
    renderFrame();
    expectPixels({{32, 32, BLACK}});
    viewport->setEnabled(true);
    window().attachRenderTarget(CppLib::SharedPtr<RenderTarget>(new RenderTarget()));
    renderFrame();
    expectPixels({{32, 32, BLACK}});
    window().detachRenderTarget();
    renderFrame();
    expectPixels({{32, 32, BLACK}});
}

TEST_F(GLWindowTest, ViewportsShowingNothingOfTheirTargetAreSkippedWithOneLogLine)
{
    CppLib::SharedPtr<Camera> camera = redScene();
    CppLib::SharedPtr<Viewport> outside(new Viewport(100, 0, 64, 64));
    CppLib::SharedPtr<Viewport> empty(new Viewport(0.0f, 0.0f, 0.0f, 1.0f));
    outside->attachCamera(camera);
    empty->attachCamera(camera);
    target().attachViewport(outside);
    target().attachViewport(empty);
    const std::string log = logOfTwoFrames();
    EXPECT_EQ(lines(log), 2) << log;
    expectPixels({{32, 32, BLACK}});
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
}

TEST_F(GLWindowTest, AWindowWhoseContextALaterWindowReplacedDrawsNothingAndSaysSoOnce)
{
    RenderManager& manager = core().getRenderManager();
    ASSERT_NE(manager.createRenderWindow("second", 32, 32, false, 0, 0, nullptr), nullptr);
    EXPECT_FALSE(context().isCurrent());
    const std::string log = logOfTwoFrames();
    EXPECT_EQ(lines(log), 1) << log;

    // Once the first is gone the manager carries on with the second alone.
    EXPECT_TRUE(manager.destroyRenderWindow(window().getId()));
    renderFrame();
    EXPECT_EQ(manager.getRenderWindowCount(), 1u);
}

TEST_F(GLWindowTest, InputGrabAndCursorReportWhatTheyDid)
{
    for (bool visible : {false, true}) {
        EXPECT_TRUE(window().setCursorVisible(visible));
        EXPECT_EQ(window().isCursorVisible(), visible);
    }
    if (window().setInputGrabbed(true)) {
        EXPECT_TRUE(window().isInputGrabbed());
    }
    EXPECT_TRUE(window().setInputGrabbed(false));
    EXPECT_FALSE(window().isInputGrabbed());
    EXPECT_TRUE(window().warpPointer(10, 10));
}
