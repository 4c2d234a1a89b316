#include "plugins/loader/ms3d/Ms3dPlugin.h"

#include "core/VeltaCore.h"
#include "plugins/loader/ms3d/Ms3dObjectLoader.h"
#include "resource/ObjectManager.h"
#include "resource/ResourceManager.h"

namespace Velta {

Ms3dPlugin::Ms3dPlugin() = default;
Ms3dPlugin::~Ms3dPlugin() = default;

int Ms3dPlugin::registerPlugin()
{
    mLoader = std::make_unique<Ms3dObjectLoader>();
    VeltaCore::getSingleton().getResourceManager().getObjectManager().registerObjectLoader(*mLoader);
    return 0;
}

} // namespace Velta
