#include "app/LevelManager.h"

#include "race/Timerace.h"
#include "app/Menu.h"

namespace Ripplejet {

LevelManager::LevelManager() = default;

LevelManager::~LevelManager() = default;

bool LevelManager::init()
{
    return true;
}

std::unique_ptr<Level> LevelManager::createLevel(const std::string&)
{
    // The game has one level.
    return std::make_unique<Timerace>();
}

std::unique_ptr<Menu> LevelManager::createMenu()
{
    return std::make_unique<Menu>();
}

} // namespace Ripplejet
