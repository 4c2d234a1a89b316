#include "geometry/GeometrySubobject.h"

#include "geometry/Geometry.h"
#include "resource/Material.h"

namespace Velta {

GeometrySubobject::GeometrySubobject() : Leaf(OBJECT) {}

GeometrySubobject::GeometrySubobject(const std::string& name) : Leaf(OBJECT, name) {}

GeometrySubobject::~GeometrySubobject() = default;

void GeometrySubobject::setGeometry(const CppLib::SharedPtr<Geometry>& geometry, int)
{
    mGeometry = geometry;
    setModified(false);
}

const CppLib::SharedPtr<Geometry> GeometrySubobject::getGeometry(int) const
{
    return mGeometry;
}

CppLib::SharedPtr<Geometry> GeometrySubobject::getGeometry(int)
{
    return mGeometry;
}

void GeometrySubobject::setMaterial(unsigned int index, const CppLib::SharedPtr<Material>& material)
{
    mMaterials.put(index, material);
}

bool GeometrySubobject::removeMaterial(unsigned int index)
{
    if (!mMaterials.contains(index)) {
        return false;
    }
    mMaterials.remove(index);
    return true;
}

const CppLib::SharedPtr<Material> GeometrySubobject::getMaterial(unsigned int index) const
{
    const CppLib::SharedPtr<Material>* material = mMaterials.find(index);
    return material ? *material : CppLib::SharedPtr<Material>();
}

CppLib::SharedPtr<Material> GeometrySubobject::getMaterial(unsigned int index)
{
    const GeometrySubobject& self = *this;
    return self.getMaterial(index);
}

const BoundingVolume* GeometrySubobject::getBoundingVolume() const
{
    return mGeometry.isNull() ? nullptr : mGeometry->getBoundingVolume();
}

const BoundingVolume* GeometrySubobject::getPhysicsVolume() const
{
    return mGeometry.isNull() ? nullptr : mGeometry->getPhysicsVolume();
}

} // namespace Velta
