#include "core/VeltaCore.h"

#include "core/ConfigManager.h"
#include "core/EventManager.h"
#include "core/LogManager.h"
#include "core/Plugin.h"
#include "core/PluginManager.h"
#include "core/SilentLogger.h"
#include "core/ProcessManager.h"
#include "core/TimerManager.h"
#include "cpplib/SingletonInstance.h"
#include "input/InputManager.h"
#include "render/RenderManager.h"
#include "resource/FileNameMapper.h"
#include "resource/ResourceManager.h"
#include "resource/TextureManager.h"
#include "geometry/GeometryManager.h"
#include "resource/ObjectManager.h"
#include "scene/SceneManager.h"
#include "sound/SoundManager.h"

#include <cassert>
#include <memory>
#include <vector>

// The one instance of the core lives here; the header exports it.
template class CppLib::Singleton<Velta::VeltaCore>;

namespace Velta {

VeltaCore* VeltaCore::mSingleton = nullptr;

CppLib::SharedPtr<CppLib::Logger> VeltaCore::getLogger(const std::string& name)
{
    if (mSingleton && mSingleton->mLogManager) {
        return mSingleton->mLogManager->getLogger(name);
    }
    // Never destroyed, so that it still answers during static destruction.
    static const auto* silent = new CppLib::SharedPtr<CppLib::Logger>(new SilentLogger());
    return *silent;
}

EventManager* VeltaCore::findEventManager()
{
    return mSingleton ? mSingleton->mEventManager : nullptr;
}

ResourceManager* VeltaCore::findResourceManager()
{
    return mSingleton ? mSingleton->mResourceManager : nullptr;
}

VeltaCore::VeltaCore()
{
    assert(!VeltaCore::mSingleton);
    mSingleton = this;
}

VeltaCore::~VeltaCore()
{
    mSingleton = nullptr;
}

void VeltaCore::startup()
{
    if (mStarted) {
        return;
    }
    create(mLogManager, "LogManager");
    create(mConfigManager, "ConfigManager");
    create(mRenderManager, "RenderManager");
    create(mPluginManager, "PluginManager");
    create(mResourceManager, "ResourceManager");
    create(mProcessManager, "ProcessManager");
    create(mSceneManager, "SceneManager");
    create(mInputManager, "InputManager");
    create(mTimerManager, "TimerManager");
    create(mEventManager, "EventManager");

    // The order of registration is the order of the frame update.
    mProcessManager->registerSubsystem(*mInputManager, -1);
    mProcessManager->registerSubsystem(*mEventManager, -1);
    mProcessManager->registerSubsystem(*mSceneManager, -1);
    mProcessManager->registerSubsystem(mResourceManager->getSoundManager(), -1);
    mProcessManager->registerSubsystem(*mRenderManager, -1);

    mStarted = true;
}

bool VeltaCore::setup(bool)
{
    if (!mStarted) {
        return false;
    }
    const std::string root = std::string(".") + '\\';

    CppLib::SharedPtr<NameMapper> models(new FileNameMapper(root + "models"));
    mResourceManager->getGeometryManager().setGeometryNameMapper(models);
    mResourceManager->getObjectManager().setObjectNameMapper(models);

    CppLib::SharedPtr<NameMapper> textures(new FileNameMapper(root + "textures"));
    mResourceManager->getTextureManager().setTextureSourceNameMapper(textures);

    CppLib::SharedPtr<NameMapper> sound(new FileNameMapper(root + "sound"));
    mResourceManager->getSoundManager().setSoundNameMapper(sound);

    mPluginManager->loadPlugins("plugins");
    return true;
}

void VeltaCore::shutdown()
{
    if (!mStarted) {
        return;
    }
    mProcessManager->stop(false);

    // The plug-ins and the back ends they created outlive every manager that
    // uses them; they are freed last, when nothing can reach them any more.
    std::vector<std::unique_ptr<Plugin>> plugins = mPluginManager->takePlugins();

    // Each pointer is cleared as soon as its manager is gone, so a destructor
    // that still reaches for it fails the accessor's assertion instead of
    // using freed memory.
    destroy(mLogManager, "LogManager");
    destroy(mConfigManager, "ConfigManager");
    destroy(mRenderManager, "RenderManager");
    destroy(mPluginManager, "PluginManager");
    destroy(mResourceManager, "ResourceManager");
    destroy(mProcessManager, "ProcessManager");
    destroy(mSceneManager, "SceneManager");
    destroy(mInputManager, "InputManager");
    destroy(mTimerManager, "TimerManager");
    destroy(mEventManager, "EventManager");
    mStarted = false;

    while (!plugins.empty()) {
        plugins.pop_back();
    }
}

template <typename Manager>
void VeltaCore::create(Manager*& manager, const char* name)
{
    manager = new Manager();
    if (mManagerObserver) {
        mManagerObserver(name, true);
    }
}

template <typename Manager>
void VeltaCore::destroy(Manager*& manager, const char* name)
{
    if (mManagerObserver) {
        mManagerObserver(name, false);
    }
    Manager* doomed = manager;
    manager = nullptr;
    delete doomed;
}

PluginManager& VeltaCore::getPluginManager()
{
    assert(mPluginManager);
    return *mPluginManager;
}

ResourceManager& VeltaCore::getResourceManager()
{
    assert(mResourceManager);
    return *mResourceManager;
}

RenderManager& VeltaCore::getRenderManager()
{
    assert(mRenderManager);
    return *mRenderManager;
}

ConfigManager& VeltaCore::getConfigManager()
{
    assert(mConfigManager);
    return *mConfigManager;
}

LogManager& VeltaCore::getLogManager()
{
    assert(mLogManager);
    return *mLogManager;
}

InputManager& VeltaCore::getInputManager()
{
    assert(mInputManager);
    return *mInputManager;
}

ProcessManager& VeltaCore::getProcessManager()
{
    assert(mProcessManager);
    return *mProcessManager;
}

SceneManager& VeltaCore::getSceneManager()
{
    assert(mSceneManager);
    return *mSceneManager;
}

TimerManager& VeltaCore::getTimerManager()
{
    assert(mTimerManager);
    return *mTimerManager;
}

EventManager& VeltaCore::getEventManager()
{
    assert(mEventManager);
    return *mEventManager;
}

} // namespace Velta
