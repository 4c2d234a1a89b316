#include "plugins/sound/openal/OpenALPlugin.h"

#include "core/LogManager.h"
#include "core/VeltaCore.h"
#include "plugins/sound/openal/OpenALSoundEngine.h"
#include "resource/ResourceManager.h"
#include "sound/SoundManager.h"

namespace Velta {

OpenALPlugin::OpenALPlugin() = default;
OpenALPlugin::~OpenALPlugin() = default;

int OpenALPlugin::registerPlugin()
{
    VeltaCore& core = VeltaCore::getSingleton();
    auto engine = std::make_unique<OpenALSoundEngine>(core.getLogManager().getLogger("plugins.sound.openal"));
    if (core.getResourceManager().getSoundManager().registerSoundEngine(*engine)) {
        mEngine = std::move(engine);
    }
    return 0;
}

} // namespace Velta
