#pragma once

#include "VeltaExport.h"

namespace Velta {

/// A list of primitives of one kind: the unit the renderer draws.
class VELTA_EXPORT GeometryElement {
public:
    /// The primitive an element is drawn as.
    enum ElementType : int {
        TRIANGLES = 0,
        QUADS = 1,
        POINTS = 2,
        LINES = 3,
        LINE_LOOP = 4,
        LINE_STRIP = 5,
        TRIANGLE_STRIP = 6,
        QUAD_STRIP = 7,
        TRIANGLE_FAN = 8,
        POLYGON = 9
    };

    virtual ~GeometryElement();

    virtual ElementType getElementType() const = 0;
};

} // namespace Velta
