#include "resource/CubeMap.h"

namespace Velta {

CubeMap::~CubeMap() = default;

} // namespace Velta
