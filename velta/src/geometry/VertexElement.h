#pragma once

#include "VeltaExport.h"
#include "geometry/GeometryElement.h"

namespace Velta {

class VertexDataSet;

/// An element drawn straight from its own vertex arrays, without indices.
class VELTA_EXPORT VertexElement : public virtual GeometryElement {
public:
    ~VertexElement() override;

    virtual VertexDataSet& getVertexData() = 0;
    virtual const VertexDataSet& getVertexData() const = 0;
};

} // namespace Velta
