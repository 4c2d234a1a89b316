#include "plugins/ImageFiles.h"

#include <cstdio>
#include <fstream>

namespace VeltaTest {

namespace {

using Bytes = ImageFiles::Bytes;

unsigned long crc32(const unsigned char* data, size_t size)
{
    unsigned long crc = 0xffffffffUL;
    for (size_t i = 0; i < size; ++i) {
        crc ^= data[i];
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc >> 1) ^ (0xedb88320UL & (0 - (crc & 1)));
        }
    }
    return crc ^ 0xffffffffUL;
}

void put(Bytes& out, unsigned long value, int bytes, bool bigEndian)
{
    for (int i = 0; i < bytes; ++i) {
        out.push_back(static_cast<unsigned char>(value >> 8 * (bigEndian ? bytes - 1 - i : i)));
    }
}

void chunk(Bytes& out, const char* type, const Bytes& data)
{
    put(out, data.size(), 4, true);
    const size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    put(out, crc32(&out[start], out.size() - start), 4, true);
}

/// A zlib stream of one stored block (images of less than 64 KiB).
Bytes zlibStored(const Bytes& raw)
{
    Bytes out = {0x78, 0x01, 0x01};
    put(out, raw.size(), 2, false);
    put(out, ~raw.size() & 0xffff, 2, false);
    out.insert(out.end(), raw.begin(), raw.end());
    unsigned long a = 1, b = 0;
    for (unsigned char byte : raw) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    put(out, (b << 16) | a, 4, true);
    return out;
}

} // namespace

Bytes ImageFiles::png(unsigned int width, unsigned int height, PngType type, const Bytes& pixels, const Bytes& palette,
                      const Bytes& alphas)
{
    Bytes out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    Bytes header;
    put(header, width, 4, true);
    put(header, height, 4, true);
    header.insert(header.end(), {8, static_cast<unsigned char>(type), 0, 0, 0});
    chunk(out, "IHDR", header);
    if (!palette.empty()) {
        chunk(out, "PLTE", palette);
    }
    if (!alphas.empty()) {
        chunk(out, "tRNS", alphas);
    }
    Bytes raw;
    const size_t row = pixels.size() / height;
    for (size_t y = 0; y < height; ++y) {
        raw.push_back(0);
        raw.insert(raw.end(), pixels.begin() + y * row, pixels.begin() + (y + 1) * row);
    }
    chunk(out, "IDAT", zlibStored(raw));
    chunk(out, "IEND", {});
    return out;
}

Bytes ImageFiles::pcx(unsigned int width, unsigned int height, const Bytes& pixels, const Bytes& palette)
{
    const unsigned int planes = palette.empty() ? 3 : 1;
    const unsigned int bytesPerLine = (width + 1) & ~1u;
    Bytes out = {0x0a, 5, 1, 8};
    for (unsigned int field : {0u, 0u, width - 1, height - 1, 72u, 72u}) {
        put(out, field, 2, false);
    }
    out.resize(65, 0);
    out.push_back(static_cast<unsigned char>(planes));
    put(out, bytesPerLine, 2, false);
    put(out, 1, 2, false);
    out.resize(128, 0);
    for (unsigned int y = 0; y < height; ++y) {
        for (unsigned int plane = 0; plane < planes; ++plane) {
            for (unsigned int x = 0; x < bytesPerLine; ++x) {
                const unsigned char value = x < width ? pixels[(y * width + x) * planes + plane] : 0;
                if (value >= 0xc0) {
                    out.push_back(0xc1);  // a run of one, as such values must be written
                }
                out.push_back(value);
            }
        }
    }
    if (!palette.empty()) {
        out.push_back(0x0c);
        out.insert(out.end(), palette.begin(), palette.end());
        out.resize(out.size() + 768 - palette.size(), 0);
    }
    return out;
}

Bytes ImageFiles::tga(unsigned int width, unsigned int height, const Bytes& pixels)
{
    Bytes out = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    put(out, width, 2, false);
    put(out, height, 2, false);
    out.insert(out.end(), {24, 0});
    for (unsigned int y = height; y-- > 0;) {
        for (unsigned int x = 0; x < width; ++x) {
            const unsigned char* p = &pixels[(y * width + x) * 3];
            out.insert(out.end(), {p[2], p[1], p[0]});
        }
    }
    return out;
}

