#pragma once

#include "VeltaExport.h"

namespace Velta {

/// High-resolution interval counter.
class VELTA_EXPORT Counter {
public:
    virtual ~Counter() = default;

    /// Marks the start of an interval.
    virtual void start() = 0;

    /// Measures the interval since the last start() or update() and starts the
    /// next one there.
    virtual void update() = 0;

    /// The same as update().
    virtual void stop() = 0;

    /// The last measured interval in seconds; 0 before the first measurement.
    virtual double getSeconds() const = 0;
};

} // namespace Velta
