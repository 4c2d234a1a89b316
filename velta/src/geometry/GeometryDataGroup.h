#pragma once

#include "VeltaExport.h"
#include "geometry/GeometryGroup.h"
#include "scene/BoundingBox.h"

namespace Velta {

class ElementData;

/// The group kind that geometry data builds (GeometryData::createGroup).
/// Owns its elements: whatever is added is deleted with the group or by
/// clearElements().
class VELTA_EXPORT GeometryDataGroup : public GeometryGroup {
public:
    /// An empty group at position `groupIndex` of its geometry, material 0.
    explicit GeometryDataGroup(unsigned int groupIndex);

    /// Copies the group with a copy of every element (sharing their index and
    /// vertex storage until either side writes). Elements that are not
    /// ElementData cannot be copied and are left out.
    GeometryDataGroup(const GeometryDataGroup& other);
    GeometryDataGroup& operator=(const GeometryDataGroup&) = delete;
    ~GeometryDataGroup() override;

    unsigned int getGroupIndex() const { return mGroupIndex; }

    unsigned int getMaterialIndex() const override { return mMaterialIndex; }
    void setMaterialIndex(unsigned int index) { mMaterialIndex = index; }

    /// Appends `element` and takes ownership of it: create it with new and
    /// let the group delete it. Adding an element the group already holds
    /// changes nothing.
    void addElement(ElementData& element);

    CppLib::Vector<GeometryElement*>& getElementList(int) override { return mElements; }
    const CppLib::Vector<GeometryElement*>& getElementList(int) const override { return mElements; }

    /// Deletes every element.
    void clearElements();

    /// Sets where the elements lie (see GeometryGroup::getBounds); an empty
    /// box forgets it.
    void setBounds(const BoundingBox& bounds);
    const BoundingBox* getBounds() const override { return mHasBounds ? &mBounds : nullptr; }

private:
    CppLib::Vector<GeometryElement*> mElements;
    unsigned int mGroupIndex;
    unsigned int mMaterialIndex = 0;
    BoundingBox mBounds;
    bool mHasBounds = false;
};

} // namespace Velta
