#include "geometry/GeometryManager.h"

#include "geometry/Geometry.h"

namespace Velta {

GeometryManager::GeometryManager() = default;
GeometryManager::~GeometryManager() = default;

void GeometryManager::registerGeometry(const std::string& name, const CppLib::SharedPtr<Geometry>& geometry)
{
    if (geometry.isNull()) {
        mGeometries.remove(name);
    } else {
        mGeometries.put(name, geometry);
    }
}

CppLib::SharedPtr<Geometry> GeometryManager::getGeometry(const std::string& name) const
{
    const CppLib::SharedPtr<Geometry>* geometry = mGeometries.find(name);
    return geometry ? *geometry : CppLib::SharedPtr<Geometry>();
}

} // namespace Velta
