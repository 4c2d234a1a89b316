#include "scene/Drawable.h"

namespace Velta {

Drawable::~Drawable() = default;

const BoundingVolume* Drawable::getPhysicsVolume() const
{
    return nullptr;
}

void Drawable::selectDetail(const Point&) {}

} // namespace Velta
