#include "plugins/sound/openal/OpenALPlugin.h"

namespace Velta {

int OpenALPlugin::registerPlugin()
{
    // Nothing to register until the sound engine is built into the library.
    return 0;
}

} // namespace Velta
