#include "SceneProbe.h"

#include "scene/BoundingFilter.h"
#include "scene/Branch.h"
#include "scene/Light.h"
#include "scene/SceneGraph.h"
#include "scene/SceneManager.h"
#include "scene/UpdateTraverser.h"
#include "support/CoreFixture.h"

using namespace Velta;
using SceneTest::NamedFilter;
using SceneTest::ProbeLeaf;
using SceneTest::RecordingHandler;
using Log = std::vector<std::string>;

namespace {

using Walks = VeltaTest::CoreFixture;

/// R with children A (holding A1) and B.
struct Tree {
    Tree() : r("R"), a("A"), b("B"), a1("A1")
    {
        a.attachChild(a1);
        r.attachChild(a);
        r.attachChild(b);
    }

    Branch r;
    Branch a;
    ProbeLeaf b;
    ProbeLeaf a1;
};

struct Walker {
    explicit Walker(Node& root) : traverser(root), handler(new RecordingHandler())
    {
        traverser.addHandler(handler);
    }

    Log walk(int maxDepth = 0, bool reverse = false)
    {
        handler->mLog.clear();
        traverser.reset(true);
        result = traverser.walk(maxDepth, reverse);
        return handler->mLog;
    }

    Traverser traverser;
    CppLib::SharedPtr<RecordingHandler> handler;
    Node* result = nullptr;
};

} // namespace

TEST_F(Walks, AWalkEntersEveryNodeInOrderAndLeavesEveryGroupUp)
{
    Tree tree;
    Walker walker(tree.r);
    EXPECT_EQ(walker.walk(), (Log{"R DOWN", "A DOWN", "A1 DOWN", "A UP", "B NEXT", "R UP"}));
    EXPECT_EQ(walker.result, nullptr);
    EXPECT_EQ(walker.traverser.getNodeCount(), 4);
    EXPECT_EQ(walker.traverser.getMaxDepth(), 2);

    EXPECT_EQ(walker.walk(0, true), (Log{"R DOWN", "B DOWN", "A PREVIOUS", "A1 DOWN", "A UP", "R UP"}));

    EXPECT_EQ(walker.walk(1), (Log{"R DOWN", "A DOWN", "B NEXT", "R UP"})); // a depth limit
    EXPECT_EQ(walker.walk(2), walker.walk(0));

    walker.traverser.setSkipRoot(true);
    EXPECT_EQ(walker.walk(), (Log{"A DOWN", "A1 DOWN", "A UP", "B NEXT", "R UP"}));
}

TEST_F(Walks, FilterAndHandlerAnswersSkipAcceptOrAbortAsTheyShould)
{
    Tree tree;
    // SKIP from a filter leaves the node out, from a handler only its children.
    Walker filtered(tree.r);
    filtered.traverser.addFilter(CppLib::SharedPtr<Traverser::Filter>(new NamedFilter("A", Traverser::SKIP)));
    EXPECT_EQ(filtered.walk(), (Log{"R DOWN", "B DOWN", "R UP"}));
    Walker handled(tree.r);
    handled.handler->mAnswerAt = "A";
    handled.handler->mAnswer = Traverser::SKIP;
    EXPECT_EQ(handled.walk(), (Log{"R DOWN", "A DOWN", "B NEXT", "R UP"}));

    // A filter that answers HANDLED lets the node in without asking the rest;
    // ABORT from a filter is no decision: the next filter is asked.
    Walker accepted(tree.r);
    accepted.traverser.addFilter(CppLib::SharedPtr<Traverser::Filter>(new NamedFilter("A", Traverser::HANDLED)));
    accepted.traverser.addFilter(CppLib::SharedPtr<Traverser::Filter>(new NamedFilter("A", Traverser::SKIP)));
    accepted.traverser.addFilter(CppLib::SharedPtr<Traverser::Filter>(new NamedFilter("B", Traverser::ABORT)));
    EXPECT_EQ(accepted.walk().size(), 6u);

    // ABORT from a handler ends the walk at that node.
    handled.handler->mAnswerAt = "A1";
    handled.handler->mAnswer = Traverser::ABORT;
    EXPECT_EQ(handled.walk(), (Log{"R DOWN", "A DOWN", "A1 DOWN"}));
    EXPECT_EQ(handled.result, &tree.a1);
    handled.handler->mAnswerAt = "R";
    EXPECT_EQ(handled.walk(), (Log{"R DOWN"}));
    EXPECT_EQ(handled.result, &tree.r);
}

