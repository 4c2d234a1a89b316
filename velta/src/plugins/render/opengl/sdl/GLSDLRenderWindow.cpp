#include "plugins/render/opengl/sdl/GLSDLRenderWindow.h"

#include "core/VeltaCore.h"
#include "plugins/render/opengl/GLRenderContext.h"
#include "plugins/render/opengl/GLRenderEngine.h"
#include "render/RenderTarget.h"

#include <GL/glew.h>
#include <SDL/SDL.h>

#include <cassert>
#include <iostream>
#include <string>

namespace Velta {

namespace {

void logError(const std::string& message)
{
    VeltaCore::getLogger("glrendercontext")->error(message);
}

} // namespace

GLSDLRenderWindow::GLSDLRenderWindow(int id, const std::string& name, int width, int height, bool fullscreen,
                                     int offsetX, int offsetY, CppLib::LinkedMap<std::string, std::string>* params,
                                     GLRenderEngine& engine)
    : RenderWindow(id, name, width, height, fullscreen, offsetX, offsetY, params), mRenderEngine(&engine)
{
    const SDL_VideoInfo* info = SDL_GetVideoInfo();
    mBitsPerPixel = info && info->vfmt ? info->vfmt->BitsPerPixel : -1;
    mRenderContext = new GLRenderContext(engine);
}

GLSDLRenderWindow::~GLSDLRenderWindow()
{
    if (mContextProbe != 0 && mRenderContext->isCurrent()) {
        glDeleteTextures(1, &mContextProbe);
    }
    delete mRenderContext;
}

bool GLSDLRenderWindow::open()
{
    return setVideoMode() && startRenderContext();
}

bool GLSDLRenderWindow::changeMode(int width, int height, bool fullscreen)
{
    const int oldWidth = getWidth();
    const int oldHeight = getHeight();
    const bool oldFullscreen = isFullscreen();
    setMode(width, height, fullscreen);
    bool changed = setVideoMode();
    if (!changed) {
        setMode(oldWidth, oldHeight, oldFullscreen);
        if (!setVideoMode()) {
            // No surface is left: the context no longer draws, and says so.
            mRenderEngine->createGeneration();
            return false;
        }
    }
    if (keepsRenderContext()) {
        clearAndShow();
    } else if (!replaceRenderContext()) {
        return false;
    }
    return changed;
}

bool GLSDLRenderWindow::setVideoMode()
{
    const std::string what = "render window \"" + getName() + "\" (" + std::to_string(getWidth()) + " x " +
                             std::to_string(getHeight()) + ")";
    if (mBitsPerPixel < 0) {
        logError("SDL Error while opening " + what + ": no video information (is video started?)");
        return false;
    }
    if (getWidth() <= 0 || getHeight() <= 0) {
        logError("Cannot open " + what + ": the size must be positive");
        return false;
    }
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
    // For materials that mark pixels or skip marked ones. A software
    // renderer then packs depth and stencil in one word, which its depth
    // test reads faster than the 32-bit depth it would choose otherwise.
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, mDoubleBuffer ? 1 : 0);
    const Uint32 flags = SDL_OPENGL | (isFullscreen() ? SDL_FULLSCREEN : 0);
    if (!SDL_SetVideoMode(getWidth(), getHeight(), mBitsPerPixel, flags)) {
        logError("SDL Error while opening " + what + ": " + SDL_GetError());
        return false;
    }
    SDL_WM_SetCaption(getName().c_str(), getName().c_str());
    return true;
}

bool GLSDLRenderWindow::startRenderContext()
{
    mRenderContext->setGeneration(mRenderEngine->createGeneration());
    const GLenum result = glewInit();
    if (result != GLEW_OK) {
        std::cerr << "GLEW Error: " << glewGetErrorString(result) << std::endl;
        return false;
    }
    mRenderContext->updateCapabilities();

    // A texture object that only this OpenGL context knows: after a mode
    // change it tells whether the context, and all that was uploaded to it,
    // is still the same.
    glGenTextures(1, &mContextProbe);
    glBindTexture(GL_TEXTURE_2D, mContextProbe);
    glBindTexture(GL_TEXTURE_2D, 0);
    clearAndShow();
    return true;
}

bool GLSDLRenderWindow::keepsRenderContext() const
{
    return mContextProbe != 0 && glIsTexture(mContextProbe) == GL_TRUE;
}

bool GLSDLRenderWindow::replaceRenderContext()
{
    // The old OpenGL context took its objects with it: the render context
    // forgets them without deleting, and everything is uploaded anew.
    mRenderEngine->createGeneration();
    delete mRenderContext;
    mRenderContext = new GLRenderContext(*mRenderEngine);
    mContextProbe = 0;
    mReportedStale = false;
    return startRenderContext();
}

void GLSDLRenderWindow::clearAndShow()
{
    glViewport(0, 0, getWidth(), getHeight());
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    if (mDoubleBuffer) {
        SDL_GL_SwapBuffers();
    }
}

GLRenderContext* GLSDLRenderWindow::getRenderContext()
{
    assert(mRenderContext);
    return mRenderContext;
}

void GLSDLRenderWindow::render(long long)
{
    if (!mRenderContext->isCurrent()) {
        if (!mReportedStale) {
            mReportedStale = true;
            logError("Render window \"" + getName() + "\" is not drawn: a later window replaced its OpenGL context");
        }
        return;
    }
    mRenderContext->beginFrame();
    const CppLib::SharedPtr<RenderTarget> target = getRenderTarget();
    if (!target.isNull()) {
        mRenderEngine->renderTarget(*target, *mRenderContext, getWidth(), getHeight());
    } else {
        glViewport(0, 0, getWidth(), getHeight());
        glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
        glClear(GL_COLOR_BUFFER_BIT);
    }
    runBeforeShow();
    if (mDoubleBuffer) {
        SDL_GL_SwapBuffers();
    }
    mRenderContext->endFrame();
}

bool GLSDLRenderWindow::isInputGrabbed() const
{
    return SDL_WM_GrabInput(SDL_GRAB_QUERY) == SDL_GRAB_ON;
}

bool GLSDLRenderWindow::setInputGrabbed(bool grab)
{
    const SDL_GrabMode wanted = grab ? SDL_GRAB_ON : SDL_GRAB_OFF;
    return SDL_WM_GrabInput(wanted) == wanted;
}

bool GLSDLRenderWindow::isCursorVisible() const
{
    return SDL_ShowCursor(SDL_QUERY) == 1;
}

bool GLSDLRenderWindow::setCursorVisible(bool visible)
{
    SDL_ShowCursor(visible ? SDL_ENABLE : SDL_DISABLE);
    return (SDL_ShowCursor(SDL_QUERY) == 1) == visible;
}

bool GLSDLRenderWindow::warpPointer(int x, int y)
{
    // SDL takes unsigned 16-bit coordinates.
    const auto clamp = [](int value) { return static_cast<Uint16>(value < 0 ? 0 : (value > 0xFFFF ? 0xFFFF : value)); };
    SDL_WarpMouse(clamp(x), clamp(y));
    return true;
}

} // namespace Velta
