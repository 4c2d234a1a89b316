#pragma once

#include "VeltaExport.h"

namespace Velta {

/// What a render engine can do. Back ends derive their own; the base
/// carries nothing. Owned by its engine.
class VELTA_EXPORT Capabilities {
protected:
    Capabilities() = default;
    virtual ~Capabilities();
};

} // namespace Velta
