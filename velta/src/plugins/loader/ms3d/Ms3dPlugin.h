#pragma once

#include "VeltaExport.h"
#include "core/Plugin.h"

namespace Velta {

/// Installs the MS3D model loader for the object manager.
class VELTA_EXPORT Ms3dPlugin : public Plugin {
public:
    int registerPlugin() override;
    int unregisterPlugin() override { return 0; }
};

} // namespace Velta
