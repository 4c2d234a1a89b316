#include "scene/SceneGraph.h"

namespace Velta {

SceneGraph::SceneGraph(int sceneId) : SceneRoot(sceneId) {}

SceneGraph::~SceneGraph() = default;

} // namespace Velta
