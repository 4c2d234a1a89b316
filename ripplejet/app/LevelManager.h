#pragma once

#include <memory>
#include <string>

namespace Ripplejet {

class Level;
class Menu;

/// Makes the level to play and the menu. Holds nothing.
class LevelManager {
public:
    LevelManager();
    ~LevelManager();

    /// Always true.
    bool init();

    /// A new level, whatever the name (the game has one); the caller owns
    /// it. Needs a started engine core.
    std::unique_ptr<Level> createLevel(const std::string& name);

    /// A new menu; the caller owns it. Needs a started engine core.
    std::unique_ptr<Menu> createMenu();
};

} // namespace Ripplejet
