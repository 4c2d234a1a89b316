#pragma once

#include "VeltaExport.h"
#include "plugins/render/opengl/GLRenderContext.h"
#include "plugins/render/opengl/GLRenderEngine.h"
#include "render/RenderWindow.h"

namespace Velta {

/// A render window drawn with OpenGL in SDL's video surface. Made and opened
/// by GLRenderEngine; owned by the render manager. Its GLRenderContext lives
/// as long as the window.
class VELTA_EXPORT GLSDLRenderWindow : public RenderWindow {
public:
    GLSDLRenderWindow(int id, const std::string& name, int width, int height, bool fullscreen, int offsetX,
                      int offsetY, CppLib::LinkedMap<std::string, std::string>* params, GLRenderEngine& engine);
    ~GLSDLRenderWindow() override;

    /// Sets the SDL OpenGL video mode and loads the OpenGL extensions; false,
    /// with one line on the log (or GLEW's on standard error), when that fails.
    bool open();

    /// Sets the new SDL video mode. Where the OpenGL context outlives it (as
    /// SDL does on X11), everything uploaded stays; otherwise a new render
    /// context uploads it all again.
    bool changeMode(int width, int height, bool fullscreen) override;

    GLRenderEngine* getRenderEngine() override { return mRenderEngine; }
    GLRenderContext* getRenderContext() override;

    /// Draws the attached render target (or clears to black without one) and
    /// shows the frame. A window whose OpenGL context another window has
    /// replaced draws nothing.
    void render(long long time) override;

    bool supportsInputGrab() const override { return true; }
    bool isInputGrabbed() const override;
    bool setInputGrabbed(bool grab) override;
    bool supportsCursorControl() const override { return true; }
    bool isCursorVisible() const override;
    bool setCursorVisible(bool visible) override;
    bool warpPointer(int x, int y) override;

    bool isDoubleBuffered() const { return mDoubleBuffer; }
    /// Bits per pixel of the display when the window was made; −1 when SDL
    /// gave no video information.
    int getBitsPerPixel() const { return mBitsPerPixel; }

    /// The texture object whose presence tells that the OpenGL context
    /// survived a mode change; 0 before the window opened.
    unsigned int getContextProbe() const { return mContextProbe; }

private:
    bool setVideoMode();
    /// Marks the OpenGL context now in use as this window's, reads what it
    /// offers and leaves a probe in it.
    bool startRenderContext();
    bool keepsRenderContext() const;
    bool replaceRenderContext();
    void clearAndShow();

    int mBitsPerPixel;
    bool mDoubleBuffer = true;
    bool mReportedStale = false;
    GLRenderEngine* mRenderEngine;
    GLRenderContext* mRenderContext;
    unsigned int mContextProbe = 0;
};

} // namespace Velta
