#include "scene/BoundingBox.h"

#include "scene/Frustrum.h"

#include <algorithm>

namespace Velta {

namespace {

bool isAffine(const CppLib::Matrix<float, 4>& m)
{
    return m.get(3, 0) == 0.0f && m.get(3, 1) == 0.0f && m.get(3, 2) == 0.0f && m.get(3, 3) == 1.0f;
}

/// Signed distance of the corner of [min, max] that lies farthest along the
/// plane's normal (the greatest distance of any of the eight corners).
float farthestCorner(const Plane& plane, const Point& min, const Point& max)
{
    return plane.getA() * (plane.getA() > 0.0f ? max.x() : min.x()) +
           plane.getB() * (plane.getB() > 0.0f ? max.y() : min.y()) +
           plane.getC() * (plane.getC() > 0.0f ? max.z() : min.z()) + plane.getD();
}

/// Signed distance of the corner that lies least far along the normal.
float nearestCorner(const Plane& plane, const Point& min, const Point& max)
{
    return plane.getA() * (plane.getA() > 0.0f ? min.x() : max.x()) +
           plane.getB() * (plane.getB() > 0.0f ? min.y() : max.y()) +
           plane.getC() * (plane.getC() > 0.0f ? min.z() : max.z()) + plane.getD();
}

} // namespace

BoundingBox::BoundingBox() : BoundingVolume(EMPTY) {}

BoundingBox::BoundingBox(const Point& a, const Point& b) : BoundingVolume(EMPTY)
{
    set(a, b);
}

BoundingBox::BoundingBox(const BoundingBox& other) = default;

BoundingBox& BoundingBox::operator=(const BoundingBox& other) = default;

BoundingBox::~BoundingBox() = default;

void BoundingBox::set(const Point& a, const Point& b)
{
    mMin = Point(std::min(a.x(), b.x()), std::min(a.y(), b.y()), std::min(a.z(), b.z()));
    mMax = Point(std::max(a.x(), b.x()), std::max(a.y(), b.y()), std::max(a.z(), b.z()));
    mState = FINITE;
}

int BoundingBox::intersects(const BoundingVolume& volume, const CppLib::Matrix<float, 4>& placement) const
{
    if (mState == EMPTY || volume.getState() == EMPTY) {
        return -1;
    }
    const BoundingBox* box = volume.asBox();
    if (mState == INFINITE || !box || box->mState == INFINITE) {
        return 1;
    }
    BoundingBox placed;
    placed.expandPlaced(*box, placement);
    return intersects(placed);
}

int BoundingBox::intersects(const BoundingVolume& volume) const
{
    if (mState == EMPTY || volume.getState() == EMPTY) {
        return -1;
    }
    const BoundingBox* box = volume.asBox();
    if (mState == INFINITE || !box) {
        return 1;
    }
    if (box->mState == INFINITE) {
        return 0;
    }
    for (int axis = 0; axis < 3; ++axis) {
        if (mMin[axis] > box->mMax[axis] || box->mMin[axis] > mMax[axis]) {
            return -1;
        }
    }
    return 0;
}

int BoundingBox::intersects(const Frustrum& frustrum) const
{
    if (mState == EMPTY) {
        return -1;
    }
    if (mState == INFINITE) {
        return 1;
    }
    bool inside = true;
    for (int i = 0; i < Frustrum::PLANE_COUNT; ++i) {
        const Plane& plane = frustrum.getPlane(i);
        if (farthestCorner(plane, mMin, mMax) <= 0.0f) {
            return -1;
        }
        if (nearestCorner(plane, mMin, mMax) <= 0.0f) {
            inside = false;
        }
    }
    return inside ? 1 : 0;
}

bool BoundingBox::contains(const Point& point) const
{
    if (mState == EMPTY) {
        return false;
    }
    if (mState == INFINITE) {
        return true;
    }
    return mMin.x() <= point.x() && point.x() <= mMax.x() && mMin.y() <= point.y() && point.y() <= mMax.y() &&
           mMin.z() <= point.z() && point.z() <= mMax.z();
}

float BoundingBox::getDistance(const Frustrum& frustrum) const
{
    if (mState == EMPTY) {
        return -1.0f;
    }
    if (mState == INFINITE) {
        return 0.0f;
    }
    float largest = 0.0f;
    for (int i = 0; i < Frustrum::PLANE_COUNT; ++i) {
        const float distance = farthestCorner(frustrum.getPlane(i), mMin, mMax);
        if (distance <= 0.0f) {
            return -1.0f; // no corner on the inside of this plane
        }
        largest = std::max(largest, distance);
    }
    return largest;
}

bool BoundingBox::expand(const BoundingVolume& volume, const CppLib::Matrix<float, 4>& placement)
{
    if (mState == INFINITE || volume.getState() == EMPTY) {
        return false;
    }
    if (volume.getState() == INFINITE) {
        mState = INFINITE;
        return true;
    }
    const BoundingBox* box = volume.asBox();
    return box ? expandPlaced(*box, placement) : false;
}

bool BoundingBox::expand(const BoundingVolume& volume)
{
    if (mState == INFINITE || volume.getState() == EMPTY) {
        return false;
    }
    if (volume.getState() == INFINITE) {
        mState = INFINITE;
        return true;
    }
    const BoundingBox* box = volume.asBox();
    if (!box) {
        return false;
    }
    return grow(box->mMin.x(), box->mMin.y(), box->mMin.z(), box->mMax.x(), box->mMax.y(), box->mMax.z());
}

bool BoundingBox::expand(const Point& point)
{
    if (mState == INFINITE) {
        return false;
    }
    return grow(point.x(), point.y(), point.z(), point.x(), point.y(), point.z());
}

bool BoundingBox::grow(float x0, float y0, float z0, float x1, float y1, float z1)
{
    if (mState == EMPTY) {
        mMin = Point(x0, y0, z0);
        mMax = Point(x1, y1, z1);
        mState = FINITE;
        return true;
    }
    bool changed = false;
    const float low[3] = {x0, y0, z0};
    const float high[3] = {x1, y1, z1};
    for (int axis = 0; axis < 3; ++axis) {
        if (low[axis] < mMin[axis]) {
            mMin[axis] = low[axis];
            changed = true;
        }
        if (high[axis] > mMax[axis]) {
            mMax[axis] = high[axis];
            changed = true;
        }
    }
    return changed;
}

bool BoundingBox::expandPlaced(const BoundingBox& box, const CppLib::Matrix<float, 4>& placement)
{
    if (placement.isIdentity()) {
        return expand(box);
    }
    if (!isAffine(placement)) {
        // A projective placement bends the box: take its eight corners.
        bool changed = false;
        for (int corner = 0; corner < 8; ++corner) {
            const CppLib::TVector<float, 4> p((corner & 1) ? box.mMax.x() : box.mMin.x(),
                                              (corner & 2) ? box.mMax.y() : box.mMin.y(),
                                              (corner & 4) ? box.mMax.z() : box.mMin.z(), 1.0f);
            changed = expand(Point(placement * p)) || changed;
        }
        return changed;
    }
    // The box around the eight placed corners, one axis at a time: along each
    // output axis every input axis adds its smaller or its larger product.
    float low[3];
    float high[3];
    for (int row = 0; row < 3; ++row) {
        low[row] = high[row] = placement.get(row, 3);
        for (int column = 0; column < 3; ++column) {
            const float a = placement.get(row, column) * box.mMin[column];
            const float b = placement.get(row, column) * box.mMax[column];
            low[row] += std::min(a, b);
            high[row] += std::max(a, b);
        }
    }
    return grow(low[0], low[1], low[2], high[0], high[1], high[2]);
}

} // namespace Velta
