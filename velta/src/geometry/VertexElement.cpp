#include "geometry/VertexElement.h"

namespace Velta {

VertexElement::~VertexElement() = default;

} // namespace Velta
