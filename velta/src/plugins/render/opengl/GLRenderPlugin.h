#pragma once

#include "VeltaExport.h"
#include "core/Plugin.h"

namespace Velta {

/// Installs the OpenGL render engine under the name "opengl".
class VELTA_EXPORT GLRenderPlugin : public Plugin {
public:
    int registerPlugin() override;
    int unregisterPlugin() override { return 1; }
};

} // namespace Velta
