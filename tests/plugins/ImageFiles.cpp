#include "plugins/ImageFiles.h"

#include <algorithm>
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

void putBig32(Bytes& out, unsigned long value)
{
    for (int shift = 24; shift >= 0; shift -= 8) {
        out.push_back(static_cast<unsigned char>(value >> shift));
    }
}

void putLittle16(Bytes& out, unsigned int value)
{
    out.push_back(static_cast<unsigned char>(value));
    out.push_back(static_cast<unsigned char>(value >> 8));
}

unsigned long big32(const Bytes& in, size_t at)
{
    return (static_cast<unsigned long>(in[at]) << 24) | (in[at + 1] << 16) | (in[at + 2] << 8) | in[at + 3];
}

void chunk(Bytes& out, const char* type, const Bytes& data)
{
    putBig32(out, data.size());
    const size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    putBig32(out, crc32(&out[start], out.size() - start));
}

/// A zlib stream of stored (uncompressed) blocks.
Bytes zlibStored(const Bytes& raw)
{
    Bytes out = {0x78, 0x01};
    size_t at = 0;
    do {
        const size_t length = std::min<size_t>(raw.size() - at, 65535);
        out.push_back(at + length == raw.size() ? 1 : 0);
        putLittle16(out, static_cast<unsigned int>(length));
        putLittle16(out, static_cast<unsigned int>(~length & 0xffff));
        out.insert(out.end(), raw.begin() + at, raw.begin() + at + length);
        at += length;
    } while (at < raw.size());
    unsigned long a = 1;
    unsigned long b = 0;
    for (unsigned char byte : raw) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    putBig32(out, (b << 16) | a);
    return out;
}

/// PCX run-length encoding of one scan line.
void encodeLine(Bytes& out, const Bytes& line)
{
    for (size_t at = 0; at < line.size();) {
        size_t run = 1;
        while (at + run < line.size() && run < 63 && line[at + run] == line[at]) {
            ++run;
        }
        if (run > 1 || line[at] >= 0xc0) {
            out.push_back(static_cast<unsigned char>(0xc0 | run));
        }
        out.push_back(line[at]);
        at += run;
    }
}

} // namespace

Bytes ImageFiles::png(unsigned int width, unsigned int height, PngType type, const Bytes& pixels,
                      const Bytes& palette, const Bytes& alphas)
{
    const unsigned int channels = type == RGB ? 3 : type == RGBA ? 4 : 1;
    Bytes out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    Bytes header;
    putBig32(header, width);
    putBig32(header, height);
    header.insert(header.end(), {8, static_cast<unsigned char>(type), 0, 0, 0});
    chunk(out, "IHDR", header);
    if (type == PALETTE) {
        chunk(out, "PLTE", palette);
        if (!alphas.empty()) {
            chunk(out, "tRNS", alphas);
        }
    }
    Bytes raw;
    const size_t rowBytes = static_cast<size_t>(width) * channels;
    for (unsigned int y = 0; y < height; ++y) {
        raw.push_back(0);
        raw.insert(raw.end(), pixels.begin() + y * rowBytes, pixels.begin() + (y + 1) * rowBytes);
    }
    chunk(out, "IDAT", zlibStored(raw));
    chunk(out, "IEND", {});
    return out;
}

Bytes ImageFiles::pcx(unsigned int width, unsigned int height, const Bytes& pixels, const Bytes& palette)
{
    const unsigned int planes = palette.empty() ? 3 : 1;
    const unsigned int bytesPerLine = (width + 1) & ~1u;
    Bytes out(128, 0);
    out[0] = 0x0a;
    out[1] = 5;
    out[2] = 1;
    out[3] = 8;
    const unsigned int fields[] = {0, 0, width - 1, height - 1, 72, 72};
    for (size_t i = 0; i < 6; ++i) {
        out[4 + 2 * i] = static_cast<unsigned char>(fields[i]);
        out[5 + 2 * i] = static_cast<unsigned char>(fields[i] >> 8);
    }
    out[65] = static_cast<unsigned char>(planes);
    out[66] = static_cast<unsigned char>(bytesPerLine);
    out[67] = static_cast<unsigned char>(bytesPerLine >> 8);
    out[68] = 1;
    for (unsigned int y = 0; y < height; ++y) {
        for (unsigned int plane = 0; plane < planes; ++plane) {
            Bytes line(bytesPerLine, 0);
            for (unsigned int x = 0; x < width; ++x) {
                line[x] = pixels[(static_cast<size_t>(y) * width + x) * planes + plane];
            }
            encodeLine(out, line);
        }
    }
    if (!palette.empty()) {
        out.push_back(0x0c);
        out.insert(out.end(), palette.begin(), palette.end());
        out.resize(out.size() + 768 - palette.size(), 0);
    }
    return out;
}

Bytes ImageFiles::tga(unsigned int width, unsigned int height, const Bytes& rgbPixels)
{
    Bytes out = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    putLittle16(out, width);
    putLittle16(out, height);
    out.push_back(24);
    out.push_back(0);
    for (unsigned int y = height; y-- > 0;) {
        for (unsigned int x = 0; x < width; ++x) {
            const unsigned char* p = &rgbPixels[(static_cast<size_t>(y) * width + x) * 3];
            out.insert(out.end(), {p[2], p[1], p[0]});
        }
    }
    return out;
}

void ImageFiles::setPngSize(Bytes& png, unsigned long width, unsigned long height)
{
    for (int i = 0; i < 4; ++i) {
        png[16 + i] = static_cast<unsigned char>(width >> (24 - 8 * i));
        png[20 + i] = static_cast<unsigned char>(height >> (24 - 8 * i));
    }
    fixPngCrc(png, 16);
}

bool ImageFiles::fixPngCrc(Bytes& png, size_t at)
{
    for (size_t start = 8; start + 12 <= png.size();) {
        const size_t end = start + 12 + big32(png, start);
        if (end > png.size() || end < start) {
            return false;
        }
        if (at < end) {
            const unsigned long crc = crc32(&png[start + 4], end - start - 8);
            for (int i = 0; i < 4; ++i) {
                png[end - 4 + i] = static_cast<unsigned char>(crc >> (24 - 8 * i));
            }
            return true;
        }
        start = end;
    }
    return false;
}

void ImageFiles::write(const std::string& path, const Bytes& bytes)
{
    // A new file rather than a truncated one: file systems flush a file
    // rewritten in place to disk, which slows the sweeps down many times.
    std::remove(path.c_str());
    std::ofstream file(path, std::ios::binary);
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

} // namespace VeltaTest
