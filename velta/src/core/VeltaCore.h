#pragma once

#include "VeltaExport.h"
#include "cpplib/Logger.h"
#include "cpplib/SharedPtr.h"
#include "cpplib/Singleton.h"

#include <string>

// How the engine answers trouble, in three tiers:
// - Programming errors (a manager used before startup(), a second core) fail a
//   debug assertion.
// - Data and environment problems (a missing or corrupt file, a back end that
//   cannot start) write one line on a named logger, fall back to a defined
//   result and remember the failure so that it is not reported every frame.
// - Start-up impossibilities in the host (no display) are the host's to report:
//   one clear line on standard error and a non-zero exit status.
// Nothing throws across the engine's interface.

namespace Velta {
class VeltaCore;
}

extern template class VELTA_EXPORT CppLib::Singleton<Velta::VeltaCore>;

namespace Velta {

class ConfigManager;
class EventManager;
class InputManager;
class LogManager;
class PluginManager;
class ProcessManager;
class RenderManager;
class ResourceManager;
class SceneManager;
class TimerManager;

/// The engine's one global object: creates, owns, hands out and destroys the
/// managers, registers the per-frame subsystems and installs the plug-ins.
///
/// Obtained with CppLib::Singleton<VeltaCore>::getSingleton(). Managers exist
/// between startup() and shutdown(); their accessors assert outside that time.
class VELTA_EXPORT VeltaCore : public CppLib::Singleton<VeltaCore> {
public:
    VeltaCore();
    ~VeltaCore() override;

    /// Creates the managers and registers the per-frame subsystems in the
    /// order input, event, scene, sound, render. Does nothing when started.
    void startup();

    /// Maps the data directories and installs the built-in plug-ins. Needs
    /// startup(); without it, does nothing and answers false. The flag is
    /// accepted and not consulted.
    bool setup(bool flag = true);

    /// Stops the process loop, destroys the managers and frees the plug-ins.
    /// Does nothing when not started.
    void shutdown();

    bool isStarted() const { return mStarted; }

    PluginManager& getPluginManager();
    ResourceManager& getResourceManager();
    RenderManager& getRenderManager();
    ConfigManager& getConfigManager();
    LogManager& getLogManager();
    InputManager& getInputManager();
    ProcessManager& getProcessManager();
    SceneManager& getSceneManager();
    TimerManager& getTimerManager();
    EventManager& getEventManager();

    // For objects that may be used before startup() or outlive shutdown(),
    // even the core itself (held by the host, freed at program exit): these
    // never create the core and never assert.

    /// The log manager's logger `name` from startup() until shutdown()
    /// begins; otherwise a SilentLogger, which drops every message.
    static CppLib::SharedPtr<CppLib::Logger> getLogger(const std::string& name);

    /// The event manager, or null outside startup() … shutdown() (logic
    /// elements held by the host).
    static EventManager* findEventManager();

    /// The resource manager, or null outside startup() … shutdown() and
    /// while it is being destroyed (textures held by materials of the object
    /// manager's models).
    static ResourceManager* findResourceManager();

    /// Told of each manager right after startup() creates it (`created` true)
    /// and right before shutdown() deletes it, with the manager's class name.
    /// For hosts that trace start-up and shut-down; null (the default) for none.
    using ManagerObserver = void (*)(const char* manager, bool created);
    void setManagerObserver(ManagerObserver observer) { mManagerObserver = observer; }

private:
    /// The one core while it exists; null before it is made and after it is
    /// destroyed.
    static VeltaCore* mSingleton;

    template <typename Manager>
    void create(Manager*& manager, const char* name);
    template <typename Manager>
    void destroy(Manager*& manager, const char* name);

    ManagerObserver mManagerObserver = nullptr;

    bool mStarted = false;
    PluginManager* mPluginManager = nullptr;
    ResourceManager* mResourceManager = nullptr;
    RenderManager* mRenderManager = nullptr;
    ConfigManager* mConfigManager = nullptr;
    LogManager* mLogManager = nullptr;
    InputManager* mInputManager = nullptr;
    ProcessManager* mProcessManager = nullptr;
    SceneManager* mSceneManager = nullptr;
    TimerManager* mTimerManager = nullptr;
    EventManager* mEventManager = nullptr;
};

} // namespace Velta
