#include "plugins/loader/devil/DevILPlugin.h"

#include "core/VeltaCore.h"
#include "plugins/loader/devil/DevILTextureSourceLoader.h"
#include "resource/ResourceManager.h"
#include "resource/TextureManager.h"

namespace Velta {

DevILPlugin::DevILPlugin() = default;
DevILPlugin::~DevILPlugin() = default;

int DevILPlugin::registerPlugin()
{
    mLoader = std::make_unique<DevILTextureSourceLoader>();
    VeltaCore::getSingleton().getResourceManager().getTextureManager().registerTextureSourceLoader(*mLoader);
    return 0;
}

} // namespace Velta
