#include "SceneProbe.h"

#include "scene/Branch.h"
#include "scene/SceneGraph.h"
#include "scene/SceneManager.h"
#include "support/CoreFixture.h"

#include <memory>

using namespace Velta;
using SceneTest::ProbeLeaf;

namespace {

using Nodes = VeltaTest::CoreFixture;

} // namespace

TEST_F(Nodes, AttachingAGroupBelowTheRootBringsItsWholeSubtreeIntoTheScene)
{
    SceneGraph& scene = core().getSceneManager().createSceneGraph();
    Branch group("group");
    ProbeLeaf leaf("leaf");
    EXPECT_EQ(leaf.getNodeId(), group.getNodeId() + 1);
    EXPECT_EQ(group.getNodeStatus(), Node::NEW);
    EXPECT_TRUE(group.isModified(true));
    ASSERT_EQ(group.attachChild(leaf), 0);
    EXPECT_EQ(group.getNodeStatus(), Node::MODIFIED);
    EXPECT_FALSE(leaf.isAttached());

    ASSERT_EQ(scene.getRoot()->attachChild(group), 0);
    EXPECT_EQ(leaf.getSceneRoot(), &scene);
    EXPECT_EQ(group.getSceneRoot(), &scene);
    EXPECT_EQ(scene.getNodeCount(), 3);
    // The root's own child list changed: it is marked as changed itself.
    EXPECT_EQ(scene.getRoot()->getNodeStatus(), Node::MODIFIED);
}

TEST_F(Nodes, NodesWithAParentAScenesRootAndAncestorsAreRefusedAndNothingChanges)
{
    SceneGraph& scene = core().getSceneManager().createSceneGraph();
    Branch top("top");
    Branch middle("middle");
    Branch bottom("bottom");
    ASSERT_EQ(top.attachChild(middle), 0);
    ASSERT_EQ(middle.attachChild(bottom), 0);
    ProbeLeaf leaf;
    ASSERT_EQ(top.attachChild(leaf), 1);
    EXPECT_EQ(bottom.attachChild(leaf), -1);
    EXPECT_EQ(leaf.getParent(), &top);
    // A scene's root belongs to its scene and cannot hang anywhere else.
    EXPECT_EQ(bottom.attachChild(*scene.getRoot()), -1);

    testing::internal::CaptureStderr();
    EXPECT_EQ(bottom.attachChild(top), -1);
    EXPECT_EQ(top.attachChild(top), -1);
    const std::string log = testing::internal::GetCapturedStderr();

    EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 2) << log;
    EXPECT_EQ(top.getParent(), nullptr);
    EXPECT_EQ(bottom.getAttachedChildCount(), 0);
    EXPECT_EQ(top.getAttachedChildCount(), 2);
}

TEST_F(Nodes, DetachingOrDestroyingNodesNeverLeavesADanglingChildOrParent)
{
    SceneGraph& scene = core().getSceneManager().createSceneGraph();
    auto group = std::make_unique<Branch>();
    auto a = std::make_unique<ProbeLeaf>();
    ProbeLeaf b;
    ProbeLeaf c;
    group->attachChild(*a);
    group->attachChild(b);
    group->attachChild(c);
    scene.getRoot()->attachChild(*group);

    EXPECT_EQ(group->detachChild(scene.getRoot()->getNodeId()), nullptr); // not a child
    EXPECT_EQ(group->detachChild(b.getNodeId()), &b);
    EXPECT_EQ(group->getAttachedChild(1), &c);
    EXPECT_FALSE(b.isAttached());
    EXPECT_EQ(b.getParent(), nullptr);

    a.reset(); // still attached when destroyed
    EXPECT_EQ(group->getAttachedChildCount(), 1);
    EXPECT_EQ(scene.getNodeCount(), 3);

    group->attachChild(b);
    scene.getRoot()->detachChild(group->getNodeId());
    EXPECT_EQ(scene.getNodeCount(), 1);
    for (const Node* node : std::initializer_list<const Node*>{group.get(), &b, &c}) {
        EXPECT_FALSE(node->isAttached());
    }
    EXPECT_EQ(c.getParent(), group.get()); // the subtree stays whole

    scene.getRoot()->attachChild(*group);
    group.reset();
    EXPECT_EQ(scene.getRoot()->getAttachedChildCount(), 0);
    EXPECT_EQ(c.getParent(), nullptr);
    EXPECT_FALSE(c.isAttached());
    EXPECT_EQ(scene.getNodeCount(), 1);
}

TEST_F(Nodes, SetChildHandsBackTheOldChildAndKeepsItWhenTheNewOneIsRefused)
{
    TransformationNode node;
    ProbeLeaf first;
    ProbeLeaf second;
    Branch elsewhere;
    ProbeLeaf taken;
    elsewhere.attachChild(taken);

    EXPECT_EQ(node.setChild(first), nullptr);
    EXPECT_EQ(node.setChild(second), &first);
    EXPECT_EQ(first.getParent(), nullptr);
    EXPECT_EQ(node.getChild(), &second);

    EXPECT_EQ(node.setChild(taken), nullptr);
    EXPECT_EQ(node.getChild(), &second);
    EXPECT_EQ(node.getAttachedChildCount(), 1);
    EXPECT_EQ(node.detachChild(), &second);
    EXPECT_EQ(node.detachChild(), nullptr);
}

TEST_F(Nodes, PropertiesReadEmptyUntilSetAndReadingDoesNotCreateThem)
{
    Branch node;
    EXPECT_EQ(node.getProperty("type"), "");
    EXPECT_FALSE(node.hasProperty("type"));
    node.setProperty("type", "item");
    node.setProperty("type", "finish");
    EXPECT_EQ(node.getProperty("type"), "finish");
}
