#include "particles/VelocityModifier.h"

#include "scene/Transformation.h"

namespace Velta {

VelocityModifier::VelocityModifier() = default;

VelocityModifier::VelocityModifier(Transformation& transformation) : mTransformation(&transformation) {}

VelocityModifier::~VelocityModifier() = default;

void VelocityModifier::step(float seconds, long long)
{
    if (!mTransformation) {
        return;
    }
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
}

} // namespace Velta
