#include "resource/ObjectManager.h"

namespace Velta {

ObjectManager::ObjectManager() = default;
ObjectManager::~ObjectManager() = default;

} // namespace Velta
