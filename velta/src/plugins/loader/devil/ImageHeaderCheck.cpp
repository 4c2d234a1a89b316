#include "plugins/loader/devil/ImageHeaderCheck.h"

#include <cstring>

namespace Velta {

namespace {

const unsigned char PNG_SIGNATURE[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
/// Length field, type, CRC.
const size_t PNG_CHUNK_OVERHEAD = 12;
const size_t PNG_HEADER_LENGTH = 13;
const size_t PCX_HEADER_SIZE = 128;

unsigned long long bigEndian32(const unsigned char* at)
{
    return (static_cast<unsigned long long>(at[0]) << 24) | (at[1] << 16) | (at[2] << 8) | at[3];
}

unsigned int littleEndian16(const unsigned char* at)
{
    return at[0] | (at[1] << 8);
}

} // namespace

bool ImageHeaderCheck::isPng(const unsigned char* data, size_t size)
{
    return size >= sizeof(PNG_SIGNATURE) && std::memcmp(data, PNG_SIGNATURE, sizeof(PNG_SIGNATURE)) == 0;
}

bool ImageHeaderCheck::checkPng(const unsigned char* data, size_t size, std::string& problem)
{
    problem = "truncated or corrupt PNG file";
    if (!isPng(data, size)) {
        return false;
    }
    size_t at = sizeof(PNG_SIGNATURE);
    if (size - at < PNG_CHUNK_OVERHEAD + PNG_HEADER_LENGTH || bigEndian32(data + at) != PNG_HEADER_LENGTH
        || std::memcmp(data + at + 4, "IHDR", 4) != 0) {
        return false;
    }
    if (!checkSize(bigEndian32(data + at + 8), bigEndian32(data + at + 12), problem)) {
        return false;
    }
    problem = "truncated or corrupt PNG file";
    // The reader stops at the closing chunk: everything it reads up to there
    // must be in the file.
    while (size - at >= PNG_CHUNK_OVERHEAD) {
        const unsigned long long length = bigEndian32(data + at);
        if (length > size - at - PNG_CHUNK_OVERHEAD) {
            return false;
        }
        if (std::memcmp(data + at + 4, "IEND", 4) == 0) {
            problem.clear();
            return true;
        }
        at += PNG_CHUNK_OVERHEAD + length;
    }
    return false;
}

bool ImageHeaderCheck::checkPcx(const unsigned char* data, size_t size, std::string& problem)
{
    problem = "corrupt PCX header";
    if (size < PCX_HEADER_SIZE || data[0] != 0x0a) {
        return false;
    }
    const unsigned int xMin = littleEndian16(data + 4);
    const unsigned int yMin = littleEndian16(data + 6);
    const unsigned int xMax = littleEndian16(data + 8);
    const unsigned int yMax = littleEndian16(data + 10);
    if (xMax < xMin || yMax < yMin) {
        return false;
    }
    return checkSize(xMax - xMin + 1ull, yMax - yMin + 1ull, problem);
}

bool ImageHeaderCheck::checkSize(unsigned long long width, unsigned long long height, std::string& problem)
{
    if (width == 0 || height == 0 || width > MAX_SIDE || height > MAX_SIDE || width * height > MAX_PIXELS) {
        problem = "unsupported image size " + std::to_string(width) + " x " + std::to_string(height);
        return false;
    }
    problem.clear();
    return true;
}

} // namespace Velta
