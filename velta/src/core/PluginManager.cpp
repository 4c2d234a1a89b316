#include "core/PluginManager.h"

#include "core/Plugin.h"
#include "plugins/loader/devil/DevILPlugin.h"
#include "plugins/loader/ms3d/Ms3dPlugin.h"
#include "plugins/render/opengl/GLRenderPlugin.h"
#include "plugins/sdl/SDLPlugin.h"
#include "plugins/sound/openal/OpenALPlugin.h"

namespace Velta {

PluginManager::PluginManager() = default;

PluginManager::~PluginManager()
{
    // Plug-ins not taken by the core (a manager deleted on its own) are freed
    // here, in reverse order of installation.
    for (auto plugin = mPlugins.rbegin(); plugin != mPlugins.rend(); ++plugin) {
        delete *plugin;
    }
}

void PluginManager::loadPlugins(const std::string&)
{
    std::vector<Plugin*> plugins = {new GLRenderPlugin(), new SDLPlugin(), new DevILPlugin(), new Ms3dPlugin()};
    if (mSoundEnabled) {
        plugins.push_back(new OpenALPlugin());
    }
    for (Plugin* plugin : plugins) {
        plugin->registerPlugin();
        mPlugins.push_back(plugin);
    }
}

std::vector<std::unique_ptr<Plugin>> PluginManager::takePlugins()
{
    std::vector<std::unique_ptr<Plugin>> taken;
    for (Plugin* plugin : mPlugins) {
        taken.emplace_back(plugin);
    }
    mPlugins.clear();
    return taken;
}

} // namespace Velta
