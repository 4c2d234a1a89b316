#pragma once

#include "duck/DuckModifier.h"

namespace Velta {
class InputProcessor;
} // namespace Velta

namespace Ripplejet {

class Level;

/// Drives the player's duck down the river the way a player would, through
/// the level's input: it holds w and moves the pointer sideways to steer
/// toward the middle of the next cross section of the river. Deterministic:
/// the same duck in the same state gets the same input. When the duck is put
/// somewhere else (r, c) it steers for the next section from the nearest one.
/// Once the race is over it lets go, as a player would, until the race goes
/// on (r): held on, it would steer round the last section and into the banks.
///
/// Borrows the level's input (to send it events), the player's duck
/// modifier (to read where the duck is and where it faces) and the race (to
/// see whether it is over; may be null); all must outlive it.
class Autopilot {
public:
    Autopilot(Velta::InputProcessor& input, const DuckModifier& duck, const Level* race);

    /// Once a frame, before the engine runs it, with the frame's timestamp.
    void update(long long timestamp);

    /// Lets go of w and of the steering.
    void release(long long timestamp);

    /// The cross section it steers for (0 is the first).
    int getTarget() const { return mTarget; }

private:
    /// The section, after the first, whose middle is nearest the duck.
    int nearestSection() const;
    void advanceTarget();
    void holdForward(long long timestamp, bool hold);
    void steer(float yaw, long long timestamp);

    bool isRaceOver() const;

    Velta::InputProcessor* mInput;
    const DuckModifier* mDuck;
    const Level* mRace;
    int mTarget = 1;
    bool mHolding = false;
    /// Let go for the race that is over.
    bool mLetGo = false;
    float mPointerX = 0.0f;
    DuckModifier::Vec3 mLast;
    bool mHasLast = false;
};

} // namespace Ripplejet
