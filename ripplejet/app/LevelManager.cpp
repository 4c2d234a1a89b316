#include "app/LevelManager.h"

#include "title/DemoLevel.h"
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
    // The title scene stands in until the race exists.
    return std::make_unique<DemoLevel>();
}

std::unique_ptr<Menu> LevelManager::createMenu()
{
    return std::make_unique<Menu>();
}

} // namespace Ripplejet
