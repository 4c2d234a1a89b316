#pragma once

#include "VeltaExport.h"
#include "cpplib/Matrix.h"
#include "cpplib/Point.h"
#include "scene/Traverser.h"

namespace Velta {

class BoundingVolume;

/// Restricts a walk to the nodes whose world bound meets a point or a volume,
/// for queries such as "what does the duck touch".
///
/// Point mode (the default, at the origin) lets in nodes whose world bound
/// contains the point; volume mode lets in nodes whose world bound meets the
/// volume, given in world coordinates or placed by a matrix. The filter keeps
/// a pointer to the volume: the caller keeps it alive while the filter is in
/// use. With drawable volumes tested, a drawable's own bound must meet the
/// volume too.
class VELTA_EXPORT BoundingFilter : public Traverser::Filter {
public:
    BoundingFilter();
    explicit BoundingFilter(const BoundingVolume& volume);
    explicit BoundingFilter(const Point& point);
    BoundingFilter(const BoundingFilter& other);
    BoundingFilter& operator=(const BoundingFilter& other);
    ~BoundingFilter() override;

    void setBoundingVolume(const BoundingVolume& volume);
    /// `volume` in its own coordinates, placed into the world by `placement`.
    void setBoundingVolume(const BoundingVolume& volume, const CppLib::Matrix<float, 4>& placement);

    /// Point mode at `point`.
    void setPoint(const Point& point);

    void setTestDrawableVolumes(bool test) { mTestDrawableVolumes = test; }
    bool doTestDrawableVolumes() const { return mTestDrawableVolumes; }

    StatusResult filter(Node& node) override;

private:
    const BoundingVolume* mVolume = nullptr;
    CppLib::Matrix<float, 4> mPlacement;
    bool mHasPlacement = false;
    Point mPoint;
    bool mTestDrawableVolumes = false;
};

} // namespace Velta
