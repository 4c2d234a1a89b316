#pragma once

#include "cpplib/Point.h"
#include "cpplib/TVector.h"

namespace Velta {

/// Homogeneous 2D point (x, y, w) with w = 1.
class Point2D : public CppLib::TVector<float, 3> {
public:
    Point2D() : TVector(0.0f, 0.0f, 1.0f) {}
    Point2D(float x, float y) : TVector(x, y, 1.0f) {}

    /// Divided by w; with w = 0 the x and y are kept as they are.
    Point2D(const CppLib::TVector<float, 3>& v)
        : TVector(v.z() != 0.0f ? Point2D(v.x() / v.z(), v.y() / v.z()) : Point2D(v.x(), v.y()))
    {
    }

    /// Projects `p` onto a coordinate plane by dropping axis 0, 1 or 2.
    Point2D(const Point& p, int dropAxis)
        : TVector(dropAxis == 0 ? p.y() : p.x(), dropAxis == 2 ? p.y() : p.z(), p.w())
    {
    }
};

} // namespace Velta
