#include "input/InputManager.h"

namespace Velta {

InputManager::InputManager()
{
    setSubsystemId(1);
}

InputManager::~InputManager() = default;

} // namespace Velta
