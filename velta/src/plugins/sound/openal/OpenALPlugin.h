#pragma once

#include "VeltaExport.h"
#include "core/Plugin.h"

namespace Velta {

/// Installs the OpenAL sound engine for the sound manager.
class VELTA_EXPORT OpenALPlugin : public Plugin {
public:
    int registerPlugin() override;
    int unregisterPlugin() override { return 0; }
};

} // namespace Velta
