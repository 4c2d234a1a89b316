#pragma once

#include "VeltaExport.h"
#include "core/Modifier.h"
#include "core/Process.h"

namespace Velta {

/// A modifier that moves something by the time since the previous frame, so
/// the motion does not depend on the frame rate.
///
/// Run by the event manager once registered: steps in state ACTIVE (2), keeps
/// time without stepping in any other non-zero state (so a hold never turns
/// into one big step when it ends), and does nothing in state 0. The first
/// frame it runs only starts the clock, and so does the first frame after
/// state 0. A clock that goes backwards counts as no time.
class VELTA_EXPORT SteppedModifier : public Modifier, public Process {
public:
    /// Entering state 0 stops the clock, so the motion resumes without a jump.
    void setState(State state) override;

    /// One frame at `timestamp` (milliseconds). Answers 0.
    int run(long long timestamp) override;

protected:
    /// Moves by `seconds` since the previous frame, which ran at
    /// `timestamp` − seconds.
    virtual void step(float seconds, long long timestamp) = 0;

    /// The timestamp of the last frame run; 0 before the first.
    long long getLastTime() const { return mLastTime; }

private:
    long long mLastTime = 0;
};

} // namespace Velta
