#include "support/RenderWindowFixture.h"

#include "core/ProcessManager.h"
#include "core/TimerManager.h"
#include "plugins/render/opengl/GLRenderContext.h"
#include "plugins/render/opengl/sdl/GLSDLRenderWindow.h"
#include "render/RenderManager.h"
#include "render/RenderTarget.h"
#include "render/Viewport.h"
#include "scene/Camera.h"
#include "testkit/VirtualDisplay.h"

#include <GL/gl.h>

#include <cstdlib>
#include <cmath>
#include <ostream>

namespace VeltaTest {

bool Pixel::isNear(const Pixel& other, int tolerance) const
{
    return std::abs(r - other.r) <= tolerance && std::abs(g - other.g) <= tolerance &&
           std::abs(b - other.b) <= tolerance;
}

std::ostream& operator<<(std::ostream& out, const Pixel& pixel)
{
    return out << "(" << pixel.r << ", " << pixel.g << ", " << pixel.b << ", " << pixel.a << ")";
}

RenderWindowFixture::RenderWindowFixture(int width, int height) : mWidth(width), mHeight(height) {}

void RenderWindowFixture::SetUp()
{
    VELTA_REQUIRE_DISPLAY();
    setenv("LIBGL_ALWAYS_SOFTWARE", "1", 0);
    CoreFixture::SetUp();
    mStarted = true;
    // Registered before the plug-ins, so it serves the timestamps.
    core().getTimerManager().registerTimerPlugin(mClock);
    core().setup(true);
    Velta::RenderManager& renderManager = core().getRenderManager();
    renderManager.initializeRenderer(false);
    Velta::RenderWindow* window = renderManager.createRenderWindow("test", mWidth, mHeight, false, 0, 0, nullptr);
    mWindow = dynamic_cast<Velta::GLSDLRenderWindow*>(window);
    ASSERT_NE(mWindow, nullptr) << "the OpenGL window did not open";
    mTarget = CppLib::SharedPtr<Velta::RenderTarget>(new Velta::RenderTarget());
    mWindow->attachRenderTarget(mTarget);
}

void RenderWindowFixture::TearDown()
{
    mTarget.setNull();
    mWindow = nullptr;
    if (mStarted) {
        CoreFixture::TearDown();
    }
}

Velta::GLRenderContext& RenderWindowFixture::context() const
{
    return *mWindow->getRenderContext();
}

CppLib::SharedPtr<Velta::Viewport> RenderWindowFixture::addViewport(const CppLib::SharedPtr<Velta::Camera>& camera)
{
    CppLib::SharedPtr<Velta::Viewport> viewport(new Velta::Viewport(0.0f, 0.0f, 1.0f, 1.0f));
    viewport->attachCamera(camera);
    mTarget->attachViewport(viewport);
    return viewport;
}

void RenderWindowFixture::renderFrame(long long milliseconds)
{
    mClock.advance(milliseconds);
    core().getProcessManager().update(true);
}

Pixel RenderWindowFixture::readPixel(int x, int y) const
{
    unsigned char rgba[4] = {};
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
    return Pixel{rgba[0], rgba[1], rgba[2], rgba[3]};
}

float RenderWindowFixture::readDepth(int x, int y) const
{
    GLfloat depth = -1.0f;
    glReadBuffer(GL_BACK);
    glReadPixels(x, y, 1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, &depth);
    return depth;
}

} // namespace VeltaTest
