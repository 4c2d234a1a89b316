#include "render/RenderManager.h"

namespace Velta {

RenderManager::RenderManager()
{
    setSubsystemId(6);
}

RenderManager::~RenderManager() = default;

} // namespace Velta
