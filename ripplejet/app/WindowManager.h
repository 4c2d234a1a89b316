#pragma once

#include "app/FrameTimes.h"
#include "cpplib/SharedPtr.h"
#include "app/Screenshot.h"
#include "input/InputProcessor.h"
#include "race/RaceMessage.h"

#include <functional>
#include <memory>
#include <utility>

namespace Velta {
class InputEvent;
class KeyEventInfo;
class RenderTarget;
class RenderWindow;
class Viewport;
} // namespace Velta

namespace Ripplejet {

class Autopilot;
class GameClock;
class Level;
class Menu;
class RaceRecorder;
class RaceReplay;

/// The game's window, its two viewports, the router of every input event
/// and the frame loop.
///
/// It is the one input processor the game registers: it consumes every
/// event, acts on the hot keys (Escape quits, t toggles full screen, u the
/// pointer grab, F1 the help, F2 the frame-rate report, F3 the shading mode,
/// F12 a screenshot, Pause the pause, Enter a new race) when no modifier key
/// is held, pauses when the window loses the input focus, and hands
/// everything else to the running level (nothing while paused),
/// or to the menu while no level runs. Pointer moves for a running level
/// become unbounded positions: the pointer is wrapped across the window
/// while grabbed, and the position is counted in window spans (the window
/// less a 20-pixel margin on each side) plus the wraps made.
///
/// Owned by the application. The level and the menu are borrowed and must
/// outlive the loop; the window is the render manager's, and is replaced
/// only when toggleFullscreen() cannot switch it to the other mode.
class WindowManager : public Velta::InputProcessor {
public:
    static constexpr int FULLSCREEN_WIDTH = 1024;
    static constexpr int FULLSCREEN_HEIGHT = 768;
    static constexpr int WINDOWED_WIDTH = 800;
    static constexpr int WINDOWED_HEIGHT = 600;
    /// Pixels at each edge of the window where a grabbed pointer wraps.
    static constexpr int WRAP_MARGIN = 20;
    /// How long after a new race the freed memory is handed back again: what
    /// the old race let go of late leaves the render context with its next
    /// collection (every 120 frames), and should be gone by then.
    static constexpr int GIVE_BACK_AFTER_FRAMES = 150;

    /// Needs a started engine core.
    WindowManager();
    ~WindowManager() override;

    /// Opens the window "Ripplejet" (1024 × 768 full screen unless
    /// setWindowMode() said otherwise) with the level and menu viewports and
    /// registers for input. False, with one line on the "windowmanager"
    /// logger, when the window cannot be opened; the viewports exist either
    /// way. Needs an initialised renderer.
    bool init();

    /// The mode and size init() opens, and toggleFullscreen() keeps; a size
    /// of 0 leaves each mode its own (1024 × 768 full screen, 800 × 600 in
    /// a window). A full-screen size the display does not offer becomes the
    /// nearest one it does, with one line.
    void setWindowMode(bool fullscreen, int width, int height);

    /// The game's clock, which the loop starts each frame with and stops
    /// while paused; without one the timer manager's timestamps are used.
    void setClock(GameClock* clock) { mClock = clock; }
    /// At most this many frames a second (0: no limit).
    void setFrameLimit(int framesPerSecond) { mFrameLimit = framesPerSecond; }
    /// Writes every frame and the events handed to the level; null for none.
    void setRecorder(RaceRecorder* recorder) { mRecorder = recorder; }
    /// Plays a recorded race instead of the player's input, and quits after
    /// its last frame; null for none.
    void setReplay(RaceReplay* replay) { mReplay = replay; }
    /// The autopilot races (see Autopilot), as fast as frames can be drawn,
    /// until the race is over or, with `toSection` above 0, until it steers
    /// for that cross section; the loop then quits. Frame lengths are kept.
    void setBenchmark(bool benchmark, int toSection = 0);
    const FrameTimes& getFrameTimes() const { return mFrameTimes; }
    /// The autopilot steers the player's duck (from the click that starts
    /// the race on), while every key and button still reaches the level.
    void setAutopilot(bool on) { mAutopilotOn = on; }
    /// Called between frames when a new race is asked for (Enter); it swaps
    /// the level through setLevel() and startLevel().
    void setNewRaceHandler(std::function<void()> handler) { mNewRace = std::move(handler); }

