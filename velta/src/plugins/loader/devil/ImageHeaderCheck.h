#pragma once

#include "VeltaExport.h"

#include <cstddef>
#include <string>

namespace Velta {

/// Checks an image file, before DevIL decodes it, for what DevIL's decoders
/// do not check themselves: a PNG whose chunks run past the end of the file
/// makes DevIL's reader wait for data for ever, and an image size beyond
/// DevIL's 32-bit size arithmetic makes it allocate too little for the rows
/// it then writes. Files of other formats are left to DevIL.
class VELTA_EXPORT ImageHeaderCheck {
public:
    /// The largest image accepted: at most MAX_SIDE pixels wide and high and
    /// MAX_PIXELS pixels in all (512 MB at 8 bytes a pixel).
    static constexpr unsigned long long MAX_SIDE = 16384;
    static constexpr unsigned long long MAX_PIXELS = 1ull << 26;

    /// Whether the bytes start with the PNG signature.
    static bool isPng(const unsigned char* data, size_t size);

    /// True when the file is a PNG whose first chunk is a header naming an
    /// accepted size and whose chunks all lie inside the file up to the
    /// closing one; otherwise false with `problem` set.
    static bool checkPng(const unsigned char* data, size_t size, std::string& problem);

    /// True when the file starts with a PCX header naming an accepted size;
    /// otherwise false with `problem` set.
    static bool checkPcx(const unsigned char* data, size_t size, std::string& problem);

    /// True for an accepted image size; otherwise false with `problem` set.
    static bool checkSize(unsigned long long width, unsigned long long height, std::string& problem);
};

} // namespace Velta
