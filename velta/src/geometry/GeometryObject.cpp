#include "geometry/GeometryObject.h"

#include "geometry/GeometrySubobject.h"
#include "resource/Material.h"
#include "scene/TransformationNode.h"

namespace Velta {

GeometryObject::GeometryObject() = default;

GeometryObject::GeometryObject(const std::string& name) : ObjectNode(name) {}

GeometryObject::~GeometryObject()
{
    // Sub-objects first: destroying one takes it out of its holder.
    for (GeometrySubobject* subobject : mOwnedSubobjects) {
        delete subobject;
    }
    for (const auto& entry : mSubobjects) {
        delete entry.second;
    }
}

bool GeometryObject::addSubobject(GeometrySubobject& subobject)
{
    if (subobject.getParent() || subobject.isAttached()) {
        return false;
    }
    auto holder = std::make_unique<TransformationNode>();
    holder->setChild(subobject);
    if (holder->getChild() != &subobject || attachChild(*holder) < 0) {
        return false; // the holder lets go of the sub-object as it goes
    }
    mSubobjects.put(subobject.getNodeId(), holder.release());
    return true;
}

GeometrySubobject* GeometryObject::addSubobject(std::unique_ptr<GeometrySubobject> subobject)
{
    if (!subobject || !addSubobject(*subobject)) {
        return nullptr;
    }
    mOwnedSubobjects.append(subobject.get());
    return subobject.release();
}

GeometrySubobject* GeometryObject::getSubobject(unsigned long long id) const
{
    TransformationNode* holder = findHolder(id);
    return holder ? static_cast<GeometrySubobject*>(holder->getChild()) : nullptr;
}

Transformation* GeometryObject::getTransformation(unsigned long long id) const
{
    return findHolder(id);
}

Transformation* GeometryObject::getTransformation(const GeometrySubobject& subobject) const
{
    return findHolder(subobject.getNodeId());
}

void GeometryObject::setDefaultMaterial(unsigned int index, const CppLib::SharedPtr<Material>& material)
{
    mDefaultMaterials.put(index, material);
}

bool GeometryObject::removeDefaultMaterial(unsigned int index)
{
    if (!mDefaultMaterials.contains(index)) {
        return false;
    }
    mDefaultMaterials.remove(index);
    return true;
}

CppLib::SharedPtr<Material> GeometryObject::getDefaultMaterial(unsigned int index)
{
    const GeometryObject& self = *this;
    return self.getDefaultMaterial(index);
}

const CppLib::SharedPtr<Material> GeometryObject::getDefaultMaterial(unsigned int index) const
{
    const CppLib::SharedPtr<Material>* material = mDefaultMaterials.find(index);
    return material ? *material : CppLib::SharedPtr<Material>();
}

CppLib::SharedPtr<Material> GeometryObject::getMaterial(const GeometrySubobject& subobject, unsigned int index) const
{
    CppLib::SharedPtr<Material> own = subobject.getMaterial(index);
    return own.isNull() ? getDefaultMaterial(index) : own;
}

TransformationNode* GeometryObject::findHolder(unsigned long long id) const
{
    TransformationNode* const* holder = mSubobjects.find(id);
    if (!holder) {
        return nullptr;
    }
    // The sub-object may have been destroyed or taken out of its holder since.
    const Node* child = (*holder)->getChild();
    return child && child->getNodeId() == id ? *holder : nullptr;
}

} // namespace Velta
