#include "SceneProbe.h"

#include "core/ProcessManager.h"
#include "scene/Branch.h"
#include "scene/Light.h"
#include "scene/SceneGraph.h"
#include "scene/SceneManager.h"
#include "scene/UpdateTraverser.h"
#include "support/AllocationCounter.h"
#include "support/CoreFixture.h"

#include <memory>
#include <vector>

using namespace Velta;
using SceneTest::expectBox;
using SceneTest::expectPoint;
using SceneTest::worldBound;
using SceneTest::worldOrigin;
using SceneTest::ProbeLeaf;
using SceneTest::ProbeTransformation;

namespace {

using UpdatePass = VeltaTest::CoreFixture;

/// A group of three placed unit boxes, at x = 0, 10 and 20.
struct Row {
    explicit Row(Branch& parent) : group("row")
    {
        for (int i = 0; i < 3; ++i) {
            places.push_back(std::make_unique<ProbeTransformation>("place" + std::to_string(i)));
            boxes.push_back(std::make_unique<ProbeLeaf>("box" + std::to_string(i), Point(0, 0, 0), Point(1, 1, 1)));
            places[i]->setChild(*boxes[i]);
            places[i]->translate(10.0f * i, 0, 0, true);
            group.attachChild(*places[i]);
        }
        parent.attachChild(group);
    }

    Branch group;
    std::vector<std::unique_ptr<ProbeTransformation>> places;
    std::vector<std::unique_ptr<ProbeLeaf>> boxes;
};

/// How many nodes of the row the last passes finished (left), per node.
std::vector<int> finished(const Row& row)
{
    std::vector<int> counts;
    for (int i = 0; i < 3; ++i) {
        counts.push_back(row.places[i]->mLeft);
        counts.push_back(row.boxes[i]->mLeft);
    }
    return counts;
}

} // namespace

TEST_F(UpdatePass, TheFirstPassUpdatesEverythingAndTheNextTouchesOnlyTheFirstLevel)
{
    SceneGraph& scene = core().getSceneManager().createSceneGraph();
    Row row(*scene.getRoot());
    ProbeLeaf loose("loose", Point(0, 0, 0), Point(1, 1, 1));
    scene.getRoot()->attachChild(loose);
    UpdateTraverser& pass = *scene.getUpdateTraverser();

    pass.update(0);
    EXPECT_EQ(pass.getNodeCount(), 8);
    EXPECT_EQ(finished(row), (std::vector<int>{1, 1, 1, 1, 1, 1}));
    for (const Node* node : {static_cast<Node*>(scene.getRoot()), static_cast<Node*>(&row.group),
                             static_cast<Node*>(row.boxes[2].get()), static_cast<Node*>(&loose)}) {
        EXPECT_EQ(node->getNodeStatus(), Node::UPDATED) << node->getName();
        EXPECT_FALSE(node->isUpdating());
    }

    pass.update(0);
    EXPECT_EQ(pass.getNodeCount(), 2); // the row and the loose leaf, handed over and skipped
    EXPECT_EQ(finished(row), (std::vector<int>{1, 1, 1, 1, 1, 1}));
    EXPECT_EQ(loose.mLeft, 1);
    EXPECT_EQ(row.places[0]->mEntered, 1);
}

TEST_F(UpdatePass, AMovedOrChangedNodeIsRecomputedWithItsSubtreeButNotItsSiblings)
{
    SceneGraph& scene = core().getSceneManager().createSceneGraph();
    Row row(*scene.getRoot());
    scene.getUpdateTraverser()->update(0);

    row.places[1]->translate(0, 5, 0, false);
    EXPECT_EQ(row.places[1]->getNodeStatus(), Node::MODIFIED);
    EXPECT_EQ(row.group.getNodeStatus(), Node::CHILD_MODIFIED);
    EXPECT_EQ(scene.getRoot()->getNodeStatus(), Node::CHILD_MODIFIED);
    EXPECT_FALSE(row.group.isModified(true));
    EXPECT_TRUE(row.group.isModified(false));

    scene.getUpdateTraverser()->update(0);
    EXPECT_EQ(finished(row), (std::vector<int>{1, 1, 2, 2, 1, 1}));
    expectPoint(worldOrigin(*row.boxes[1]), 10, 5, 0);
    expectPoint(worldOrigin(*row.boxes[2]), 20, 0, 0);
    expectBox(worldBound(*row.boxes[1]), Point(10, 5, 0), Point(11, 6, 1));
    // The row's bound takes in the moved box and the two that were skipped.
    expectBox(worldBound(row.group), Point(0, 0, 0), Point(21, 6, 1));

    row.places[2]->reset();
    row.places[2]->translate(-4, 0, -2, true);
    scene.getUpdateTraverser()->update(0);
    expectBox(worldBound(*row.places[2]), Point(-4, 0, -2), Point(-3, 1, -1));
    expectBox(worldBound(row.group), Point(-4, 0, -2), Point(11, 6, 1));
    EXPECT_EQ(worldBound(*scene.getRoot()).getState(), BoundingVolume::INFINITE);

    // A leaf whose own bound changes, again and again, is updated each time.
    ProbeLeaf& box = *row.boxes[0];
    for (int round = 1; round <= 2; ++round) {
        box.mBound.set(Point(0, 0, 0), Point(1, round + 6.0f, 1));
        box.touch();
        EXPECT_EQ(box.getNodeStatus(), Node::MODIFIED);
        EXPECT_EQ(row.places[0]->getNodeStatus(), Node::CHILD_MODIFIED);
        box.touch(); // already marked: changes nothing
        EXPECT_EQ(row.group.getNodeStatus(), Node::CHILD_MODIFIED);

        scene.getUpdateTraverser()->update(0);
        EXPECT_EQ(box.getNodeStatus(), Node::UPDATED);
        EXPECT_EQ(box.mLeft, round + 1);
        expectBox(worldBound(row.group), Point(-4, 0, -2), Point(11, round + 6.0f, 1));
    }
}

