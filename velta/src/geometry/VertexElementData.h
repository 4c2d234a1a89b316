#pragma once

#include "VeltaExport.h"
#include "geometry/ElementData.h"
#include "geometry/VertexData.h"
#include "geometry/VertexElement.h"

namespace Velta {

/// An element of `type` that owns the vertex data it draws. A copy shares
/// the arrays until either side writes.
class VELTA_EXPORT VertexElementData : public ElementData, public virtual VertexElement {
public:
    explicit VertexElementData(ElementType type);
    ~VertexElementData() override;

    VertexElementData* clone() const override;

    VertexData& getVertexData() override { return mVertexData; }
    const VertexData& getVertexData() const override { return mVertexData; }

private:
    VertexData mVertexData;
};

} // namespace Velta
