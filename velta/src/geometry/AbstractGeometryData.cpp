#include "geometry/AbstractGeometryData.h"

#include "core/TimerManager.h"
#include "core/VeltaCore.h"
#include "geometry/GeometryManager.h"
#include "resource/ResourceManager.h"

namespace Velta {

namespace {

unsigned long long createDataSetId()
{
    return VeltaCore::getSingleton().getResourceManager().getGeometryManager().createDataSetId();
}

} // namespace

AbstractGeometryData::AbstractGeometryData(bool bufferable) : mId(createDataSetId()), mBufferable(bufferable) {}

AbstractGeometryData::AbstractGeometryData(const AbstractGeometryData& other)
    : mId(createDataSetId()), mBufferable(other.mBufferable)
{
}

AbstractGeometryData::~AbstractGeometryData() = default;

void AbstractGeometryData::setModified()
{
    mModified = VeltaCore::getSingleton().getTimerManager().getTimestamp();
}

bool AbstractGeometryData::hasChanged(long long time) const
{
    return mModified > 0 && mModified >= time;
}

} // namespace Velta
