#pragma once

#include "VeltaExport.h"
#include "geometry/GeometryElement.h"

namespace Velta {

/// Base of the concrete elements: keeps the element type.
class VELTA_EXPORT ElementData : public virtual GeometryElement {
public:
    explicit ElementData(ElementType type) : mElementType(type) {}
    ~ElementData() override;

    ElementType getElementType() const override { return mElementType; }

protected:
    ElementType mElementType;
};

} // namespace Velta
