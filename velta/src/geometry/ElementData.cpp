#include "geometry/ElementData.h"

namespace Velta {

ElementData::~ElementData() = default;

} // namespace Velta
