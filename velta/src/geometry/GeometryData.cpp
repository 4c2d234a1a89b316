#include "geometry/GeometryData.h"

#include "geometry/GeometryDataGroup.h"
#include "geometry/InterleavedVertexData.h"
#include "geometry/VertexData.h"
#include "scene/BoundingBox.h"

#include <cassert>

namespace Velta {

namespace {

/// A copy of `volume`, or null when there is none or its kind cannot be
/// copied (boxes are the only bounds the engine makes).
BoundingVolume* copyVolume(const BoundingVolume* volume)
{
    const BoundingBox* box = volume ? volume->asBox() : nullptr;
    return box ? new BoundingBox(*box) : nullptr;
}

/// A copy of `data` of the same kind: a new data set sharing the arrays.
VertexData* copyVertexData(const VertexData& data)
{
    if (const InterleavedVertexData* interleaved = dynamic_cast<const InterleavedVertexData*>(&data)) {
        return new InterleavedVertexData(*interleaved);
    }
    return new VertexData(data);
}

} // namespace

GeometryData::GeometryData() = default;

GeometryData::GeometryData(const std::string& name) : mName(name) {}

GeometryData::GeometryData(const GeometryData& other)
    : Geometry(other),
      mName(other.mName),
      mBoundingVolume(copyVolume(other.mBoundingVolume.get())),
      mPhysicsVolume(copyVolume(other.mPhysicsVolume.get()))
{
    if (!other.mIndexedData.isNull()) {
        mIndexedData = CppLib::SharedPtr<VertexData>(copyVertexData(*other.mIndexedData));
    }
    mGroups.reserve(other.mGroups.getSize());
    for (const GeometryGroup* group : other.mGroups) {
        if (const GeometryDataGroup* dataGroup = dynamic_cast<const GeometryDataGroup*>(group)) {
            mGroups.append(new GeometryDataGroup(*dataGroup));
        }
    }
}

GeometryData::~GeometryData()
{
    clearGroups();
}

const VertexDataSet* GeometryData::getIndexedDataSet(int) const
{
    return mIndexedData.get();
}

VertexDataSet* GeometryData::getIndexedDataSet(int)
{
    return mIndexedData.get();
}

GeometryDataGroup& GeometryData::createGroup()
{
    GeometryDataGroup* group = new GeometryDataGroup(mGroups.getSize());
    mGroups.append(group);
    return *group;
}

GeometryDataGroup* GeometryData::getGroup(unsigned int index) const
{
    if (index >= mGroups.getSize()) {
        return nullptr;
    }
    return dynamic_cast<GeometryDataGroup*>(mGroups.get(static_cast<int>(index)));
}

void GeometryData::clearGroups()
{
    for (GeometryGroup* group : mGroups) {
        delete group;
    }
    mGroups.clear();
}

void GeometryData::setBoundingVolume(BoundingVolume* volume)
{
    assert((!volume || volume != mPhysicsVolume.get()) && "the bound and the physics volume are one object");
    if (volume != mBoundingVolume.get()) {
        mBoundingVolume.reset(volume);
    }
}

void GeometryData::setPhysicsVolume(BoundingVolume* volume)
{
    assert((!volume || volume != mBoundingVolume.get()) && "the bound and the physics volume are one object");
    if (volume != mPhysicsVolume.get()) {
        mPhysicsVolume.reset(volume);
    }
}

} // namespace Velta
