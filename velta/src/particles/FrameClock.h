#pragma once

#include "VeltaExport.h"

namespace Velta {

/// The time between one frame and the next for something that runs every
/// frame, from the frame timestamps it is given (milliseconds).
///
/// The first tick after construction or restart() only starts the clock; a
/// clock that goes backwards counts as no time.
class VELTA_EXPORT FrameClock {
public:
    /// Milliseconds since the previous tick, or −1 for the tick that starts
    /// the clock.
    long long tick(long long timestamp)
    {
        if (mLastTime == 0) {
            mLastTime = timestamp;
            return -1;
        }
        const long long elapsed = timestamp > mLastTime ? timestamp - mLastTime : 0;
        mLastTime = timestamp;
        return elapsed;
    }

    /// The next tick starts the clock again.
    void restart() { mLastTime = 0; }

    /// The timestamp of the last tick; 0 before the first.
    long long getLastTime() const { return mLastTime; }

private:
    long long mLastTime = 0;
};

} // namespace Velta
