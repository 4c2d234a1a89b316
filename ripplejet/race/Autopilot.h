#pragma once

#include "duck/DuckModifier.h"

namespace Velta {
class InputProcessor;
} // namespace Velta

namespace Ripplejet {

/// Drives the player's duck down the river the way a player would, through
/// the level's input: it holds w and moves the pointer sideways to steer
/// toward the middle of the next cross section of the river. Deterministic:
/// the same duck in the same state gets the same input. When the duck is put
/// somewhere else (r, c) it steers for the next section from there.
///
/// Borrows the level (to send it events) and the player's duck modifier
/// (to read where the duck is and where it faces); both must outlive it.
class Autopilot {
public:
    Autopilot(Velta::InputProcessor& level, const DuckModifier& duck);

    /// Once a frame, before the engine runs it, with the frame's timestamp.
    void update(long long timestamp);

    /// Lets go of w.
    void release(long long timestamp);

    /// The cross section it steers for (0 is the first).
    int getTarget() const { return mTarget; }

private:
    void advanceTarget();
    void holdForward(long long timestamp, bool hold);
    void steer(float yaw, long long timestamp);

    Velta::InputProcessor* mLevel;
    const DuckModifier* mDuck;
    int mTarget = 1;
    bool mHolding = false;
    float mPointerX = 0.0f;
    DuckModifier::Vec3 mLast;
    bool mHasLast = false;
};

} // namespace Ripplejet
