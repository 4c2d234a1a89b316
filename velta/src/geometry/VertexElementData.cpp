#include "geometry/VertexElementData.h"

namespace Velta {

VertexElementData::VertexElementData(ElementType type) : ElementData(type) {}

VertexElementData::~VertexElementData() = default;

} // namespace Velta
