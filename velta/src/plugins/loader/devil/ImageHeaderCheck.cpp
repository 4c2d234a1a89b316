#include "plugins/loader/devil/ImageHeaderCheck.h"

#include <cstring>

namespace Velta {

namespace {

const unsigned char PNG_SIGNATURE[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
/// Length field, type, CRC.
const size_t PNG_CHUNK_OVERHEAD = 12;
const size_t PNG_HEADER_LENGTH = 13;

const size_t PCX_HEADER_SIZE = 128;
/// A PCX run of up to 63 bytes takes 2 bytes of the file.
const unsigned long long PCX_MAX_EXPANSION = 32;

const size_t BMP_FILE_HEADER_SIZE = 14;
const size_t BMP_CORE_HEADER_SIZE = 12;
const size_t BMP_INFO_HEADER_SIZE = 40;
const unsigned long BMP_RGB = 0;
const unsigned long BMP_BITFIELDS = 3;

const size_t TGA_HEADER_SIZE = 18;
/// A TGA run packet of up to 128 pixels takes one byte and one pixel.
const unsigned long long TGA_MAX_RUN = 128;

unsigned long long bigEndian16(const unsigned char* at)
{
    return (static_cast<unsigned long long>(at[0]) << 8) | at[1];
}

unsigned long long bigEndian32(const unsigned char* at)
{
    return (static_cast<unsigned long long>(at[0]) << 24) | (at[1] << 16) | (at[2] << 8) | at[3];
}

unsigned long long littleEndian16(const unsigned char* at)
{
    return at[0] | (static_cast<unsigned long long>(at[1]) << 8);
}

unsigned long long littleEndian32(const unsigned char* at)
{
    return littleEndian16(at) | (littleEndian16(at + 2) << 16);
}

long long signedLittleEndian32(const unsigned char* at)
{
    const unsigned long long value = littleEndian32(at);
    return value < 0x80000000ull ? static_cast<long long>(value) : static_cast<long long>(value) - 0x100000000ll;
}

bool isJpeg(const unsigned char* data, size_t size)
{
    return size >= 3 && data[0] == 0xff && data[1] == 0xd8 && data[2] == 0xff;
}

bool isBmp(const unsigned char* data, size_t size)
{
    return size >= 2 && data[0] == 'B' && data[1] == 'M';
}

bool isPcx(const unsigned char* data, size_t size)
{
    // Versions 0 and 2 to 5, run-length encoded (1).
    return size >= 3 && data[0] == 0x0a && data[1] != 1 && data[1] <= 5 && data[2] == 1;
}

/// The fields of a TGA header.
struct TgaHeader {
    explicit TgaHeader(const unsigned char* data)
        : idLength(data[0]), mapType(data[1]), imageType(data[2]), mapFirst(littleEndian16(data + 3)),
          mapLength(littleEndian16(data + 5)), mapBits(data[7]), width(littleEndian16(data + 12)),
          height(littleEndian16(data + 14)), pixelBits(data[16]), descriptor(data[17])
    {
    }

    bool isColourMapped() const { return imageType == 1 || imageType == 9; }
    bool isTrueColour() const { return imageType == 2 || imageType == 10; }
    bool isGrey() const { return imageType == 3 || imageType == 11; }
    bool isRunLengthEncoded() const { return imageType >= 9; }

    /// Every field has a value the format defines, and the colour map is
    /// there exactly when the image needs one or carries one in full.
    bool isDefined() const
    {
        const bool trueColourBits = pixelBits == 15 || pixelBits == 16 || pixelBits == 24 || pixelBits == 32;
        const bool pixelsDefined = isTrueColour() ? trueColourBits : (isColourMapped() || isGrey()) && pixelBits == 8;
        const bool mapDefined = mapType == 1
            ? mapLength > 0 && (mapBits == 15 || mapBits == 16 || mapBits == 24 || mapBits == 32)
            : mapType == 0 && !isColourMapped() && mapFirst == 0 && mapLength == 0 && mapBits == 0;
        // No interleaving (bits 6 and 7), at most 8 alpha bits.
        return pixelsDefined && mapDefined && (descriptor & 0xc0) == 0 && (descriptor & 0x0f) <= 8;
    }

    unsigned long long idLength, mapType, imageType, mapFirst, mapLength, mapBits, width, height, pixelBits,
        descriptor;
};

bool isTga(const unsigned char* data, size_t size)
{
    return size >= TGA_HEADER_SIZE && TgaHeader(data).isDefined();
}

/// PCX layouts as bits per pixel and planes.
bool isDefinedPcxLayout(unsigned int bits, unsigned int planes)
{
    switch (bits) {
    case 1: return planes == 1 || planes == 4;
    case 2:
    case 4: return planes == 1;
    case 8: return planes == 1 || planes == 3 || planes == 4;
    default: return false;
    }
}

/// JPEG frame markers: SOF0 … SOF15 but DHT (C4), JPG (C8) and DAC (CC).
bool isFrameMarker(unsigned char marker)
{
    return marker >= 0xc0 && marker <= 0xcf && marker != 0xc4 && marker != 0xc8 && marker != 0xcc;
}

/// Markers without a length: TEM, RST0 … RST7 and a repeated SOI.
bool isStandaloneMarker(unsigned char marker)
{
    return marker == 0x01 || (marker >= 0xd0 && marker <= 0xd8);
}

/// Where the entropy-coded data starting at `at` ends: at the next marker
/// (0xFF followed by neither a stuffed 0, a restart marker nor a fill byte)
/// or at the end of the file.
size_t skipScanData(const unsigned char* data, size_t size, size_t at)
{
    for (; at + 1 < size; ++at) {
        const unsigned char next = data[at + 1];
        if (data[at] == 0xff && next != 0 && next != 0xff && !(next >= 0xd0 && next <= 0xd7)) {
            return at;
        }
    }
    return size;
}

/// The frame header at `at` (its length field first, `length` bytes).
bool checkJpegFrame(unsigned char marker, const unsigned char* at, unsigned long long length, std::string& problem)
{
    // Baseline, extended and progressive Huffman coding: what the decoder reads.
    if (marker != 0xc0 && marker != 0xc1 && marker != 0xc2) {
        problem = "unsupported JPEG coding";
        return false;
    }
    if (length < 8) {
        return false;
    }
    const unsigned int components = at[7];
    if (at[2] != 8 || (components != 1 && components != 3)) {
        problem = "unsupported JPEG layout";
        return false;
    }
    if (length < 8 + 3ull * components) {
        return false;
    }
    return ImageHeaderCheck::checkSize(bigEndian16(at + 5), bigEndian16(at + 3), problem);
}

} // namespace

ImageHeaderCheck::Format ImageHeaderCheck::recognise(const unsigned char* data, size_t size)
{
    if (isPng(data, size)) {
        return PNG;
    }
    if (isJpeg(data, size)) {
        return JPEG;
    }
    if (isBmp(data, size)) {
        return BMP;
    }
    if (isPcx(data, size)) {
        return PCX;
    }
    return isTga(data, size) ? TGA : UNKNOWN;
}

bool ImageHeaderCheck::check(Format format, const unsigned char* data, size_t size, std::string& problem)
{
    switch (format) {
    case PNG: return checkPng(data, size, problem);
    case PCX: return checkPcx(data, size, problem);
    case JPEG: return checkJpeg(data, size, problem);
    case BMP: return checkBmp(data, size, problem);
    case TGA: return checkTga(data, size, problem);
    default: problem = "unsupported image format"; return false;
    }
}

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
    if (size < PCX_HEADER_SIZE || !isPcx(data, size)) {
        return false;
    }
    const unsigned int bits = data[3];
    const unsigned int planes = data[65];
    if (!isDefinedPcxLayout(bits, planes)) {
        problem = "unsupported PCX layout";
        return false;
    }
    const unsigned long long xMin = littleEndian16(data + 4);
    const unsigned long long yMin = littleEndian16(data + 6);
    const unsigned long long xMax = littleEndian16(data + 8);
    const unsigned long long yMax = littleEndian16(data + 10);
    if (xMax < xMin || yMax < yMin) {
        return false;
    }
    const unsigned long long width = xMax - xMin + 1;
    const unsigned long long height = yMax - yMin + 1;
    if (!checkSize(width, height, problem)) {
        return false;
    }
    // Each plane of a line holds the width's pixels; the decoder reads a
    // whole line of every plane, however short the width.
    const unsigned long long bytesPerLine = littleEndian16(data + 66);
    if (bytesPerLine * 8 < width * bits) {
        problem = "corrupt PCX header";
        return false;
    }
    if (bytesPerLine * planes * height > PCX_MAX_EXPANSION * (size - PCX_HEADER_SIZE)) {
        problem = "truncated PCX file";
        return false;
    }
    return true;
}

bool ImageHeaderCheck::checkJpeg(const unsigned char* data, size_t size, std::string& problem)
{
    problem = "truncated or corrupt JPEG file";
    if (!isJpeg(data, size)) {
        return false;
    }
    // Every segment up to the end of the image, scans included: DevIL skips
    // a segment it does not read by waiting for the rest of it for ever, so
    // each one must lie inside the file. Image data may run to the file's
    // end; the decoder fills the rest.
    bool framed = false;
    bool scanned = false;
    bool inScan = false;
    for (size_t at = 2;;) {
        if (inScan) {
            at = skipScanData(data, size, at);
        }
        if (at >= size) {
            break;
        }
        if (data[at] != 0xff) {
            return false;
        }
        while (at < size && data[at] == 0xff) {
            ++at;  // fill bytes
        }
        if (at >= size) {
            break;
        }
        const unsigned char marker = data[at++];
        if (marker == 0xd9) {
            break;  // the end of the image
        }
        if (isStandaloneMarker(marker)) {
            continue;
        }
        if (size - at < 2) {
            return false;
        }
        const unsigned long long length = bigEndian16(data + at);
        if (length < 2 || length > size - at || (marker == 0xda && !framed)) {
            return false;
        }
        if (isFrameMarker(marker)) {
            if (framed || !checkJpegFrame(marker, data + at, length, problem)) {
                return false;  // a second frame is corrupt
            }
            framed = true;
            problem = "truncated or corrupt JPEG file";
        }
        inScan = marker == 0xda;
        scanned = scanned || inScan;
        at += length;
    }
    if (!framed || !scanned) {
        return false;
    }
    problem.clear();
    return true;
}

bool ImageHeaderCheck::checkBmp(const unsigned char* data, size_t size, std::string& problem)
{
    problem = "truncated or corrupt BMP file";
    if (!isBmp(data, size) || size < BMP_FILE_HEADER_SIZE + BMP_CORE_HEADER_SIZE) {
        return false;
    }
    const unsigned long long pixelOffset = littleEndian32(data + 10);
    const unsigned long long headerSize = littleEndian32(data + 14);
    const unsigned char* header = data + BMP_FILE_HEADER_SIZE;
    long long width = 0;
    long long height = 0;
    unsigned long long planes = 0, bits = 0, compression = BMP_RGB, coloursUsed = 0, paletteEntry = 4;
    if (headerSize == BMP_CORE_HEADER_SIZE) {
        width = static_cast<long long>(littleEndian16(header + 4));
        height = static_cast<long long>(littleEndian16(header + 6));
        planes = littleEndian16(header + 8);
        bits = littleEndian16(header + 10);
        paletteEntry = 3;
    } else if (headerSize == BMP_INFO_HEADER_SIZE || headerSize == 52 || headerSize == 56 || headerSize == 108
               || headerSize == 124) {
        if (size < BMP_FILE_HEADER_SIZE + BMP_INFO_HEADER_SIZE) {
            return false;
        }
        width = signedLittleEndian32(header + 4);
        height = signedLittleEndian32(header + 8);
        planes = littleEndian16(header + 12);
        bits = littleEndian16(header + 14);
        compression = littleEndian32(header + 16);
        coloursUsed = littleEndian32(header + 32);
    } else {
        problem = "unsupported BMP header";
        return false;
    }
    const bool definedBits = bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
    const bool packed = compression == BMP_RGB || (compression == BMP_BITFIELDS && (bits == 16 || bits == 32));
    if (!definedBits || !packed) {
        problem = "unsupported BMP layout";
        return false;
    }
    // A negative height stores the rows top first.
    const unsigned long long rows = static_cast<unsigned long long>(height < 0 ? -height : height);
    if (planes != 1 || width <= 0) {
        problem = "corrupt BMP header";
        return false;
    }
    if (!checkSize(static_cast<unsigned long long>(width), rows, problem)) {
        return false;
    }
    problem = "truncated or corrupt BMP file";
    const unsigned long long colours = bits <= 8 ? (coloursUsed ? coloursUsed : 1ull << bits) : 0;
    if (bits <= 8 && colours > (1ull << bits)) {
        return false;
    }
    const unsigned long long paletteEnd = BMP_FILE_HEADER_SIZE + headerSize + colours * paletteEntry;
    const unsigned long long rowBytes = (static_cast<unsigned long long>(width) * bits + 31) / 32 * 4;
    if (paletteEnd > size || pixelOffset > size || rowBytes * rows > size - pixelOffset) {
        return false;
    }
    problem.clear();
    return true;
}

bool ImageHeaderCheck::checkTga(const unsigned char* data, size_t size, std::string& problem)
{
    problem = "corrupt TGA header";
    if (!isTga(data, size)) {
        return false;
    }
    const TgaHeader header(data);
    if (header.mapFirst + header.mapLength > 256 && header.isColourMapped()) {
        return false;
    }
    if (!checkSize(header.width, header.height, problem)) {
        return false;
    }
    const unsigned long long pixelBytes = (header.pixelBits + 7) / 8;
    const unsigned long long mapBytes = header.mapType == 1 ? header.mapLength * ((header.mapBits + 7) / 8) : 0;
    const unsigned long long pixelOffset = TGA_HEADER_SIZE + header.idLength + mapBytes;
    const unsigned long long pixels = header.width * header.height;
    problem = "truncated TGA file";
    if (pixelOffset > size) {
        return false;
    }
    const unsigned long long stored = size - pixelOffset;
    if (header.isRunLengthEncoded() ? pixels * (1 + pixelBytes) > TGA_MAX_RUN * stored : pixels * pixelBytes > stored) {
        return false;
    }
    problem.clear();
    return true;
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
