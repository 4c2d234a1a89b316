#pragma once

#include "VeltaExport.h"

namespace Velta {

/// Base of the loaders and engines a resource manager uses; the manager
/// initialises a loader on registration when it is not yet.
class VELTA_EXPORT ResourceLoader {
public:
    virtual ~ResourceLoader() = default;

    virtual bool isInitialized() const = 0;
    virtual bool initialize() = 0;
    virtual bool shutdown() = 0;
};

} // namespace Velta
