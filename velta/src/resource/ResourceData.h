#pragma once

#include "VeltaExport.h"

namespace Velta {

/// A back end's own record attached to an engine resource, under the back
/// end's resource provider id. Back ends derive their records from it.
class VELTA_EXPORT ResourceData {
public:
    explicit ResourceData(unsigned int providerId) : mProviderId(providerId) {}
    virtual ~ResourceData() = default;

    unsigned int getProviderId() const { return mProviderId; }

private:
    unsigned int mProviderId;
};

} // namespace Velta
