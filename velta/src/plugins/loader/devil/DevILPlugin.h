#pragma once

#include "VeltaExport.h"
#include "core/Plugin.h"

namespace Velta {

/// Installs the image loader for the texture manager.
class VELTA_EXPORT DevILPlugin : public Plugin {
public:
    int registerPlugin() override;
    int unregisterPlugin() override { return 0; }
};

} // namespace Velta