TEST_F(Walks, ImpossibleStepsAnswerNullAndWalksFromAnInnerNodeStayInsideIt)
{
    Tree tree;
    Branch c("C");
    tree.r.attachChild(c);
    Walker walker(tree.r);
    Traverser& traverser = walker.traverser;

    EXPECT_EQ(traverser.moveUp(), nullptr);
    EXPECT_EQ(traverser.nextSibling(), nullptr);
    EXPECT_EQ(traverser.moveDown(5), nullptr);
    EXPECT_EQ(traverser.moveDown(-2), nullptr);
    EXPECT_EQ(traverser.getCurrentNode(), &tree.r);
    EXPECT_EQ(traverser.getCurrentPos(), -1);

    EXPECT_EQ(traverser.moveDown(-1), &c);
    EXPECT_EQ(traverser.getCurrentPos(), 2);
    EXPECT_EQ(traverser.nextSibling(), nullptr);
    // A start without children has no subtree to leave into its siblings.
    EXPECT_EQ(traverser.walk(0, false), nullptr);
    EXPECT_EQ(walker.handler->mLog, (Log{"C DOWN"}));

    traverser.reset(true);
    traverser.moveDown(2);
    EXPECT_EQ(traverser.prevSibling(), &tree.b);
    EXPECT_EQ(traverser.prevSibling(), &tree.a);
    EXPECT_EQ(traverser.prevSibling(), nullptr);
    EXPECT_EQ(traverser.getCurrentNode(), &tree.a);
    walker.handler->mLog.clear();
    traverser.walk(0, false);
    EXPECT_EQ(walker.handler->mLog, (Log{"A DOWN", "A1 DOWN", "A UP"}));

    traverser.reset(true);
    traverser.moveDown(0);
    EXPECT_EQ(traverser.moveDown(0), &tree.a1);
    EXPECT_TRUE(traverser.isLeaf());
    EXPECT_EQ(traverser.getChildCount(), -1);
    EXPECT_EQ(traverser.moveDown(0), nullptr);
    EXPECT_EQ(traverser.getCurrentDepth(), 2);
    EXPECT_EQ(traverser.moveUp(), &tree.a);
    EXPECT_EQ(traverser.moveUp(), &tree.r);
    EXPECT_EQ(traverser.moveUp(), nullptr);

    // A traverser over an inner node never climbs above it.
    Traverser inner(tree.a);
    EXPECT_EQ(inner.moveUp(), nullptr);
    inner.moveDown(0);
    EXPECT_EQ(inner.nextSibling(), nullptr);
}

TEST_F(Walks, ABoundingFilterInPointModeFindsWhatContainsThePoint)
{
    SceneGraph& scene = core().getSceneManager().createSceneGraph();
    Branch lights("lights");
    Light lamp("lamp");
    lights.attachChild(lamp);
    Branch boxes("boxes");
    ProbeLeaf near("near", Point(0, 0, 0), Point(1, 1, 1));
    ProbeLeaf far("far", Point(5, 5, 5), Point(6, 6, 6));
    Branch empty("empty");
    boxes.attachChild(near);
    boxes.attachChild(far);
    scene.getRoot()->attachChild(lights);
    scene.getRoot()->attachChild(boxes);
    scene.getRoot()->attachChild(empty);
    scene.getUpdateTraverser()->update(0);

    Walker walker(*scene.getRoot());
    walker.traverser.addFilter(CppLib::SharedPtr<Traverser::Filter>(new BoundingFilter(Point(1, 1, 1))));
    // The lights' group is unbounded and so contains the point; bounds are
    // inclusive; an EMPTY bound contains nothing.
    EXPECT_EQ(walker.walk(), (Log{" DOWN", "lights DOWN", "lamp DOWN", "lights UP", "boxes NEXT", "near DOWN",
                                  "boxes UP", " UP"}));
}

TEST_F(Walks, ABoundingFilterInVolumeModeFindsWhatTheVolumeMeets)
{
    SceneGraph& scene = core().getSceneManager().createSceneGraph();
    TransformationNode placed("placed");
    SceneTest::ProbeDrawable cube("cube", Point(-1, -1, -1), Point(1, 1, 1));
    placed.setChild(cube);
    placed.translate(10, 0, 0, true);
    placed.rotateZ(0.785398f, true); // the world box is wider than the cube
    ProbeLeaf other("other", Point(-1, -1, -1), Point(1, 1, 1));
    scene.getRoot()->attachChild(placed);
    scene.getRoot()->attachChild(other);
    scene.getUpdateTraverser()->update(0);

    const BoundingBox probe(Point(-0.05f, -0.05f, -0.05f), Point(0.05f, 0.05f, 0.05f));
    CppLib::SharedPtr<BoundingFilter> bounding(new BoundingFilter(probe));
    Walker walker(*scene.getRoot());
    walker.traverser.setSkipRoot(true);
    walker.traverser.addFilter(bounding);
    EXPECT_EQ(walker.walk(), (Log{"other DOWN", " UP"}));

    // Inside the cube's world box, beside the cube's corner.
    bounding->setBoundingVolume(probe, CppLib::Matrix<float, 4>::translation(11.3f, 1.3f, 0));
    EXPECT_EQ(walker.walk(), (Log{"placed DOWN", "cube DOWN", "placed UP", " UP"}));
    bounding->setTestDrawableVolumes(true);
    EXPECT_EQ(walker.walk(), (Log{"placed DOWN", " UP"}));
    bounding->setBoundingVolume(probe, CppLib::Matrix<float, 4>::translation(10.9f, 0, 0));
    EXPECT_EQ(walker.walk(), (Log{"placed DOWN", "cube DOWN", "placed UP", " UP"}));
}
