// The scene update pass and the culled view walk over a 10,000-node scene.
//
// Update: the pass with nothing moved and with one leaf moved, against the
// pass with everything moved (and a plain recursive recomputation of the
// same matrices and bounds, for the cost of the walk itself).
// View: the culled walk of a camera's view, against a plain recursive loop
// that applies the same frustum test to the same nodes. Compare ns per node.
#include "core/VeltaCore.h"
#include "scene/Branch.h"
#include "scene/Camera.h"
#include "scene/Frustrum.h"
#include "scene/Leaf.h"
#include "scene/SceneGraph.h"
#include "scene/SceneManager.h"
#include "scene/TransformationNode.h"
#include "scene/UpdateTraverser.h"
#include "scene/View.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

namespace {

using namespace Velta;

Velta::VeltaCore& core()
{
    return CppLib::Singleton<Velta::VeltaCore>::getSingleton();
}

class Box : public Leaf {
public:
    Box() : Leaf(OBJECT), mBound(Point(0, 0, 0), Point(0.8f, 0.8f, 0.8f)) {}
    const BoundingVolume* getBoundingVolume() const override { return &mBound; }

private:
    BoundingBox mBound;
};

/// 50 objects, each a placed branch of 99 placed boxes on a grid (x = box,
/// z = object): 10,000 nodes below the root, and a camera.
struct Scene {
    Scene() : graph(core().getSceneManager().createSceneGraph())
    {
        for (int object = 0; object < 50; ++object) {
            auto place = std::make_unique<TransformationNode>();
            auto holder = std::make_unique<Branch>();
            place->setChild(*holder);
            place->translate(0, 0, float(object), true);
            for (int i = 0; i < 99; ++i) {
                auto boxPlace = std::make_unique<TransformationNode>();
                auto box = std::make_unique<Box>();
                boxPlace->translate(float(i), 0, 0, true);
                boxPlace->setChild(*box);
                holder->attachChild(*boxPlace);
                leafPlace = boxPlace.get();
                nodes.push_back(std::move(box));
                nodes.push_back(std::move(boxPlace));
            }
            graph.getRoot()->attachChild(*place);
            objects.push_back(place.get());
            nodes.push_back(std::move(holder));
            nodes.push_back(std::move(place));
        }
        cameraPlace.setChild(camera);
        cameraPlace.translate(50, 1, 25, true); // sees about half the scene
        graph.getRoot()->attachChild(cameraPlace);
        update();
    }

    ~Scene() { core().getSceneManager().deleteSceneGraph(graph); }

    void update() { graph.getUpdateTraverser()->update(0); }

    SceneGraph& graph;
    std::vector<std::unique_ptr<Node>> nodes;
    std::vector<TransformationNode*> objects;
    TransformationNode* leafPlace = nullptr;
    TransformationNode cameraPlace;
    Camera camera;
};

/// Starts the core around one benchmark.
struct Core {
    Core() { core().startup(); }
    ~Core() { core().shutdown(); }
};

void BM_UpdateEverythingMoved(benchmark::State& state)
{
    Core running;
    Scene scene;
    float step = 0.001f;
    for (auto _ : state) {
        for (TransformationNode* object : scene.objects) {
            object->translate(step, 0, 0, true);
        }
        step = -step;
        scene.update();
    }
    state.SetItemsProcessed(state.iterations() * 10000);
}
BENCHMARK(BM_UpdateEverythingMoved);

/// The same work as a moved-everything pass, as a plain recursion.
void recompute(Node& node, const CppLib::Matrix<float, 4>& parentWorld, BoundingVolume& parentBound)
{
    TransformedNode& placed = node.getTransformedNode();
    const Transformation* local = node.asTransformation();
    placed.assignWorldTransformation(local ? parentWorld * local->getLocalTransformation() : parentWorld);
    BoundingVolume& bound = placed.getBoundingVolume();
    bound.setEmpty();
    if (const Leaf* leaf = node.asLeaf()) {
        if (const BoundingVolume* own = leaf->getBoundingVolume()) {
            bound.expand(*own, placed.getWorldTransformation());
        }
    } else if (const Group* group = node.asGroup()) {
        for (int i = 0; i < group->getAttachedChildCount(); ++i) {
            recompute(*group->getAttachedChild(i), placed.getWorldTransformation(), bound);
        }
    }
    parentBound.expand(bound);
}

void BM_UpdateBaselineRecursion(benchmark::State& state)
{
    Core running;
    Scene scene;
    Branch& root = *scene.graph.getRoot();
    float step = 0.001f;
    for (auto _ : state) {
        for (TransformationNode* object : scene.objects) {
            object->translate(step, 0, 0, true);
        }
        step = -step;
        for (int i = 0; i < root.getAttachedChildCount(); ++i) {
            recompute(*root.getAttachedChild(i), CppLib::Matrix<float, 4>(),
                      root.getTransformedNode().getBoundingVolume());
        }
    }
    state.SetItemsProcessed(state.iterations() * 10000);
}
BENCHMARK(BM_UpdateBaselineRecursion);

void BM_UpdateNothingMoved(benchmark::State& state)
{
    Core running;
    Scene scene;
    for (auto _ : state) {
        scene.update();
    }
}
BENCHMARK(BM_UpdateNothingMoved);

void BM_UpdateOneLeafMoved(benchmark::State& state)
{
    Core running;
    Scene scene;
    float step = 0.001f;
    for (auto _ : state) {
        scene.leafPlace->translate(0, step, 0, true);
        step = -step;
        scene.update();
    }
}
BENCHMARK(BM_UpdateOneLeafMoved);

/// Counts the nodes a view walk enters.
class Counter : public Traverser::Handler {
public:
    StatusResult handle(Node&, Direction direction, Node*) override
    {
        mEntered += direction != UP;
        return CONTINUE;
    }
    long long mEntered = 0;
};

void BM_ViewWalkCulled(benchmark::State& state)
{
    Core running;
    Scene scene;
    CppLib::SharedPtr<View> view = scene.camera.getView(4.0f / 3.0f);
    CppLib::SharedPtr<Counter> counter(new Counter());
    view->addHandler(counter);
    for (auto _ : state) {
        view->reset(true);
        view->walk(0, false);
    }
    state.SetItemsProcessed(counter->mEntered);
    state.counters["entered"] = double(counter->mEntered) / double(state.iterations());
}
BENCHMARK(BM_ViewWalkCulled);

long long cullRecursively(const Node& node, const Frustrum& frustrum)
{
    long long entered = 1;
    if (const Group* group = node.asGroup()) {
        for (int i = 0; i < group->getAttachedChildCount(); ++i) {
            const Node& child = *group->getAttachedChild(i);
            if (child.getTransformedNode().getBoundingVolume().getDistance(frustrum) >= 0.0f) {
                entered += cullRecursively(child, frustrum);
            }
        }
    }
    return entered;
}

void BM_ViewBaselineRecursion(benchmark::State& state)
{
    Core running;
    Scene scene;
    CppLib::SharedPtr<View> view = scene.camera.getView(4.0f / 3.0f);
    long long entered = 0;
    for (auto _ : state) {
        entered += cullRecursively(*scene.graph.getRoot(), *view->getFrustrum());
    }
    state.SetItemsProcessed(entered);
    state.counters["entered"] = double(entered) / double(state.iterations());
}
BENCHMARK(BM_ViewBaselineRecursion);

} // namespace
