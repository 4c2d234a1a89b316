#include "plugins/render/opengl/GLRenderPlugin.h"

namespace Velta {

int GLRenderPlugin::registerPlugin()
{
    // Nothing to register until the OpenGL render engine is built into the library.
    return 0;
}

} // namespace Velta
