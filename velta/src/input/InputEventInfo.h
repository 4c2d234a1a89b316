#pragma once

#include "VeltaExport.h"

namespace Velta {

/// What an input event says beyond its type: a key, a pointer position, a
/// button or a window-system notice. An InputEvent owns the info it holds.
class VELTA_EXPORT InputEventInfo {
public:
    virtual ~InputEventInfo();

    /// A new copy of the same class, owned by the caller; lets an event be
    /// copied without knowing what it holds.
    virtual InputEventInfo* clone() const = 0;
};

} // namespace Velta
