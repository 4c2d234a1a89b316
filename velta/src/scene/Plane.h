#pragma once

#include "VeltaExport.h"
#include "cpplib/Point.h"

namespace Velta {

/// The plane a·x + b·y + c·z + d = 0. The positive side is the inside.
class VELTA_EXPORT Plane {
public:
    Plane() = default;
    Plane(float a, float b, float c, float d) : mA(a), mB(b), mC(c), mD(d) {}

    float getA() const { return mA; }
    float getB() const { return mB; }
    float getC() const { return mC; }
    float getD() const { return mD; }

    /// Signed distance of the point (x, y, z), in units of the plane's scale;
    /// positive on the inside.
    float getDistance(float x, float y, float z) const { return mA * x + mB * y + mC * z + mD; }
    float getDistance(const Point& point) const { return getDistance(point.x(), point.y(), point.z()); }

private:
    float mA = 0.0f;
    float mB = 0.0f;
    float mC = 0.0f;
    float mD = 0.0f;
};

} // namespace Velta