TEST_F(UpdatePass, MovingAGroupCarriesEverythingBelowItAndLaterNodesTakeTheirPlace)
{
    SceneGraph& scene = core().getSceneManager().createSceneGraph();
    TransformationNode carrier("carrier");
    scene.getRoot()->attachChild(carrier);
    Branch holder("holder");
    carrier.setChild(holder);
    Row row(holder);
    scene.getUpdateTraverser()->getUpdateHandler().setComputeInverse(true);
    scene.getUpdateTraverser()->update(0);

    carrier.rotateY(1.57079632679f, true);
    carrier.translate(0, 0, 3, false);
    scene.getUpdateTraverser()->update(0);
    EXPECT_EQ(finished(row), (std::vector<int>{2, 2, 2, 2, 2, 2}));
    // A quarter turn about y takes +x to −z and +z to +x.
    expectPoint(worldOrigin(*row.boxes[2]), 0, 0, -17);
    expectBox(worldBound(carrier), Point(0, 0, -18), Point(1, 1, 3));
    const TransformedNode& placed = row.boxes[2]->getTransformedNode();
    const Point back(placed.getInverseWorldTransformation() * CppLib::TVector<float, 4>(0, 0, -17, 1));
    expectPoint(back, 0, 0, 0);

    ProbeLeaf late("late", Point(0, 0, 0), Point(1, 1, 5));
    holder.attachChild(late);
    scene.getUpdateTraverser()->update(0);
    expectPoint(worldOrigin(late), 0, 0, 3);
    expectBox(worldBound(carrier), Point(0, 0, -18), Point(5, 1, 3));

    // Moved from one group into another, a node takes the new place.
    TransformationNode other("other");
    other.translate(0, -7, 0, true);
    scene.getRoot()->attachChild(other);
    scene.getUpdateTraverser()->update(0);
    holder.detachChild(late.getNodeId());
    other.setChild(late);
    scene.getUpdateTraverser()->update(0);
    expectPoint(worldOrigin(late), 0, -7, 0);
    expectBox(worldBound(carrier), Point(0, 0, -18), Point(1, 1, 3));
}

TEST_F(UpdatePass, GroupBoundsFollowTheirChildrenThroughEveryState)
{
    SceneGraph& scene = core().getSceneManager().createSceneGraph();
    Branch group("group");
    scene.getRoot()->attachChild(group);
    scene.getUpdateTraverser()->update(0);
    EXPECT_EQ(worldBound(group).getState(), BoundingVolume::EMPTY);

    Row row(group);
    Light lamp;
    group.attachChild(lamp);
    scene.getUpdateTraverser()->update(0);
    EXPECT_EQ(worldBound(group).getState(), BoundingVolume::INFINITE);
    EXPECT_EQ(worldBound(row.group).getState(), BoundingVolume::FINITE);

    row.places[0]->translate(1, 0, 0, true);
    scene.getUpdateTraverser()->update(0);
    EXPECT_EQ(worldBound(group).getState(), BoundingVolume::INFINITE);

    group.detachChild(lamp.getNodeId());
    row.group.detachChild(row.places[2]->getNodeId());
    scene.getUpdateTraverser()->update(0);
    expectBox(worldBound(group), Point(1, 0, 0), Point(11, 1, 1));
}

TEST_F(UpdatePass, AFrameOverALargeSceneAllocatesNothing)
{
    SceneGraph& scene = core().getSceneManager().createSceneGraph();
    // 50 objects of 99 placed boxes each: 10,001 nodes with the root.
    std::vector<std::unique_ptr<Node>> nodes;
    TransformationNode* moving = nullptr;
    for (int object = 0; object < 50; ++object) {
        auto place = std::make_unique<TransformationNode>();
        auto holder = std::make_unique<Branch>();
        place->setChild(*holder);
        for (int i = 0; i < 99; ++i) {
            auto boxPlace = std::make_unique<TransformationNode>();
            auto box = std::make_unique<ProbeLeaf>("", Point(0, 0, 0), Point(1, 1, 1));
            boxPlace->translate(float(i), 0, float(object), true);
            boxPlace->setChild(*box);
            holder->attachChild(*boxPlace);
            moving = boxPlace.get();
            nodes.push_back(std::move(box));
            nodes.push_back(std::move(boxPlace));
        }
        scene.getRoot()->attachChild(*place);
        nodes.push_back(std::move(holder));
        nodes.push_back(std::move(place));
    }
    ASSERT_EQ(scene.getNodeCount(), 10001);
    ProcessManager& processes = core().getProcessManager();
    processes.update(true);

    {
        VeltaTest::AllocationCounter allocations;
        for (int frame = 0; frame < 10; ++frame) {
            processes.update(true);
        }
        EXPECT_EQ(allocations.getCount(), 0u);
    }
    {
        VeltaTest::AllocationCounter allocations;
        moving->translate(0, 1, 0, true);
        processes.update(true);
        EXPECT_EQ(allocations.getCount(), 0u);
    }
    expectPoint(worldOrigin(*moving->getChild()), 98, 1, 49);
}
