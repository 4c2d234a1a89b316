#pragma once

#include "VeltaExport.h"
#include "cpplib/Vector.h"

namespace Velta {

class GeometryElement;

/// One part of a geometry drawn with one material: the material index and
/// the primitive elements that use it.
class VELTA_EXPORT GeometryGroup {
public:
    virtual ~GeometryGroup();

    /// Index of the material the group is drawn with, looked up on the
    /// drawable and then on its object. 0xFFFFFFFF (the loaders' "none") and
    /// any index without a material draw with no material of the object.
    virtual unsigned int getMaterialIndex() const = 0;

    /// The group's elements in drawing order. The argument selects nothing.
    virtual CppLib::Vector<GeometryElement*>& getElementList(int list) = 0;
    virtual const CppLib::Vector<GeometryElement*>& getElementList(int list) const = 0;

protected:
    GeometryGroup() = default;
    GeometryGroup(const GeometryGroup&) = default;
    GeometryGroup& operator=(const GeometryGroup&) = default;
};

} // namespace Velta
