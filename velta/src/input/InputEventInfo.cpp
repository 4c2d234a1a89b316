#include "input/InputEventInfo.h"

namespace Velta {

InputEventInfo::~InputEventInfo() = default;

} // namespace Velta
