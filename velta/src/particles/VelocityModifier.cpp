#include "particles/VelocityModifier.h"

#include "scene/Transformation.h"

namespace Velta {

VelocityModifier::VelocityModifier() = default;

VelocityModifier::VelocityModifier(Transformation& transformation) : mTransformation(&transformation) {}

VelocityModifier::~VelocityModifier() = default;

void VelocityModifier::setState(State state)
{
    if (state == INACTIVE) {
        mClock.restart();
    }
    Modifier::setState(state);
}

int VelocityModifier::run(long long timestamp)
{
    const State state = getState();
    if (state == INACTIVE) {
        return 0;
    }
    // The clock runs on while the modifier is held, so a hold never turns
    // into one big step when it becomes active again.
    const long long elapsed = mClock.tick(timestamp);
    if (elapsed < 0) {
        return 0;
    }
    if (state != ACTIVE || !mTransformation) {
        return 0;
    }

    const float seconds = static_cast<float>(elapsed) * 0.001f;
    if (mTranslate[0] != 0.0f || mTranslate[1] != 0.0f || mTranslate[2] != 0.0f) {
        // The "global" flag is handed on as translate's `local` argument: set,
        // it moves along the transformation's own axes. Callers rely on that.
        const bool alongOwnAxes = mTransformGlobal;
        mTransformation->translate(seconds * mTranslate[0], seconds * mTranslate[1], seconds * mTranslate[2],
                                   alongOwnAxes);
    }
    if (mRotate[0] != 0.0f) {
        mTransformation->rotateX(seconds * mRotate[0], false);
    }
    if (mRotate[1] != 0.0f) {
        mTransformation->rotateY(seconds * mRotate[1], false);
    }
    if (mRotate[2] != 0.0f) {
        mTransformation->rotateZ(seconds * mRotate[2], false);
    }
    return 0;
}

} // namespace Velta
