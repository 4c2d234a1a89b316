#include "resource/ResourceContainer.h"

#include "resource/ResourceData.h"

namespace Velta {

ResourceContainer::~ResourceContainer() = default;

void ResourceContainer::setResourceData(ResourceData& data)
{
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
    if (providerId == 0) {
        mDirectData = nullptr;
    } else {
        mData.remove(providerId);
    }
}

} // namespace Velta
