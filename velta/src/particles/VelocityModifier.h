#pragma once

#include "VeltaExport.h"
#include "core/Modifier.h"
#include "core/Process.h"
#include "particles/FrameClock.h"

namespace Velta {

class Transformation;

/// Moves a transformation at constant rates: a translation in units per
/// second and rotations about X, Y and Z in radians per second, scaled by
/// the time between frames so the motion does not depend on the frame rate.
///
/// Run by the event manager once registered; moves in state ACTIVE (2),
/// keeps time without moving in any other non-zero state, and does nothing
/// in state 0. The first frame it runs only starts the clock, and so does
/// the first frame after state 0. Does not own the transformation, which
/// must outlive it or be replaced first.
class VELTA_EXPORT VelocityModifier : public Modifier, public Process {
public:
    VelocityModifier();
    explicit VelocityModifier(Transformation& transformation);
    ~VelocityModifier() override;

    void setTransformation(Transformation& transformation) { mTransformation = &transformation; }
    Transformation* getTransformation() const { return mTransformation; }

    void setTranslateX(float unitsPerSecond) { mTranslate[0] = unitsPerSecond; }
    void setTranslateY(float unitsPerSecond) { mTranslate[1] = unitsPerSecond; }
    void setTranslateZ(float unitsPerSecond) { mTranslate[2] = unitsPerSecond; }
    float getTranslateX() const { return mTranslate[0]; }
    float getTranslateY() const { return mTranslate[1]; }
    float getTranslateZ() const { return mTranslate[2]; }

    void setRotateX(float radiansPerSecond) { mRotate[0] = radiansPerSecond; }
    void setRotateY(float radiansPerSecond) { mRotate[1] = radiansPerSecond; }
    void setRotateZ(float radiansPerSecond) { mRotate[2] = radiansPerSecond; }
    float getRotateX() const { return mRotate[0]; }
    float getRotateY() const { return mRotate[1]; }
    float getRotateZ() const { return mRotate[2]; }

    /// Despite its name, the flag set moves the transformation along its own
    /// axes (the step is applied locally), and cleared along its parent's.
    /// Rotations always turn about the parent's axes.
    void setTransformGlobal(bool global) { mTransformGlobal = global; }
    bool doTransformGlobal() const { return mTransformGlobal; }

    /// Entering state 0 stops the clock, so the motion resumes without a jump.
    void setState(State state) override;

    /// One frame at `timestamp` (milliseconds). Answers 0.
    int run(long long timestamp) override;

private:
    Transformation* mTransformation = nullptr;
    FrameClock mClock;
    bool mTransformGlobal = false;
    float mTranslate[3] = {0.0f, 0.0f, 0.0f};
    float mRotate[3] = {0.0f, 0.0f, 0.0f};
};

} // namespace Velta
