#pragma once

#include "cpplib/Vector.h"
#include "app/GameClock.h"
#include "app/GameOptions.h"
#include "app/LevelManager.h"
#include "app/RaceRecorder.h"
#include "app/RaceReplay.h"
#include "app/WindowManager.h"

#include <memory>
#include <string>
#include <utility>

namespace Ripplejet {

class Level;
class Menu;

/// The game: sets the engine up, opens the window, makes the menu, then
/// runs the level until the player quits.
///
/// One instance, made after the engine core has started. It owns the menu
/// and the level and releases them in shutdown(), before the engine stops.
class RipplejetApp {
public:
    /// Where the short benchmark stops: the cross section the autopilot
    /// steers for when it ends.
    static constexpr int SHORT_BENCHMARK_SECTION = 8;

    RipplejetApp();
    virtual ~RipplejetApp();

    RipplejetApp(const RipplejetApp&) = delete;
    RipplejetApp& operator=(const RipplejetApp&) = delete;

    /// The race to replay when the options ask for one, read beforehand.
    void setReplay(RaceReplay replay) { mReplay = std::move(replay); }

    /// Hands the arguments to the engine, sets it up as the options say,
    /// opens the window and makes the menu. False when the game cannot
    /// start; getStartupProblem() then says why in one line.
    bool init(const CppLib::Vector<std::string>& args, const GameOptions& options = GameOptions());

    /// Makes the level, starts it and runs frames until the player quits,
    /// the benchmark ends or the replay runs out; answers the exit status:
    /// 0, or 1 when a benchmark's race was not won or a replay ended
    /// otherwise than recorded. Prints the benchmark's or the replay's line.
    int run();

    /// Releases the level and the menu and shuts the engine down.
    void shutdown();

    /// Why init() failed; empty when it did not.
    const std::string& getStartupProblem() const { return mStartupProblem; }

    LevelManager& getLevelManager() { return mLevelManager; }
    WindowManager& getWindowManager() { return mWindowManager; }

private:
    /// Says what the window was missing, from what the game can see.
    std::string describeWindowFailure() const;
    /// Replaces the level with a new one, started as the first was.
    void startNewRace();
    /// Finishes the recording and prints the benchmark's or the replay's
    /// line; answers the exit status.
    int reportRun();
    /// "won in 166064 ms", "lost after 52010 ms", "unfinished after 8000 ms".
    std::string describeRace() const;

    GameOptions mOptions;
    /// Registered before the engine is set up, so that it serves the time.
    GameClock mClock;
    RaceRecorder mRecorder;
    RaceReplay mReplay;
    WindowManager mWindowManager;
    LevelManager mLevelManager;
    std::unique_ptr<Menu> mMenu;
    std::unique_ptr<Level> mLevel;
    std::string mStartupProblem;
};

} // namespace Ripplejet
