#pragma once

#include "VeltaExport.h"

namespace Velta {

/// One piece of per-frame work of a subsystem. Owned by whoever created it;
/// subsystems list plain pointers.
class VELTA_EXPORT Process {
public:
    virtual ~Process() = default;

    /// Runs with the timestamp the process manager read for this subsystem
    /// (milliseconds, as the timer manager gives them). The result is not
    /// examined by the process manager.
    virtual int run(long long timestamp) = 0;
};

} // namespace Velta
