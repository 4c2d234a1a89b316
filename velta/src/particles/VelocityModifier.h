#pragma once

#include "VeltaExport.h"
#include "particles/SteppedModifier.h"

namespace Velta {

class Transformation;

/// Moves a transformation at constant rates: a translation in units per
/// second and rotations about X, Y and Z in radians per second, scaled by
/// the time between frames (see SteppedModifier for the states). Does not own
/// the transformation, which must outlive it or be replaced first.
class VELTA_EXPORT VelocityModifier : public SteppedModifier {
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

protected:
    void step(float seconds, long long timestamp) override;

private:
    Transformation* mTransformation = nullptr;
    bool mTransformGlobal = false;
    float mTranslate[3] = {0.0f, 0.0f, 0.0f};
    float mRotate[3] = {0.0f, 0.0f, 0.0f};
};

} // namespace Velta
