#include "plugins/loader/ms3d/Ms3dPlugin.h"

namespace Velta {

int Ms3dPlugin::registerPlugin()
{
    // Nothing to register until the model loader is built into the library.
    return 0;
}

} // namespace Velta
