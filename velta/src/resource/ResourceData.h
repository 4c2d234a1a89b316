#pragma once

#include "VeltaExport.h"

namespace Velta {

class ResourceContainer;

/// A back end's own record attached to an engine resource, under the back
/// end's resource provider id. Back ends derive their records from it.
///
/// The record knows the resource it is attached to until the resource goes
/// or lets go of it: a back end frees what it keeps for a resource that is
/// gone (getContainer() null), and detaches its records from the resources
/// still there when it goes itself.
class VELTA_EXPORT ResourceData {
public:
    explicit ResourceData(unsigned int providerId) : mProviderId(providerId) {}
    /// Detaches itself from its resource, if that is still there.
    virtual ~ResourceData();
    ResourceData(const ResourceData&) = delete;
    ResourceData& operator=(const ResourceData&) = delete;

    unsigned int getProviderId() const { return mProviderId; }

    /// The resource the record is attached to; null when none is (any more).
    ResourceContainer* getContainer() const { return mContainer; }

private:
    friend class ResourceContainer;

    unsigned int mProviderId;
    ResourceContainer* mContainer = nullptr;
};

} // namespace Velta
