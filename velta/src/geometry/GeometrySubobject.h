#pragma once

#include "VeltaExport.h"
#include "cpplib/LinkedMap.h"
#include "cpplib/SharedPtr.h"
#include "scene/Drawable.h"
#include "scene/Leaf.h"

namespace Velta {

/// A leaf that shows one geometry, with materials of its own by material
/// index. Placed in a GeometryObject by a transformation node of its own, so
/// the parts of one object can move relative to each other; groups of the
/// geometry whose material index has no material here are drawn with the
/// object's default material for that index (GeometryObject::getMaterial).
///
/// A plain scene node: owned by whoever created it, or by the object it was
/// handed to (GeometryObject::addSubobject). Its local bound is its
/// geometry's.
class VELTA_EXPORT GeometrySubobject : public Leaf, public Drawable {
public:
    GeometrySubobject();
    explicit GeometrySubobject(const std::string& name);
    ~GeometrySubobject() override;

    /// Shows `geometry` (empty: nothing). The index selects nothing. Marks
    /// the node modified, so the next update pass takes in the geometry's
    /// bound; set the same geometry again after changing its bound.
    void setGeometry(const CppLib::SharedPtr<Geometry>& geometry, int index);
    const CppLib::SharedPtr<Geometry> getGeometry(int index) const override;
    CppLib::SharedPtr<Geometry> getGeometry(int index) override;

    /// Stores or replaces the material for material index `index`.
    void setMaterial(unsigned int index, const CppLib::SharedPtr<Material>& material);

    /// True when a material was stored under `index` and has been removed.
    bool removeMaterial(unsigned int index);

    /// The material stored under `index`, or an empty pointer. Never stores
    /// anything.
    const CppLib::SharedPtr<Material> getMaterial(unsigned int index) const override;
    CppLib::SharedPtr<Material> getMaterial(unsigned int index) override;

    /// The geometry's bounds; null without geometry.
    const BoundingVolume* getBoundingVolume() const override;
    const BoundingVolume* getPhysicsVolume() const override;

private:
    CppLib::SharedPtr<Geometry> mGeometry;
    CppLib::LinkedMap<unsigned int, CppLib::SharedPtr<Material>> mMaterials;
};

} // namespace Velta
