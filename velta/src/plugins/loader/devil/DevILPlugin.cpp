#include "plugins/loader/devil/DevILPlugin.h"

namespace Velta {

int DevILPlugin::registerPlugin()
{
    // Nothing to register until the image loader is built into the library.
    return 0;
}

} // namespace Velta
