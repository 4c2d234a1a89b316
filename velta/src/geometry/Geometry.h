#pragma once

#include "VeltaExport.h"
#include "cpplib/Vector.h"

#include <string>

namespace Velta {

class BoundingVolume;
class GeometryGroup;
class VertexDataSet;

/// A named piece of drawable geometry: one vertex data set shared by a list
/// of element groups, each group pairing a material index with primitive
/// elements that index into that vertex data. Shared through SharedPtr by
/// every object that shows it.
///
/// The renderer draws each group's elements against getIndexedDataSet(0);
/// index elements that point past it are refused (IndexElement::getDrawCount).
class VELTA_EXPORT Geometry {
public:
    virtual ~Geometry();

    virtual const std::string& getName() const = 0;

    /// The vertex data the elements index; null when none is set. The
    /// argument selects nothing: a geometry has one vertex data set.
    virtual const VertexDataSet* getIndexedDataSet(int set) const = 0;
    virtual VertexDataSet* getIndexedDataSet(int set) = 0;

    virtual const CppLib::Vector<GeometryGroup*>& getElementGroups() const = 0;
    virtual CppLib::Vector<GeometryGroup*>& getElementGroups() = 0;

    /// Bounds in the geometry's own axes; null when unknown.
    virtual const BoundingVolume* getPhysicsVolume() const = 0;
    virtual const BoundingVolume* getBoundingVolume() const = 0;
};

} // namespace Velta
