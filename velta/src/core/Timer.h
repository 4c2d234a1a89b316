#pragma once

#include "VeltaExport.h"

namespace Velta {

/// A timer handed out by a timer plug-in that provides timers. The engine's
/// own plug-ins provide none.
class VELTA_EXPORT Timer {
public:
    virtual ~Timer() = default;
};

} // namespace Velta
