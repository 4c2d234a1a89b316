#include "resource/ResourceContainer.h"

#include "resource/ResourceData.h"

namespace Velta {

ResourceData::~ResourceData()
{
    if (mContainer) {
        mContainer->unsetResourceData(mProviderId);
    }
}

ResourceContainer::~ResourceContainer()
{
    // The records stay their back ends'; they learn that this is gone.
    if (mDirectData) {
        mDirectData->mContainer = nullptr;
    }
    for (auto& entry : mData) {
        entry.second->mContainer = nullptr;
    }
}

void ResourceContainer::setResourceData(ResourceData& data)
{
    if (ResourceData* before = getResourceData(data.getProviderId()); before && before != &data) {
        before->mContainer = nullptr;
    }
    data.mContainer = this;
    if (data.getProviderId() == 0) {
        mDirectData = &data;
    } else {
        mData.put(data.getProviderId(), &data);
    }
}

ResourceData* ResourceContainer::getResourceData(unsigned int providerId) const
{
    if (providerId == 0) {
        return mDirectData;
    }
    ResourceData* const* found = mData.find(providerId);
    return found ? *found : nullptr;
}

void ResourceContainer::unsetResourceData(unsigned int providerId)
{
    if (ResourceData* data = getResourceData(providerId)) {
        data->mContainer = nullptr;
    }
    if (providerId == 0) {
        mDirectData = nullptr;
    } else {
        mData.remove(providerId);
    }
}

} // namespace Velta
