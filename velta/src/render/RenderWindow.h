#pragma once

#include "VeltaExport.h"
#include "cpplib/LinkedMap.h"
#include "render/TargetRenderer.h"

#include <functional>
#include <string>

namespace Velta {

/// A window on screen that a render engine draws into, with the input and
/// cursor controls the window system offers. Made by a render engine through
/// RenderManager::createRenderWindow and owned by the render manager.
class VELTA_EXPORT RenderWindow : public TargetRenderer {
public:
    ~RenderWindow() override;

    virtual bool isPrimary() const { return mPrimary; }
    virtual bool isFullscreen() const { return mFullscreen; }
    virtual int getOffsetX() const { return mOffsetX; }
    virtual int getOffsetY() const { return mOffsetY; }

    virtual bool supportsInputGrab() const = 0;
    virtual bool isInputGrabbed() const = 0;
    /// Keeps keyboard and mouse to this window; true when the window system
    /// granted what was asked.
    virtual bool setInputGrabbed(bool grab) = 0;
    virtual bool supportsCursorControl() const = 0;
    virtual bool isCursorVisible() const = 0;
    /// True when the cursor is now as asked.
    virtual bool setCursorVisible(bool visible) = 0;
    /// Moves the pointer to (x, y) in window pixels.
    virtual bool warpPointer(int x, int y) = 0;

    /// Switches this window to another size or between full screen and a
    /// window, keeping its render target and, where the window system allows,
    /// what was uploaded for drawing. False, with one line on the log, when
    /// the new mode cannot be set: the window then keeps its old mode if it
    /// can, and draws nothing if it cannot. Windows that cannot change their
    /// mode answer false and log nothing.
    virtual bool changeMode(int width, int height, bool fullscreen);

    const std::string& getName() const { return mName; }

    /// Runs `action` once, after the next frame has been drawn and before it
    /// is shown, with the window's OpenGL context current: the one moment a
    /// whole frame is sure to be in a buffer that can be read (the back
    /// buffer; once shown, neither buffer is defined to hold it). A later
    /// call replaces an action that has not run yet.
    void runBeforeNextShow(std::function<void()> action) { mBeforeShow = std::move(action); }

protected:
    /// `params` is not kept.
    RenderWindow(int id, const std::string& name, int width, int height, bool fullscreen, int offsetX, int offsetY,
                 CppLib::LinkedMap<std::string, std::string>* params);

    /// For the back ends' render(): runs the action given to
    /// runBeforeNextShow(), if any, between drawing and showing a frame.
    void runBeforeShow();
    /// For the back ends' changeMode(): the size and mode now in effect.
    void setMode(int width, int height, bool fullscreen)
    {
        setSize(width, height);
        mFullscreen = fullscreen;
    }

private:
    friend class RenderManager;
    void setPrimary(bool primary) { mPrimary = primary; }

    std::string mName;
    bool mPrimary = false;
    bool mFullscreen;
    int mOffsetX;
    int mOffsetY;
    std::function<void()> mBeforeShow;
};

} // namespace Velta
