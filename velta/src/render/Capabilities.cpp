#include "render/Capabilities.h"

namespace Velta {

Capabilities::~Capabilities() = default;

} // namespace Velta
