#pragma once

#include "VeltaExport.h"

#include <cstddef>
#include <string>

namespace Velta {

/// Tells an image file's format from its content and checks its header,
/// before DevIL decodes it, for what DevIL's decoders do not check
/// themselves: DevIL sizes its images with 32-bit arithmetic and trusts the
/// sizes a header states, so a small file naming a large image makes it
/// allocate too little (or gigabytes) and write past what it allocated; a
/// PNG whose chunks run past the end of the file makes its reader wait for
/// data for ever. Only the formats recognised here, each with a check that
/// bounds width × height × channels, are handed to DevIL; every other
/// format is refused.
class VELTA_EXPORT ImageHeaderCheck {
public:
    enum Format { UNKNOWN, PNG, PCX, JPEG, BMP, TGA };

    /// The largest image accepted: at most MAX_SIDE pixels wide and high and
    /// MAX_PIXELS pixels in all, whatever the format. 4096 × 4096 pixels
    /// are 128 MiB in the widest layout DevIL delivers (four 16-bit
    /// channels), several times any texture or height map the game uses,
    /// and far from DevIL's 32-bit size arithmetic even when it converts.
    static constexpr unsigned long long MAX_SIDE = 16384;
    static constexpr unsigned long long MAX_PIXELS = 1ull << 24;

    /// The format of the bytes by their content alone (signatures, and for
    /// TGA, which has none, a header whose every field has a defined value);
    /// UNKNOWN for anything else.
    static Format recognise(const unsigned char* data, size_t size);

    /// Runs the check of `format` (see below); false with `problem` set for
    /// UNKNOWN.
    static bool check(Format format, const unsigned char* data, size_t size, std::string& problem);

    /// Whether the bytes start with the PNG signature.
    static bool isPng(const unsigned char* data, size_t size);

    /// True when the file is a PNG whose first chunk is a header naming an
    /// accepted size and whose chunks all lie inside the file up to the
    /// closing one; otherwise false with `problem` set.
    static bool checkPng(const unsigned char* data, size_t size, std::string& problem);

    /// True when the file starts with a PCX header of a defined layout (1
    /// bit in 1 or 4 planes, 2 or 4 bits in 1 plane, 8 bits in 1, 3 or 4
    /// planes) whose lines hold the image's width, of an accepted size that
    /// the file's bytes can encode; otherwise false with `problem` set.
    static bool checkPcx(const unsigned char* data, size_t size, std::string& problem);

    /// True when every segment of the JPEG up to the end of its image lies
    /// inside the file, a scan follows the frame header and that header
    /// names a baseline, extended or progressive frame of 8 bits, 1 or 3
    /// components and an accepted size; otherwise false with `problem` set.
    static bool checkJpeg(const unsigned char* data, size_t size, std::string& problem);

    /// True for an uncompressed BMP (or 16 and 32 bits with bit fields) of 1,
    /// 4, 8, 16, 24 or 32 bits whose rows all lie inside the file, of an
    /// accepted size (a negative height is a top-down image); otherwise false
    /// with `problem` set.
    static bool checkBmp(const unsigned char* data, size_t size, std::string& problem);

    /// True for a TGA as recognise() sees it of an accepted size whose pixels
    /// the file's bytes can hold (stored) or encode (run-length encoded);
    /// otherwise false with `problem` set.
    static bool checkTga(const unsigned char* data, size_t size, std::string& problem);

    /// True for an accepted image size; otherwise false with `problem` set.
    static bool checkSize(unsigned long long width, unsigned long long height, std::string& problem);
};

} // namespace Velta
