#include "scene/Overlay.h"

namespace Velta {

Overlay::Overlay(int sceneId) : SceneRoot(sceneId) {}

Overlay::~Overlay() = default;

} // namespace Velta
