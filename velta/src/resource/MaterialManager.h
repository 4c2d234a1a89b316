#pragma once

#include "VeltaExport.h"

namespace Velta {

/// Placeholder for a back-end-neutral material registry; the renderer keeps
/// its own material state.
class VELTA_EXPORT MaterialManager {};

} // namespace Velta
