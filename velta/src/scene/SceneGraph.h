#pragma once

#include "VeltaExport.h"
#include "scene/SceneRoot.h"

namespace Velta {

/// A 3D scene, seen through the cameras placed in it.
class VELTA_EXPORT SceneGraph : public SceneRoot {
public:
    explicit SceneGraph(int sceneId);
    ~SceneGraph() override;
};

} // namespace Velta
