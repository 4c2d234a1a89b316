#pragma once

#include "VeltaExport.h"
#include "core/Plugin.h"

#include <memory>

namespace Velta {

class Ms3dObjectLoader;

/// Installs the MS3D model loader for the object manager. Owns the loader:
/// it is freed with the plug-in, after every manager is gone.
class VELTA_EXPORT Ms3dPlugin : public Plugin {
public:
    Ms3dPlugin();
    ~Ms3dPlugin() override;

    int registerPlugin() override;
    int unregisterPlugin() override { return 0; }

    /// The loader, or null before registerPlugin().
    Ms3dObjectLoader* getLoader() const { return mLoader.get(); }

private:
    std::unique_ptr<Ms3dObjectLoader> mLoader;
};

} // namespace Velta
