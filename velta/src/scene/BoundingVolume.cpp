#include "scene/BoundingVolume.h"

namespace Velta {

BoundingVolume::~BoundingVolume() = default;

float BoundingVolume::getWeight(const Point& point) const
{
    return contains(point) ? 1.0f : 0.0f;
}

} // namespace Velta
