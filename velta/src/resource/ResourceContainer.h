#pragma once

#include "VeltaExport.h"
#include "cpplib/LinkedMap.h"

namespace Velta {

class ResourceData;

/// A resource that back ends can attach their own records to, one per
/// resource provider id. Provider 0 (the render context, created first) uses a
/// direct slot and needs no lookup. Records are not owned: when the resource
/// goes, its records are told (ResourceData::getContainer() becomes null) and
/// their back end frees them.
class VELTA_EXPORT ResourceContainer {
public:
    ResourceContainer() = default;
    /// A copy is another resource: it starts without records.
    ResourceContainer(const ResourceContainer&) {}
    ResourceContainer& operator=(const ResourceContainer&) { return *this; }
    virtual ~ResourceContainer();

    /// Attaches `data` under its provider id, replacing that provider's record.
    virtual void setResourceData(ResourceData& data);

    /// The provider's record, or null.
    virtual ResourceData* getResourceData(unsigned int providerId) const;

    /// Detaches the provider's record without deleting it.
    virtual void unsetResourceData(unsigned int providerId);

private:
    CppLib::LinkedMap<unsigned int, ResourceData*> mData;
    ResourceData* mDirectData = nullptr;
};

} // namespace Velta
