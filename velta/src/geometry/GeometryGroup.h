#pragma once

#include "VeltaExport.h"
#include "cpplib/Vector.h"

namespace Velta {

class BoundingBox;
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

    /// Where the group's elements lie, in the frame of the geometry's
    /// vertices; null when the group does not know (it is then drawn
    /// whenever its drawable is). A renderer skips a group whose bound lies
    /// outside the view.
    virtual const BoundingBox* getBounds() const { return nullptr; }

    /// Appends every element the group may draw to `elements`: those of
    /// getElementList() and, for a group that changes what it draws (levels
    /// of detail), the ones it draws at other times. A renderer uploads
    /// them all ahead, so that a change draws without creating anything.
    virtual void collectAllElements(CppLib::Vector<GeometryElement*>& elements) const
    {
        for (GeometryElement* element : getElementList(0)) {
            elements.append(element);
        }
    }

protected:
    GeometryGroup() = default;
    GeometryGroup(const GeometryGroup&) = default;
    GeometryGroup& operator=(const GeometryGroup&) = default;
};

} // namespace Velta
