#include "scene/SceneManager.h"

#include "scene/Overlay.h"
#include "scene/SceneGraph.h"
#include "scene/UpdateTraverser.h"

namespace Velta {

SceneManager::UpdateAdapter::UpdateAdapter(SceneRoot& scene) : mSceneRoot(&scene) {}

SceneManager::UpdateAdapter::~UpdateAdapter() = default;

int SceneManager::UpdateAdapter::run(long long time)
{
    return mSceneRoot->getUpdateTraverser()->update(time);
}

SceneManager::SceneManager()
{
    setSubsystemId(3);
}

SceneManager::~SceneManager()
{
    for (Process* process : mProcessList) {
        delete process;
    }
    for (int i = 0; i < getSceneGraphCount(); ++i) {
        delete mSceneGraphs.getValue(i);
    }
    for (int i = 0; i < getOverlayCount(); ++i) {
        delete mOverlays.getValue(i);
    }
}

unsigned long long SceneManager::createNodeId()
{
    return ++mLastNodeId;
}

int SceneManager::createSceneId()
{
    return ++mLastSceneId;
}

SceneGraph& SceneManager::createSceneGraph()
{
    SceneGraph* scene = new SceneGraph(createSceneId());
    mSceneGraphs.put(scene->getSceneId(), scene);
    addUpdateProcess(*scene);
    return *scene;
}

Overlay& SceneManager::createOverlay()
{
    Overlay* overlay = new Overlay(createSceneId());
    mOverlays.put(overlay->getSceneId(), overlay);
    addUpdateProcess(*overlay);
    return *overlay;
}

SceneGraph* SceneManager::getSceneGraph(int index)
{
    return mSceneGraphs.getValue(index);
}

Overlay* SceneManager::getOverlay(int index)
{
    return mOverlays.getValue(index);
}

SceneGraph* SceneManager::getSceneGraphById(int id)
{
    SceneGraph** scene = mSceneGraphs.find(id);
    return scene ? *scene : nullptr;
}

Overlay* SceneManager::getOverlayById(int id)
{
    Overlay** overlay = mOverlays.find(id);
    return overlay ? *overlay : nullptr;
}

bool SceneManager::deleteSceneGraph(SceneGraph& scene)
{
    if (getSceneGraphById(scene.getSceneId()) != &scene) {
        return false;
    }
    mSceneGraphs.remove(scene.getSceneId());
    removeUpdateProcess(scene);
    delete &scene;
    return true;
}

bool SceneManager::deleteOverlay(Overlay& overlay)
{
    if (getOverlayById(overlay.getSceneId()) != &overlay) {
        return false;
    }
    mOverlays.remove(overlay.getSceneId());
    removeUpdateProcess(overlay);
    delete &overlay;
    return true;
}

void SceneManager::addUpdateProcess(SceneRoot& scene)
{
    mProcessList.push_back(new UpdateAdapter(scene));
}

void SceneManager::removeUpdateProcess(SceneRoot& scene)
{
    for (auto it = mProcessList.begin(); it != mProcessList.end(); ++it) {
        UpdateAdapter* adapter = static_cast<UpdateAdapter*>(*it);
        if (&adapter->getSceneRoot() == &scene) {
            mProcessList.erase(it);
            delete adapter;
            return;
        }
    }
}

} // namespace Velta
