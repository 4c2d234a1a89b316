#include "geometry/GeometryManager.h"

namespace Velta {

GeometryManager::GeometryManager() = default;
GeometryManager::~GeometryManager() = default;

} // namespace Velta
