#pragma once

#include "VeltaExport.h"
#include "cpplib/SharedPtr.h"

namespace Velta {

class BoundingVolume;
class Geometry;
class Material;
class Point;

/// What the renderer needs from a node that carries geometry: its geometry,
/// its materials by material index, and its bound. Mixed into drawable
/// leaves next to Leaf.
class VELTA_EXPORT Drawable {
public:
    virtual ~Drawable();

    /// The material for material index `index`, or an empty pointer.
    virtual const CppLib::SharedPtr<Material> getMaterial(unsigned int index) const = 0;
    virtual CppLib::SharedPtr<Material> getMaterial(unsigned int index) = 0;

    /// The geometry drawn (the index selects nothing so far).
    virtual const CppLib::SharedPtr<Geometry> getGeometry(int index) const = 0;
    virtual CppLib::SharedPtr<Geometry> getGeometry(int index) = 0;

    /// A bound for collisions; null for none.
    virtual const BoundingVolume* getPhysicsVolume() const;

    /// The bound in local coordinates, or null.
    virtual const BoundingVolume* getBoundingVolume() const = 0;

    /// Called by a renderer just before it draws the drawable in a view,
    /// with the view's eye point in world coordinates. A drawable that draws
    /// less detail farther away chooses what its geometry holds here; it must
    /// not allocate. The default changes nothing.
    virtual void selectDetail(const Point& eye);

protected:
    Drawable() = default;
    Drawable(const Drawable&) = default;
    Drawable& operator=(const Drawable&) = default;
};

} // namespace Velta
