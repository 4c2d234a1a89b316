#include "render/RenderManager.h"

#include "core/VeltaCore.h"
#include "render/RenderEngine.h"
#include "render/RenderWindow.h"

namespace Velta {

namespace {

void logError(const std::string& message)
{
    VeltaCore::getLogger("render")->error(message);
}

} // namespace

RenderManager::RenderAdapter::~RenderAdapter() = default;

int RenderManager::RenderAdapter::run(long long time)
{
    mRenderer->render(time);
    return 0;
}

RenderManager::RenderManager()
{
    setSubsystemId(6);
}

RenderManager::~RenderManager()
{
    while (mWindows.getSize() > 0) {
        destroyRenderWindow(mWindows.begin()->first);
    }
    if (mInitialized) {
        for (auto& entry : mRenderers) {
            entry.second->shutdown();
        }
    }
}

void RenderManager::registerRenderer(const std::string& name, RenderEngine* engine)
{
    if (!engine) {
        return;
    }
    mRenderers.put(name, engine);
    if (mDefaultRenderer.empty()) {
        mDefaultRenderer = name;
    }
    if (mInitialized) {
        engine->initialize();
    }
}

bool RenderManager::setDefaultRenderer(const std::string& name)
{
    if (!findRenderer(name)) {
        logError("No render engine is registered under \"" + name + "\"; the default stays \"" +
                 mDefaultRenderer + "\"");
        return false;
    }
    mDefaultRenderer = name;
    return true;
}

int RenderManager::initializeRenderer(bool createDefaultWindow)
{
    for (auto& entry : mRenderers) {
        entry.second->initialize();
    }
    if (createDefaultWindow) {
        createRenderWindow("default", 800, 600, false, 0, 0, nullptr);
    }
    mInitialized = true;
    return 1;
}

RenderWindow* RenderManager::createRenderWindow(const std::string& name, int width, int height, bool fullscreen,
                                                int offsetX, int offsetY,
                                                CppLib::LinkedMap<std::string, std::string>* params)
{
    RenderEngine* engine = findRenderer(mDefaultRenderer);
    if (!engine) {
        logError("Cannot create render window \"" + name + "\": no render engine is registered");
        return nullptr;
    }
    const int id = createWindowId();
    RenderWindow* window = engine->createRenderWindow(id, name, width, height, fullscreen, offsetX, offsetY, params);
    if (!window) {
        return nullptr;
    }
    mWindows.put(id, window);
    if (mPrimaryWindowId == -1) {
        mPrimaryWindowId = id;
        window->setPrimary(true);
    }
    mProcessList.push_back(new RenderAdapter(*window));
    return window;
}

std::vector<std::pair<int, int>> RenderManager::getFullscreenSizes() const
{
    const RenderEngine* engine = findRenderer(mDefaultRenderer);
    return engine ? engine->getFullscreenSizes() : std::vector<std::pair<int, int>>();
}

bool RenderManager::destroyRenderWindow(int id)
{
    RenderWindow** found = mWindows.find(id);
    if (!found) {
        return false;
    }
    RenderWindow* window = *found;
    mWindows.remove(id);
    removeRenderAdapter(id);
    if (mPrimaryWindowId == id) {
        mPrimaryWindowId = -1;
    }
    delete window;
    return true;
}

RenderWindow* RenderManager::getRenderWindow(int id) const
{
    RenderWindow* const* found = mWindows.find(id);
    return found ? *found : nullptr;
}

RenderWindow* RenderManager::getPrimaryRenderWindow() const
{
    return getRenderWindow(mPrimaryWindowId);
}

int RenderManager::setPrimaryRenderWindow(int id)
{
    const int previous = mPrimaryWindowId;
    RenderWindow* window = getRenderWindow(id);
    if (window) {
        if (RenderWindow* old = getPrimaryRenderWindow()) {
            old->setPrimary(false);
        }
        window->setPrimary(true);
        mPrimaryWindowId = id;
    }
    return previous;
}

RenderWindow* RenderManager::getRenderWindowByName(const std::string& name) const
{
    for (const auto& entry : mWindows) {
        if (entry.second->getName() == name) {
            return entry.second;
        }
    }
    return nullptr;
}

CppLib::Vector<std::string> RenderManager::getRendererNames() const
{
    CppLib::Vector<std::string> names;
    for (const auto& entry : mRenderers) {
        names.append(entry.first);
    }
    return names;
}

RenderEngine* RenderManager::findRenderer(const std::string& name) const
{
    RenderEngine* const* found = mRenderers.find(name);
    return found ? *found : nullptr;
}

int RenderManager::createWindowId() const
{
    // The id is the number of windows, as long as that id is free: after a
    // window other than the last was destroyed it may still be in use, and
    // then the lowest free id is taken instead.
    int id = static_cast<int>(mWindows.getSize());
    if (!mWindows.contains(id)) {
        return id;
    }
    id = 0;
    while (mWindows.contains(id)) {
        ++id;
    }
    return id;
}

void RenderManager::removeRenderAdapter(int windowId)
{
    for (auto adapter = mProcessList.begin(); adapter != mProcessList.end(); ++adapter) {
        auto* render = static_cast<RenderAdapter*>(*adapter);
        if (render->getTargetRenderer().getId() == windowId) {
            delete render;
            mProcessList.erase(adapter);
            return;
        }
    }
}

} // namespace Velta
