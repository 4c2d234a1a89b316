#pragma once

#include "VeltaExport.h"

#include <string>
#include <vector>

namespace Velta {

/// Reads resource files named by resource paths (see NativePath).
class VELTA_EXPORT ResourceFile {
public:
    /// Reads the whole file into `bytes`. False, with `bytes` empty, when the
    /// file is missing or unreadable; callers log and fall back.
    static bool readAll(const std::string& resourcePath, std::vector<unsigned char>& bytes);

    /// True when the file exists and can be opened for reading.
    static bool exists(const std::string& resourcePath);
};

} // namespace Velta
