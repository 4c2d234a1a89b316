#pragma once

#include "VeltaExport.h"
#include "cpplib/LinkedMap.h"
#include "cpplib/SharedPtr.h"
#include "cpplib/Vector.h"
#include "scene/ObjectNode.h"

#include <memory>

namespace Velta {

class GeometrySubobject;
class Transformation;
class TransformationNode;

/// A placed model: an object node whose children are transformation nodes,
/// each holding one GeometrySubobject, so every sub-object can be moved
/// relative to the object. Carries the default materials that sub-objects
/// fall back to.
///
/// Owned by whoever created it (the object manager hands new objects to the
/// caller). The object owns the transformation nodes it creates and the
/// sub-objects handed to it with addSubobject(std::unique_ptr); a sub-object
/// added by reference stays its creator's and must outlive the object or
/// be destroyed first (it then simply leaves the object).
class VELTA_EXPORT GeometryObject : public ObjectNode {
public:
    GeometryObject();
    explicit GeometryObject(const std::string& name);
    ~GeometryObject() override;

    /// Puts `subobject` below a new transformation node of the object. False,
    /// changing nothing, when the sub-object already has a parent or a scene.
    bool addSubobject(GeometrySubobject& subobject);

    /// The same for a sub-object the object is to own; answers it, or null
    /// when it was refused (it is then deleted).
    GeometrySubobject* addSubobject(std::unique_ptr<GeometrySubobject> subobject);

    /// The sub-object with node id `id`, or null when no sub-object of this
    /// object has that id.
    GeometrySubobject* getSubobject(unsigned long long id) const;

    /// Number of sub-objects added.
    unsigned int getSubobjectCount() const { return mSubobjects.getSize(); }

    /// The transformation that places the sub-object in the object, or null
    /// when it is not part of the object.
    Transformation* getTransformation(unsigned long long id) const;
    Transformation* getTransformation(const GeometrySubobject& subobject) const;

    void setDefaultMaterial(unsigned int index, const CppLib::SharedPtr<Material>& material);

    /// True when a material was stored under `index` and has been removed.
    bool removeDefaultMaterial(unsigned int index);

    /// The default material for `index`, or an empty pointer. Never stores
    /// anything.
    CppLib::SharedPtr<Material> getDefaultMaterial(unsigned int index) override;
    virtual const CppLib::SharedPtr<Material> getDefaultMaterial(unsigned int index) const;

    /// What a group of `subobject` with material index `index` is drawn
    /// with: the sub-object's own material for it, else this object's
    /// default, else an empty pointer.
    CppLib::SharedPtr<Material> getMaterial(const GeometrySubobject& subobject, unsigned int index) const;

private:
    /// The node holding the sub-object with node id `id`, or null.
    TransformationNode* findHolder(unsigned long long id) const;

    /// For each sub-object's node id, the node that holds it.
    CppLib::LinkedMap<unsigned long long, TransformationNode*> mSubobjects;
    CppLib::LinkedMap<unsigned int, CppLib::SharedPtr<Material>> mDefaultMaterials;
    /// The sub-objects handed over with addSubobject(unique_ptr).
    CppLib::Vector<GeometrySubobject*> mOwnedSubobjects;
};

} // namespace Velta