Bytes ImageFiles::bmp(unsigned int width, unsigned int height, const Bytes& pixels, bool topDown)
{
    const unsigned int rowBytes = (width * 3 + 3) & ~3u;
    const unsigned long dataOffset = 14 + 40;
    Bytes out = {'B', 'M'};
    put(out, dataOffset + rowBytes * height, 4, false);
    put(out, 0, 4, false);
    put(out, dataOffset, 4, false);
    put(out, 40, 4, false);
    put(out, width, 4, false);
    put(out, topDown ? 0x100000000UL - height : height, 4, false);
    put(out, 1, 2, false);
    put(out, 24, 2, false);
    out.resize(dataOffset, 0);  // no compression, no palette
    for (unsigned int row = 0; row < height; ++row) {
        const unsigned int y = topDown ? row : height - 1 - row;
        for (unsigned int x = 0; x < width; ++x) {
            const unsigned char* p = &pixels[(y * width + x) * 3];
            out.insert(out.end(), {p[2], p[1], p[0]});
        }
        out.resize(out.size() + rowBytes - width * 3, 0);
    }
    return out;
}

Bytes ImageFiles::jpegGrey(unsigned char value)
{
    // The block's only coefficient, (value - 128) × 8, is stored divided by
    // the quantiser: a difference from 0 of up to 8 bits.
    const int dc = value - 128;
    const unsigned int magnitude = static_cast<unsigned int>(dc < 0 ? -dc : dc);
    unsigned int category = 0;
    while ((1u << category) <= magnitude) {
        ++category;
    }
    const unsigned int bits = dc < 0 ? static_cast<unsigned int>(dc + (1 << category) - 1) : magnitude;
    Bytes out = {0xff, 0xd8};
    const auto segment = [&out](unsigned char marker, const Bytes& body) {
        out.insert(out.end(), {0xff, marker});
        put(out, body.size() + 2, 2, true);
        out.insert(out.end(), body.begin(), body.end());
    };
    Bytes quantiser = {0};
    quantiser.resize(65, 8);
    segment(0xdb, quantiser);
    segment(0xc0, {8, 0, 8, 0, 8, 1, 1, 0x11, 0});
    // DC table 0 and AC table 0, each one code of one bit: the DC category,
    // and the end of the block.
    Bytes dcTable = {0x00, 1};
    dcTable.resize(17, 0);
    dcTable.push_back(static_cast<unsigned char>(category));
    Bytes acTable = {0x10, 1};
    acTable.resize(17, 0);
    acTable.push_back(0x00);
    segment(0xc4, dcTable);
    segment(0xc4, acTable);
    segment(0xda, {1, 1, 0x00, 0, 63, 0});
    // "0", the difference's bits, "0"; padded with ones.
    unsigned long stream = 0;
    unsigned int length = 0;
    const auto emit = [&](unsigned long code, unsigned int count) {
        stream = (stream << count) | code;
        length += count;
    };
    emit(0, 1);
    emit(bits, category);
    emit(0, 1);
    const unsigned int padded = (length + 7) / 8 * 8;
    emit((1ul << (padded - length)) - 1, padded - length);
    for (unsigned int at = padded; at > 0; at -= 8) {
        const auto byte = static_cast<unsigned char>(stream >> (at - 8));
        out.push_back(byte);
        if (byte == 0xff) {
            out.push_back(0);
        }
    }
    out.insert(out.end(), {0xff, 0xd9});
    return out;
}

void ImageFiles::fixPngCrc(Bytes& png, size_t at)
{
    if (png.size() < 4 || png[1] != 'P' || png[2] != 'N' || png[3] != 'G') {
        return;
    }
    for (size_t start = 8; start + 12 <= png.size();) {
        const size_t length = (size_t(png[start]) << 24) | (png[start + 1] << 16) | (png[start + 2] << 8) | png[start + 3];
        if (length > png.size() - start - 12) {
            return;
        }
        const size_t end = start + 12 + length;
        if (at < end) {
            Bytes crc;
            put(crc, crc32(&png[start + 4], length + 4), 4, true);
            std::copy(crc.begin(), crc.end(), png.begin() + static_cast<long>(end - 4));
            return;
        }
        start = end;
    }
}

void ImageFiles::write(const std::string& path, const Bytes& bytes)
{
    // A new file rather than a truncated one: file systems flush a file
    // rewritten in place to disk, which slows the sweeps down many times.
    std::remove(path.c_str());
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                 static_cast<std::streamsize>(bytes.size()));
}

} // namespace VeltaTest
