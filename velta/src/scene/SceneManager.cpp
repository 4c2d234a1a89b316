#include "scene/SceneManager.h"

namespace Velta {

SceneManager::SceneManager()
{
    setSubsystemId(3);
}

SceneManager::~SceneManager() = default;

} // namespace Velta
