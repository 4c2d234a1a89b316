#pragma once

#include "VeltaExport.h"

namespace Velta {

/// A logic element that decides; declared for the event manager's interface.
class VELTA_EXPORT Controller {
public:
    virtual ~Controller() = default;
};

} // namespace Velta
