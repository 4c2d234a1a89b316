#pragma once

#include "VeltaExport.h"
#include "core/Counter.h"

#include <chrono>

namespace Velta {

/// Interval counter on the monotonic clock (nanosecond resolution).
class VELTA_EXPORT SteadyClockCounter : public Counter {
public:
    void start() override;
    void update() override;
    void stop() override { update(); }
    double getSeconds() const override { return mSeconds; }

private:
    std::chrono::steady_clock::time_point mLastCount = std::chrono::steady_clock::now();
    double mSeconds = 0.0;
};

} // namespace Velta
