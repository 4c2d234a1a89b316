#pragma once

#include "cpplib/SharedPtr.h"
#include "support/CoreFixture.h"
#include "testkit/ManualClock.h"

#include <gtest/gtest.h>

#include <vector>

namespace Velta {
class GLRenderContext;
class GLSDLRenderWindow;
class RenderTarget;
class Viewport;
class Camera;
} // namespace Velta

namespace VeltaTest {

/// One pixel read back from a window: red, green, blue, alpha, 0 … 255.
struct Pixel {
    int r = 0;
    int g = 0;
    int b = 0;
    int a = 0;

    /// Whether every colour component is within `tolerance` of `other`'s
    /// (alpha is not compared).
    bool isNear(const Pixel& other, int tolerance = 3) const;
};

std::ostream& operator<<(std::ostream& out, const Pixel& pixel);

/// A real OpenGL window, opened through the render manager on the virtual
/// display, and a set-up core around it whose clock the test drives.
///
/// SetUp starts the core (with a ManualClock as its timestamp source),
/// installs the plug-ins, initialises the renderer, opens a windowed
/// `width` × `height` window named "test" and attaches an empty render
/// target. Tests add viewports with cameras, build scenes, call
/// renderFrame() and read what was drawn with readPixel(). Skips when no
/// display can be had; fails when the window does not open. Mesa's software
/// renderer is used unless LIBGL_ALWAYS_SOFTWARE says otherwise.
///
///     class WaterLooks : public VeltaTest::RenderWindowFixture {};
///     TEST_F(WaterLooks, Blue)
///     {
///         Velta::SceneGraph& scene = core().getSceneManager().createSceneGraph();
///         ... attach a camera and the water to scene.getRoot() ...
///         addViewport(camera);
///         renderFrame();
///         EXPECT_TRUE(readPixel(32, 32).isNear({13, 64, 102}));
///     }
class RenderWindowFixture : public CoreFixture {
protected:
    explicit RenderWindowFixture(int width = 64, int height = 64);

    void SetUp() override;
    void TearDown() override;

    int getWindowWidth() const { return mWidth; }
    int getWindowHeight() const { return mHeight; }

    Velta::GLSDLRenderWindow& window() const { return *mWindow; }
    Velta::GLRenderContext& context() const;
    Velta::RenderTarget& target() const { return *mTarget; }
    ManualClock& clock() { return mClock; }

    /// Appends a viewport over the whole window that shows `camera`.
    CppLib::SharedPtr<Velta::Viewport> addViewport(const CppLib::SharedPtr<Velta::Camera>& camera);

    /// One engine frame (ProcessManager::update: input, logic, scene update,
    /// sound, rendering), after advancing the clock by `milliseconds`.
    void renderFrame(long long milliseconds = 16);

    /// A pixel of the frame drawn last; (0, 0) is the lower left corner.
    /// Read from the back buffer, which the software renderer keeps as drawn
    /// when it shows a frame.
    Pixel readPixel(int x, int y) const;

    /// The depth buffer's value at a pixel (0 near … 1 far; 1 where nothing
    /// was drawn).
    float readDepth(int x, int y) const;

private:
    int mWidth;
    int mHeight;
    ManualClock mClock;
    bool mStarted = false;
    Velta::GLSDLRenderWindow* mWindow = nullptr;
    CppLib::SharedPtr<Velta::RenderTarget> mTarget;
};

} // namespace VeltaTest
