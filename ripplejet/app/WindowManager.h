#pragma once

#include "cpplib/SharedPtr.h"
#include "app/Screenshot.h"
#include "input/InputProcessor.h"

namespace Velta {
class InputEvent;
class KeyEventInfo;
class RenderTarget;
class RenderWindow;
class Viewport;
} // namespace Velta

namespace Ripplejet {

class Level;
class Menu;

/// The game's window, its two viewports, the router of every input event
/// and the frame loop.
///
/// It is the one input processor the game registers: it consumes every
/// event, acts on the hot keys (Escape quits, t toggles full screen, u the
/// pointer grab, F2 the frame-rate report, F3 the shading mode, F12 a screenshot) when no
/// modifier key is held, and hands everything else to the running level,
/// or to the menu while no level runs. Pointer moves for a running level
/// become unbounded positions: the pointer is wrapped across the window
/// while grabbed, and the position is counted in window spans (the window
/// less a 20-pixel margin on each side) plus the wraps made.
///
/// Owned by the application. The level and the menu are borrowed and must
/// outlive the loop; the window is the render manager's and is replaced by
/// toggleFullscreen().
class WindowManager : public Velta::InputProcessor {
public:
    static constexpr int FULLSCREEN_WIDTH = 1024;
    static constexpr int FULLSCREEN_HEIGHT = 768;
    static constexpr int WINDOWED_WIDTH = 800;
    static constexpr int WINDOWED_HEIGHT = 600;
    /// Pixels at each edge of the window where a grabbed pointer wraps.
    static constexpr int WRAP_MARGIN = 20;

    /// Needs a started engine core.
    WindowManager();
    ~WindowManager() override;

    /// Opens the 1024 × 768 full-screen window "Ripplejet" with the level
    /// and menu viewports and registers for input. False, with one line on
    /// the "windowmanager" logger, when the window cannot be opened; the
    /// viewports exist either way. Needs an initialised renderer.
    bool init();

    /// Shows the menu's camera in the menu viewport.
    void setMenu(Menu* menu);
    void setLevel(Level* level);

    /// Loads and starts the level: grabs the pointer, shows the level's
    /// camera in place of the menu and routes input to the level. False
    /// when there is no level or it does not load.
    bool startLevel();

    /// Runs frames until quit(): each one updates the level and the engine
    /// (input, logic, scenes, sound, drawing) and, while switched on,
    /// reports the frame rate ("FPS: n" on the "stats" logger) once a second.
    void run();

    /// Ends the loop after the current frame.
    void quit() { mRunning = false; }

    /// Consumes every event; see the class comment.
    bool processInputEvent(Velta::InputEvent& event) override;

    /// Switches between the 1024 × 768 full-screen and the 800 × 600
    /// windowed window, keeping the render target with its viewports. When
    /// the new window cannot be opened the old mode is opened again; when
    /// that fails too the loop ends. False when the switch did not happen.
    bool toggleFullscreen();

    /// Grabs the pointer and hides the cursor, or releases and shows it.
    void setMouseGrab(bool grab);

    bool isRunning() const { return mRunning; }
    bool isFullscreen() const { return mFullscreen; }
    bool isLevelActive() const { return mLevelActive; }
    bool isMouseGrabbed() const { return mMouseGrabbed; }
    bool isShowingStats() const { return mShowStats; }
    int getWidth() const { return mWidth; }
    int getHeight() const { return mHeight; }
    /// How often the grabbed pointer was wrapped: right and down count up.
    int getWrapX() const { return mWrapX; }
    int getWrapY() const { return mWrapY; }

    /// The current window; null while none is open.
    Velta::RenderWindow* getWindow() const { return mWindow; }
    const CppLib::SharedPtr<Velta::RenderTarget>& getRenderTarget() const { return mRenderTarget; }
    const CppLib::SharedPtr<Velta::Viewport>& getLevelViewport() const { return mLevelViewport; }
    const CppLib::SharedPtr<Velta::Viewport>& getMenuViewport() const { return mMenuViewport; }

private:
    /// Opens the window in the current mode and size and attaches the
    /// render target; false when it cannot be opened.
    bool openWindow();
    void closeWindow();
    /// Acts on a pressed hot key; false for anything else.
    bool handleKey(const Velta::KeyEventInfo* info);
    /// Rewrites a pointer move for the level; true when it is swallowed.
    bool handleMouseMove(Velta::InputEvent& event);
    void cycleShadingMode();
    void countFrame(long long timestamp);

    bool mRunning = false;
    bool mFullscreen = true;
    bool mLevelActive = false;
    int mWidth = FULLSCREEN_WIDTH;
    int mHeight = FULLSCREEN_HEIGHT;
    Velta::RenderWindow* mWindow = nullptr;
    CppLib::SharedPtr<Velta::RenderTarget> mRenderTarget;
    CppLib::SharedPtr<Velta::Viewport> mMenuViewport;
    CppLib::SharedPtr<Velta::Viewport> mLevelViewport;
    Menu* mMenu = nullptr;
    Level* mLevel = nullptr;
    bool mIgnoreNextMove = false;
    int mWrapX = 0;
    int mWrapY = 0;
    bool mMouseGrabbed = false;
    bool mShowStats = false;
    long long mLastStatsTime = 0;
    int mFrameCount = 0;
    Screenshot mScreenshot;
};

} // namespace Ripplejet
