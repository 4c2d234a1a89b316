#pragma once

#include "core/LogicElement.h"

namespace Velta {

/// A logic element that changes the scene every frame. A concrete modifier
/// also derives from Process; the event manager runs it while its state is
/// not 0.
class VELTA_EXPORT Modifier : public LogicElement {};

} // namespace Velta
