#pragma once

#include "VeltaExport.h"

#include <string>

namespace Velta {

/// Maps a short resource name ("grass/colour.png") to the file to open.
class VELTA_EXPORT NameMapper {
public:
    /// The name asked for, the path to open (as the engine writes it, with
    /// backslashes; see NativePath) and the extension without its dot (empty
    /// when the file name has none).
    struct VELTA_EXPORT ResourceInfo {
        std::string name;
        std::string fileName;
        std::string extension;
    };

    virtual ~NameMapper() = default;

    virtual ResourceInfo map(const std::string& name) const = 0;
};

} // namespace Velta
