#pragma once

#include "VeltaExport.h"

#include <memory>
#include <string>
#include <vector>

namespace Velta {

class Plugin;

/// Installs the engine's built-in plug-ins.
class VELTA_EXPORT PluginManager {
public:
    PluginManager();
    ~PluginManager();

    /// Installs, in this order, the OpenGL renderer, SDL input and timer, the
    /// image loader, the model loader and the sound engine (unless sound is
    /// switched off). The directory is not searched: every plug-in is part
    /// of the library.
    void loadPlugins(const std::string& directory);

    /// Without sound the sound engine is not installed: no audio device is
    /// opened and the sound manager hands out no sources or channels. Takes
    /// effect at the next loadPlugins().
    void setSoundEnabled(bool enabled) { mSoundEnabled = enabled; }
    bool isSoundEnabled() const { return mSoundEnabled; }

    /// The installed plug-ins in installation order.
    const std::vector<Plugin*>& getPlugins() const { return mPlugins; }

    /// Hands the plug-ins over to the caller, which frees them once no manager
    /// can reach their back ends any more; the list is empty afterwards.
    std::vector<std::unique_ptr<Plugin>> takePlugins();

private:
    std::vector<Plugin*> mPlugins;
    bool mSoundEnabled = true;
};

} // namespace Velta
