#pragma once

#include "cpplib/TVector.h"

namespace Velta {

/// Homogeneous 3D point (x, y, z, w); points made by the engine have w = 1.
/// Sums and differences are the vector operations, so the difference of two
/// points has w = 0.
class Point : public CppLib::TVector<float, 4> {
public:
    Point() : TVector(0.0f, 0.0f, 0.0f, 1.0f) {}
    Point(float x, float y, float z) : TVector(x, y, z, 1.0f) {}

    /// The point that `v` stands for: divided by w; w = 0 gives the origin.
    Point(const CppLib::TVector<float, 4>& v)
        : TVector(v.w() != 0.0f ? Point(v.x() / v.w(), v.y() / v.w(), v.z() / v.w()) : Point())
    {
    }

    /// The x, y, z part as a direction.
    CppLib::TVector<float, 3> toVector3() const { return {x(), y(), z()}; }
};

} // namespace Velta
