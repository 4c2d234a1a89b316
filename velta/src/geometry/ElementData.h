#pragma once

#include "VeltaExport.h"
#include "geometry/GeometryElement.h"

namespace Velta {

/// Base of the concrete elements: keeps the element type.
class VELTA_EXPORT ElementData : public virtual GeometryElement {
public:
    explicit ElementData(ElementType type) : mElementType(type) {}
    ~ElementData() override;

    /// A new copy of the same kind (created with new, owned by the caller),
    /// sharing the element's storage until either side writes. Every kind
    /// overrides it; a kind that does not copies as its nearest base that
    /// does.
    virtual ElementData* clone() const;

    ElementType getElementType() const override { return mElementType; }

protected:
    ElementType mElementType;
};

} // namespace Velta
