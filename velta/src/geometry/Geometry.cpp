#include "geometry/Geometry.h"

namespace Velta {

Geometry::~Geometry() = default;

} // namespace Velta
