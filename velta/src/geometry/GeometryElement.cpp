#include "geometry/GeometryElement.h"

namespace Velta {

GeometryElement::~GeometryElement() = default;

} // namespace Velta
