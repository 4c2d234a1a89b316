#pragma once

#include "VeltaExport.h"
#include "core/Plugin.h"

#include <memory>

namespace Velta {

class DevILTextureSourceLoader;

/// Installs the image loader for the texture manager. Owns the loader: it
/// is freed with the plug-in, after every manager is gone, which shuts DevIL
/// down.
class VELTA_EXPORT DevILPlugin : public Plugin {
public:
    DevILPlugin();
    ~DevILPlugin() override;

    int registerPlugin() override;
    int unregisterPlugin() override { return 0; }

private:
    std::unique_ptr<DevILTextureSourceLoader> mLoader;
};

} // namespace Velta
