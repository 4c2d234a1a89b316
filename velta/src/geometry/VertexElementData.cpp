#include "geometry/VertexElementData.h"

namespace Velta {

VertexElementData::VertexElementData(ElementType type) : GeometryElement(), ElementData(type) {}

VertexElementData::~VertexElementData() = default;

} // namespace Velta
