#include "geometry/VertexElementData.h"

namespace Velta {

VertexElementData::VertexElementData(ElementType type) : ElementData(type) {}

VertexElementData::~VertexElementData() = default;

VertexElementData* VertexElementData::clone() const
{
    return new VertexElementData(*this);
}

} // namespace Velta
