#pragma once

#include "VeltaExport.h"
#include "scene/BoundingVolume.h"

namespace Velta {

/// Axis-aligned box between two corners; the engine's one concrete bound.
/// A new box is EMPTY with both corners at the origin. The corners are only
/// meaningful in the FINITE state.
class VELTA_EXPORT BoundingBox : public BoundingVolume {
public:
    BoundingBox();
    /// A FINITE box spanning the two points, whatever their order.
    BoundingBox(const Point& a, const Point& b);
    BoundingBox(const BoundingBox& other);
    BoundingBox& operator=(const BoundingBox& other);
    ~BoundingBox() override;

    void setEmpty() override { mState = EMPTY; }
    void setInfinite() override { mState = INFINITE; }

    /// Makes the box FINITE, spanning the two points.
    void set(const Point& a, const Point& b);

    const Point& getMin() const { return mMin; }
    const Point& getMax() const { return mMax; }

    /// Compares `volume` placed by `placement` with this box by the box
    /// around the placed volume: never −1 for volumes that meet.
    int intersects(const BoundingVolume& volume, const CppLib::Matrix<float, 4>& placement) const override;

    /// −1 when either box is EMPTY or they are apart on some axis (touching
    /// counts as meeting); 1 when this box is INFINITE or `volume` is not a
    /// box; 0 otherwise.
    int intersects(const BoundingVolume& volume) const override;

    /// −1 outside some plane, 1 inside every plane (or INFINITE), else 0.
    int intersects(const Frustrum& frustrum) const override;

    /// Corners inclusive. An INFINITE box contains every point.
    bool contains(const Point& point) const override;

    /// −1 for an EMPTY box or one outside some plane, 0 for an INFINITE box;
    /// otherwise the largest signed distance of a corner to any plane.
    float getDistance(const Frustrum& frustrum) const override;

    /// Nothing grows an INFINITE box, an EMPTY volume adds nothing, an
    /// INFINITE volume makes this box INFINITE.
    bool expand(const BoundingVolume& volume, const CppLib::Matrix<float, 4>& placement) override;
    bool expand(const BoundingVolume& volume) override;
    bool expand(const Point& point) override;

    const BoundingBox* asBox() const override { return this; }

private:
    /// Grows a FINITE box to the corners (x0, y0, z0) … (x1, y1, z1).
    bool grow(float x0, float y0, float z0, float x1, float y1, float z1);
    bool expandPlaced(const BoundingBox& box, const CppLib::Matrix<float, 4>& placement);

    Point mMin;
    Point mMax;
};

} // namespace Velta
