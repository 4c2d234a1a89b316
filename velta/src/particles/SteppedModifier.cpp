#include "particles/SteppedModifier.h"

namespace Velta {

void SteppedModifier::setState(State state)
{
    if (state == INACTIVE) {
        mLastTime = 0;
    }
    Modifier::setState(state);
}

int SteppedModifier::run(long long timestamp)
{
    const State state = getState();
    if (state == INACTIVE) {
        return 0;
    }
    if (mLastTime == 0) {
        mLastTime = timestamp;
        return 0;
    }
    const long long elapsed = timestamp > mLastTime ? timestamp - mLastTime : 0;
    mLastTime = timestamp;
    if (state == ACTIVE) {
        step(static_cast<float>(elapsed) * 0.001f, timestamp);
    }
    return 0;
}

} // namespace Velta
