#include "scene/Light.h"

namespace Velta {

Light::Light() : Leaf(LIGHT)
{
    mBoundingVolume.setInfinite();
}

Light::Light(const std::string& name) : Leaf(LIGHT, name)
{
    mBoundingVolume.setInfinite();
}

Light::Light(const std::string& name, const std::string& uniqueName) : Leaf(LIGHT, name, uniqueName)
{
    mBoundingVolume.setInfinite();
}

Light::~Light() = default;

} // namespace Velta
