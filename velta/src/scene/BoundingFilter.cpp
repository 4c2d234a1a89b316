#include "scene/BoundingFilter.h"

#include "scene/BoundingVolume.h"
#include "scene/Drawable.h"
#include "scene/Node.h"

namespace Velta {

BoundingFilter::BoundingFilter() = default;

BoundingFilter::BoundingFilter(const BoundingVolume& volume) : mVolume(&volume) {}

BoundingFilter::BoundingFilter(const Point& point) : mPoint(point) {}

BoundingFilter::BoundingFilter(const BoundingFilter& other) = default;

BoundingFilter& BoundingFilter::operator=(const BoundingFilter& other) = default;

BoundingFilter::~BoundingFilter() = default;

void BoundingFilter::setBoundingVolume(const BoundingVolume& volume)
{
    mVolume = &volume;
    mHasPlacement = false;
}

void BoundingFilter::setBoundingVolume(const BoundingVolume& volume, const CppLib::Matrix<float, 4>& placement)
{
    mVolume = &volume;
    mPlacement = placement;
    mHasPlacement = true;
}

void BoundingFilter::setPoint(const Point& point)
{
    mPoint = point;
    mVolume = nullptr;
    mHasPlacement = false;
}

Traverser::StatusResult BoundingFilter::filter(Node& node)
{
    const TransformedNode& placed = node.getTransformedNode();
    if (!mVolume) {
        return placed.getBoundingVolume().contains(mPoint) ? CONTINUE : SKIP;
    }
    int result = mHasPlacement ? placed.getBoundingVolume().intersects(*mVolume, mPlacement)
                               : placed.getBoundingVolume().intersects(*mVolume);
    if (result != -1 && mTestDrawableVolumes) {
        const Drawable* drawable = dynamic_cast<const Drawable*>(&node);
        const BoundingVolume* own = drawable ? drawable->getBoundingVolume() : nullptr;
        if (own) {
            // Bring the volume into the drawable's own coordinates.
            const CppLib::Matrix<float, 4>& toLocal = placed.getInverseWorldTransformation();
            result = own->intersects(*mVolume, mHasPlacement ? toLocal * mPlacement : toLocal);
        }
    }
    return result != -1 ? CONTINUE : SKIP;
}

} // namespace Velta
