#pragma once

#include "VeltaExport.h"
#include "cpplib/Matrix.h"
#include "cpplib/Point.h"

namespace Velta {

class BoundingBox;
class Frustrum;

/// A region of space used to cull and to query the scene. A volume is in one
/// of three states: INFINITE contains everything (lights, the scene root),
/// EMPTY contains nothing (cameras, a group with nothing to bound), FINITE is
/// bounded by the concrete shape.
///
/// The intersection tests answer −1 (disjoint), 0 (overlapping) or 1 (this
/// volume contains the other, or is infinite); they may answer 0 or 1 for
/// volumes that do not quite meet, never −1 for volumes that do.
class VELTA_EXPORT BoundingVolume {
public:
    enum VolumeState {
        INFINITE = 0,
        EMPTY = 1,
        FINITE = 2
    };

    virtual ~BoundingVolume();

    virtual void setEmpty() = 0;
    virtual void setInfinite() = 0;
    VolumeState getState() const { return mState; }

    /// Test against `volume` placed by `placement` (its coordinates times the
    /// matrix give this volume's coordinates).
    virtual int intersects(const BoundingVolume& volume, const CppLib::Matrix<float, 4>& placement) const = 0;
    virtual int intersects(const BoundingVolume& volume) const = 0;
    virtual int intersects(const Frustrum& frustrum) const = 0;

    virtual bool contains(const Point& point) const = 0;

    /// Negative when the volume lies outside the frustum; otherwise how far
    /// its farthest part lies inside (0 for an infinite volume).
    virtual float getDistance(const Frustrum& frustrum) const = 0;

    /// Grows this volume to take in `volume` placed by `placement`, or
    /// `volume` itself, or a point. Answers whether anything changed.
    virtual bool expand(const BoundingVolume& volume, const CppLib::Matrix<float, 4>& placement) = 0;
    virtual bool expand(const BoundingVolume& volume) = 0;
    virtual bool expand(const Point& point) = 0;

    /// 1 inside the volume, 0 outside.
    virtual float getWeight(const Point& point) const;

    /// This volume as a box, or null for other shapes.
    virtual const BoundingBox* asBox() const { return nullptr; }

protected:
    explicit BoundingVolume(VolumeState state) : mState(state) {}
    BoundingVolume(const BoundingVolume&) = default;
    BoundingVolume& operator=(const BoundingVolume&) = default;

    VolumeState mState;
};

} // namespace Velta
