#pragma once

#include "VeltaExport.h"

#include <string>

namespace Velta {

/// Resource paths are written as the engine and the game name them, with
/// backslashes (".\textures\overlays\go.png"). They are turned into this
/// system's paths only at the point where a file is opened.
class VELTA_EXPORT NativePath {
public:
    /// `resourcePath` with every backslash turned into the native separator.
    static std::string fromResourcePath(const std::string& resourcePath);
};

} // namespace Velta
