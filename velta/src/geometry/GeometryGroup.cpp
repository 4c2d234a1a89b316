#include "geometry/GeometryGroup.h"

namespace Velta {

GeometryGroup::~GeometryGroup() = default;

} // namespace Velta