    /// Stops the game's time, lets the pointer go and shows "paused"; or
    /// takes it all back.
    void setPaused(bool paused);
    bool isPaused() const { return mPaused; }
    /// Shows the keys and the mouse's use, pausing the game meanwhile; or
    /// hides them again, ending the pause only if showing them made it.
    void setHelpShown(bool shown);
    bool isHelpShown() const { return mHelpShown; }
    /// The sign shown over the level while paused or helping.
    const RaceMessage& getNotice() const { return mNotice; }
    /// Frames the loop has run.
    long long getFrameCount() const { return mFrames; }

    /// Shows the menu's camera in the menu viewport.
    void setMenu(Menu* menu);
    /// The level to run; the one before is let go of (its signs are taken
    /// off its overlay), so it may be destroyed afterwards.
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

    /// Switches the window between 1024 × 768 full screen and 800 × 600 in a
    /// window, keeping the render target with its viewports and what was
    /// uploaded for drawing. When the new mode cannot be set a new window is
    /// opened in the old one; when that fails too the loop ends. False when
    /// the switch did not happen.
    bool toggleFullscreen();

    /// Frees now the render context's buffers and textures of resources that
    /// are gone (a finished race's).
    void releaseUnusedUploads();

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
    /// Hands what the autopilot sends to the level, as the player's input
    /// would go, written down when recording.
    class LevelInput : public Velta::InputProcessor {
    public:
        explicit LevelInput(WindowManager& windows) : Velta::InputProcessor(-1), mWindows(&windows) {}
        bool processInputEvent(Velta::InputEvent& event) override
        {
            mWindows->forwardToLevel(event);
            return true;
        }

    private:
        WindowManager* mWindows;
    };

    /// Opens the window in the current mode and size and attaches the
    /// render target; false when it cannot be opened.
    bool openWindow();
    void closeWindow();
    /// Sets the size from the mode: the windowed size, or the full-screen
    /// one the display offers nearest to it.
    void takeModeSize();
    std::pair<int, int> nearestFullscreenSize(std::pair<int, int> wanted) const;
    /// Acts on a pressed hot key; false for anything else.
    bool handleKey(const Velta::KeyEventInfo* info);
    /// Rewrites a pointer move for the level; true when it is swallowed.
    bool handleMouseMove(Velta::InputEvent& event);
    void cycleShadingMode();
    void countFrame(long long timestamp);
    /// The frame's timestamp from the clock or the replay.
    long long beginFrame();
    /// Input for the level that does not come from the player.
    void driveLevel(long long timestamp);
    /// Between frames: the frame limit, the benchmark's end, a new race.
    void endFrame();
    /// Hands a level's event on, writing it down when recording.
    void forwardToLevel(Velta::InputEvent& event);
    void showNotice();
    void startNewRace();
    /// Now and once the render context's next collection has run.
    void giveBackFreedMemory();

    GameClock* mClock = nullptr;
    int mFrameLimit = 0;
    long long mFrameStartMicros = 0;
    long long mFrames = 0;
    RaceRecorder* mRecorder = nullptr;
    RaceReplay* mReplay = nullptr;
    std::size_t mReplayFrame = 0;
    bool mBenchmark = false;
    bool mAutopilotOn = false;
    int mBenchmarkSection = 0;
    std::unique_ptr<LevelInput> mAutopilotInput;
    std::unique_ptr<Autopilot> mAutopilot;
    bool mAutopilotClicked = false;
    FrameTimes mFrameTimes;
    std::function<void()> mNewRace;
    bool mNewRaceAsked = false;
    /// Counts down to handing the old race's memory back again.
    int mFramesUntilGiveBack = 0;
    bool mPaused = false;
    bool mHelpShown = false;
    bool mPausedByHelp = false;
    /// "paused" or the help, over the level's overlay.
    RaceMessage mNotice;
    /// Where the pointer was when the pause let it go.
    int mLastPointerX = -1;
    int mLastPointerY = -1;
    int mPausedPointerX = -1;
    int mPausedPointerY = -1;

    bool mRunning = false;
    bool mFullscreen = true;
    bool mLevelActive = false;
    bool mModeChosen = false;
    std::pair<int, int> mFullscreenSize{FULLSCREEN_WIDTH, FULLSCREEN_HEIGHT};
    std::pair<int, int> mWindowedSize{WINDOWED_WIDTH, WINDOWED_HEIGHT};
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
