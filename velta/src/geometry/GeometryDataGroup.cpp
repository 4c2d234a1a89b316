#include "geometry/GeometryDataGroup.h"

#include "geometry/ElementData.h"

namespace Velta {

GeometryDataGroup::GeometryDataGroup(unsigned int groupIndex) : mGroupIndex(groupIndex) {}

GeometryDataGroup::GeometryDataGroup(const GeometryDataGroup& other)
    : GeometryGroup(other),
      mGroupIndex(other.mGroupIndex),
      mMaterialIndex(other.mMaterialIndex),
      mBounds(other.mBounds),
      mHasBounds(other.mHasBounds)
{
    mElements.reserve(other.mElements.getSize());
    for (const GeometryElement* element : other.mElements) {
        if (const ElementData* data = dynamic_cast<const ElementData*>(element)) {
            mElements.append(data->clone());
        }
    }
}

GeometryDataGroup::~GeometryDataGroup()
{
    clearElements();
}

void GeometryDataGroup::addElement(ElementData& element)
{
    GeometryElement* added = &element;
    if (mElements.indexOf(added) < 0) {
        mElements.append(added);
    }
}

void GeometryDataGroup::setBounds(const BoundingBox& bounds)
{
    mBounds = bounds;
    mHasBounds = bounds.getState() != BoundingVolume::EMPTY;
}

void GeometryDataGroup::clearElements()
{
    for (GeometryElement* element : mElements) {
        delete element;
    }
    mElements.clear();
}

} // namespace Velta
