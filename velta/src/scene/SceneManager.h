#pragma once

#include "VeltaExport.h"
#include "core/Process.h"
#include "core/Subsystem.h"
#include "cpplib/IdMap.h"

#include <vector>

namespace Velta {

class Overlay;
class SceneGraph;
class SceneRoot;

/// Subsystem 3: creates and keeps the scene graphs and overlays, hands out
/// node and scene ids, and brings every scene up to date once per frame
/// through one update process per scene.
///
/// Owned by the engine core. The manager owns its scenes and their update
/// processes: they live until deleted through the manager or until the
/// manager goes at shutdown, which orphans the nodes still attached.
class VELTA_EXPORT SceneManager : public Subsystem {
public:
    /// Runs one scene's update pass each frame.
    class VELTA_EXPORT UpdateAdapter : public Process {
    public:
        explicit UpdateAdapter(SceneRoot& scene);
        ~UpdateAdapter() override;

        /// The scene's update pass; answers 0.
        int run(long long time) override;

        SceneRoot& getSceneRoot() const { return *mSceneRoot; }

    private:
        SceneRoot* mSceneRoot;
    };

    SceneManager();
    ~SceneManager() override;

    SceneManager(const SceneManager&) = delete;
    SceneManager& operator=(const SceneManager&) = delete;

    /// 1, 2, 3, … for the life of the manager; called by every node.
    unsigned long long createNodeId();

    /// A new, empty scene with the next scene id (graphs and overlays share
    /// the ids), updated every frame from now on.
    SceneGraph& createSceneGraph();
    Overlay& createOverlay();

    int getSceneGraphCount() const { return static_cast<int>(mSceneGraphs.getSize()); }
    int getOverlayCount() const { return static_cast<int>(mOverlays.getSize()); }

    /// By position in creation order; null outside 0 … count−1.
    SceneGraph* getSceneGraph(int index);
    Overlay* getOverlay(int index);

    /// By scene id; null when no scene of that kind has the id.
    SceneGraph* getSceneGraphById(int id);
    Overlay* getOverlayById(int id);

    /// Destroys the scene with its update process. The nodes attached to it
    /// are orphaned, not destroyed. False, changing nothing, for a scene this
    /// manager does not hold.
    bool deleteSceneGraph(SceneGraph& scene);
    bool deleteOverlay(Overlay& overlay);

    std::vector<Process*>* getProcessList() override { return &mProcessList; }

private:
    int createSceneId();
    void addUpdateProcess(SceneRoot& scene);
    void removeUpdateProcess(SceneRoot& scene);

    unsigned long long mLastNodeId = 0;
    int mLastSceneId = 0;
    std::vector<Process*> mProcessList;
    CppLib::IdMap<SceneGraph*, int> mSceneGraphs;
    CppLib::IdMap<Overlay*, int> mOverlays;
};

} // namespace Velta
