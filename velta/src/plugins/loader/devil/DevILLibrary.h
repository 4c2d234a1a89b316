#pragma once

#include "VeltaExport.h"

namespace Velta {

/// DevIL keeps one global state for the whole process. It is started by the
/// first image loader that initialises and shut down when the last one shuts
/// down. Images decoded in one run of the library are gone in the next, so
/// whoever holds one compares the run it was made in with getRun().
class VELTA_EXPORT DevILLibrary {
public:
    /// Starts the library (DevIL and ILU) for the first user. Images are
    /// delivered with their top row first, whatever the file stores.
    static void acquire();

    /// Shuts the library down when the last user lets go; a release without
    /// an acquire does nothing.
    static void release();

    /// Identifies the current run: a new value after each start, 0 while the
    /// library is shut down.
    static unsigned long long getRun();
};

} // namespace Velta
