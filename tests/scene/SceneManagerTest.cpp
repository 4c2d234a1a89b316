#include "SceneProbe.h"

#include "core/ProcessManager.h"
#include "scene/Branch.h"
#include "scene/Camera.h"
#include "scene/Overlay.h"
#include "scene/SceneGraph.h"
#include "scene/SceneManager.h"
#include "support/CoreFixture.h"

using namespace Velta;

namespace {

using Scenes = VeltaTest::CoreFixture;

} // namespace

TEST_F(Scenes, ScenesShareOneIdSequenceAndAreUpdatedInCreationOrderUntilDeletedWhichNoCameraOutlives)
{
    SceneManager& manager = core().getSceneManager();
    SceneGraph& doomed = manager.createSceneGraph();
    Overlay& overlay = manager.createOverlay();
    SceneGraph& scene = manager.createSceneGraph();
    EXPECT_EQ(doomed.getSceneId(), 1);
    EXPECT_EQ(overlay.getSceneId(), 2);
    EXPECT_EQ(scene.getSceneId(), 3);
    EXPECT_EQ(manager.getSceneGraphCount(), 2);
    EXPECT_EQ(manager.getOverlayCount(), 1);
    EXPECT_EQ(manager.getSceneGraph(1), &scene);
    EXPECT_EQ(manager.getSceneGraph(2), nullptr);
    EXPECT_EQ(manager.getSceneGraphById(2), nullptr);
    EXPECT_EQ(manager.getOverlayById(2), &overlay);
    EXPECT_EQ(manager.getOverlayById(1), nullptr);

    const auto sceneOf = [&](int i) {
        return &static_cast<SceneManager::UpdateAdapter*>((*manager.getProcessList())[i])->getSceneRoot();
    };
    ASSERT_EQ(manager.getProcessList()->size(), 3u);
    EXPECT_EQ(sceneOf(0), &doomed);
    EXPECT_EQ(sceneOf(1), &overlay);
    EXPECT_EQ(sceneOf(2), &scene);

    TransformationNode place;
    SceneTest::ProbeLeaf leaf;
    place.setChild(leaf);
    scene.getRoot()->attachChild(place);
    TransformationNode hud;
    overlay.getRoot()->attachChild(hud);
    place.translate(1, 2, 3, true);
    hud.translate(0.5f, 0.5f, 0, true);
    core().getProcessManager().update(true);
    EXPECT_EQ(leaf.getNodeStatus(), Node::UPDATED);
    EXPECT_EQ(leaf.getTransformedNode().getWorldTransformation().get(1, 3), 2.0f);
    EXPECT_EQ(hud.getTransformedNode().getWorldTransformation().get(0, 3), 0.5f);

    // Deleting a scene stops its updates and orphans its nodes; a camera in
    // it is left in no scene, and cameras showing an overlay without one.
    Camera node;
    doomed.getRoot()->attachChild(node);
    Camera eye;
    eye.setOverlay(overlay);
    {
        Camera gone;
        gone.setOverlay(overlay);
    }
    SceneGraph stray(99); // not the manager's
    EXPECT_FALSE(manager.deleteSceneGraph(stray));
    EXPECT_TRUE(manager.deleteSceneGraph(doomed));
    EXPECT_EQ(manager.getSceneGraphCount(), 1);
    EXPECT_EQ(manager.getSceneGraphById(1), nullptr);
    EXPECT_EQ(manager.getProcessList()->size(), 2u);
    EXPECT_FALSE(node.isAttached());
    EXPECT_EQ(node.getParent(), nullptr);
    EXPECT_TRUE(node.getView(1.0f).isNull());

    EXPECT_TRUE(manager.deleteOverlay(overlay));
    EXPECT_EQ(eye.getOverlay(), nullptr);
    EXPECT_TRUE(eye.getOverlayView(1.0f).isNull());
    EXPECT_EQ(manager.getOverlayCount(), 0);
    ASSERT_EQ(manager.getProcessList()->size(), 1u);
    EXPECT_EQ(sceneOf(0), &scene);
    core().getProcessManager().update(true);
}
