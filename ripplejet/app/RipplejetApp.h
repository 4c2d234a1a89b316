#pragma once

#include "cpplib/Vector.h"
#include "app/LevelManager.h"
#include "app/WindowManager.h"

#include <memory>
#include <string>

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
    RipplejetApp();
    virtual ~RipplejetApp();

    RipplejetApp(const RipplejetApp&) = delete;
    RipplejetApp& operator=(const RipplejetApp&) = delete;

    /// Hands the arguments to the engine, sets it up, opens the window and
    /// makes the menu. False when the game cannot start; getStartupProblem()
    /// then says why in one line.
    bool init(const CppLib::Vector<std::string>& args);

    /// Makes the level, starts it and runs frames until the player quits.
    void run();

    /// Releases the level and the menu and shuts the engine down.
    void shutdown();

    /// Why init() failed; empty when it did not.
    const std::string& getStartupProblem() const { return mStartupProblem; }

    LevelManager& getLevelManager() { return mLevelManager; }
    WindowManager& getWindowManager() { return mWindowManager; }

private:
    /// Says what the window was missing, from what the game can see.
    std::string describeWindowFailure() const;

    WindowManager mWindowManager;
    LevelManager mLevelManager;
    std::unique_ptr<Menu> mMenu;
    std::unique_ptr<Level> mLevel;
    std::string mStartupProblem;
};

} // namespace Ripplejet
