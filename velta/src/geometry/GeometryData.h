#pragma once

#include "VeltaExport.h"
#include "cpplib/SharedPtr.h"
#include "geometry/Geometry.h"

#include <memory>
#include <string>

namespace Velta {

class GeometryDataGroup;
class VertexData;

/// The geometry that loaders and builders fill: one vertex data set, element
/// groups that index into it, and its bounds. Owns its groups and bounds;
/// shares the vertex data.
///
/// A copy is a geometry of its own: new groups with copies of their
/// elements, a copy of the vertex data (a new data set with its own id) and
/// of the bounds. Copied storage is shared until either side writes, so a
/// copy is cheap and changing it leaves the original alone.
class VELTA_EXPORT GeometryData : public Geometry {
public:
    GeometryData();
    explicit GeometryData(const std::string& name);
    GeometryData(const GeometryData& other);
    GeometryData& operator=(const GeometryData&) = delete;
    ~GeometryData() override;

    const std::string& getName() const override { return mName; }

    const VertexDataSet* getIndexedDataSet(int set) const override;
    VertexDataSet* getIndexedDataSet(int set) override;

    /// The vertex data, or an empty pointer. The argument selects nothing.
    CppLib::SharedPtr<VertexData> getIndexedData(int) const { return mIndexedData; }
    void setIndexedVertexData(const CppLib::SharedPtr<VertexData>& data) { mIndexedData = data; }

    /// The groups in drawing order. Groups appended here are owned by the
    /// geometry like those made by createGroup().
    const CppLib::Vector<GeometryGroup*>& getElementGroups() const override { return mGroups; }
    CppLib::Vector<GeometryGroup*>& getElementGroups() override { return mGroups; }

    /// Appends a new empty group with material index 0; its group index is
    /// the number of groups before the call.
    GeometryDataGroup& createGroup();

    /// The group at `index`, or null when there is none (or it is not a
    /// GeometryDataGroup).
    GeometryDataGroup* getGroup(unsigned int index) const;

    /// Deletes every group with its elements.
    void clearGroups();

    /// The bound of the vertices in the geometry's own axes, and a bound for
    /// collisions; null when not set. The setters take ownership (create the
    /// volume with new; null removes it) and delete the previous volume. Both
    /// must be different objects. Sub-objects that show this geometry take a
    /// new bound into their world bounds when their geometry is set again.
    void setBoundingVolume(BoundingVolume* volume);
    void setPhysicsVolume(BoundingVolume* volume);
    const BoundingVolume* getBoundingVolume() const override { return mBoundingVolume.get(); }
    BoundingVolume* getBoundingVolume() { return mBoundingVolume.get(); }
    const BoundingVolume* getPhysicsVolume() const override { return mPhysicsVolume.get(); }
    BoundingVolume* getPhysicsVolume() { return mPhysicsVolume.get(); }

private:
    std::string mName;
    CppLib::Vector<GeometryGroup*> mGroups;
    CppLib::SharedPtr<VertexData> mIndexedData;
    std::unique_ptr<BoundingVolume> mBoundingVolume;
    std::unique_ptr<BoundingVolume> mPhysicsVolume;
};

} // namespace Velta
