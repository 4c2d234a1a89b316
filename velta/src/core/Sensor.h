#pragma once

#include "core/LogicElement.h"

namespace Velta {

/// A logic element that observes; accepted by the event manager, not run.
class VELTA_EXPORT Sensor : public LogicElement {};

} // namespace Velta
