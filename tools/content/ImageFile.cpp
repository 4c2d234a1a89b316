#include "ImageFile.h"

#include <png.h>

#include <cstdio>
#include <fstream>
#include <iterator>

namespace VeltaTools {

std::vector<std::uint8_t> readFileBytes(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        return {};
    }
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

bool writeFileBytes(const std::string& path, const std::vector<std::uint8_t>& bytes)
{
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    if (!file) {
        return false;
    }
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(file);
}

namespace {

void appendToVector(png_structp png, png_bytep data, png_size_t length)
{
    auto* out = static_cast<std::vector<std::uint8_t>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

void flushNothing(png_structp) {}

} // namespace

bool writePng(const std::string& path, const Image& image, bool alpha)
{
    const std::vector<std::uint8_t> pixels = alpha ? image.toRgba8() : image.toRgb8();
    const std::size_t stride = static_cast<std::size_t>(image.getWidth()) * (alpha ? 4 : 3);
    std::vector<std::uint8_t> encoded;

    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (!png) {
        return false;
    }
    png_infop info = png_create_info_struct(png);
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_set_write_fn(png, &encoded, appendToVector, flushNothing);
    png_set_IHDR(png, info, static_cast<png_uint_32>(image.getWidth()), static_cast<png_uint_32>(image.getHeight()), 8,
                 alpha ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_compression_level(png, 9);
    png_write_info(png, info);
    for (int y = 0; y < image.getHeight(); ++y) {
        png_write_row(png, const_cast<png_bytep>(pixels.data() + stride * static_cast<std::size_t>(y)));
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return writeFileBytes(path, encoded);
}

bool readPng(const std::string& path, RawImage& image)
{
    png_image decoded{};
    decoded.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&decoded, path.c_str())) {
        return false;
    }
    decoded.format = PNG_FORMAT_RGBA;
    image.width = static_cast<int>(decoded.width);
    image.height = static_cast<int>(decoded.height);
    image.channels = 4;
    image.pixels.assign(PNG_IMAGE_SIZE(decoded), 0);
    if (!png_image_finish_read(&decoded, nullptr, image.pixels.data(), 0, nullptr)) {
        png_image_free(&decoded);
        return false;
    }
    return true;
}

namespace {

void put16(std::vector<std::uint8_t>& bytes, std::size_t offset, int value)
{
    bytes[offset] = static_cast<std::uint8_t>(value & 0xFF);
    bytes[offset + 1] = static_cast<std::uint8_t>((value >> 8) & 0xFF);
}

int get16(const std::vector<std::uint8_t>& bytes, std::size_t offset)
{
    return bytes[offset] | (bytes[offset + 1] << 8);
}

} // namespace

bool writePcx(const std::string& path, int width, int height, const std::vector<std::uint8_t>& samples)
{
    const std::vector<std::uint8_t> bytes = encodePcx(width, height, samples);
    return !bytes.empty() && writeFileBytes(path, bytes);
}

std::vector<std::uint8_t> encodePcx(int width, int height, const std::vector<std::uint8_t>& samples)
{
    if (width <= 0 || height <= 0 || samples.size() != static_cast<std::size_t>(width) * height) {
        return {};
    }
    const int bytesPerLine = width + (width & 1); // lines are padded to an even length
    std::vector<std::uint8_t> bytes(128, 0);
    bytes[0] = 10; // manufacturer
    bytes[1] = 5;  // version with a 256-colour palette
    bytes[2] = 1;  // run-length encoding
    bytes[3] = 8;  // bits per pixel and plane
    put16(bytes, 8, width - 1);
    put16(bytes, 10, height - 1);
    put16(bytes, 12, 72);
    put16(bytes, 14, 72);
    bytes[65] = 1; // planes
    put16(bytes, 66, bytesPerLine);
    put16(bytes, 68, 2); // palette holds greys

    for (int y = 0; y < height; ++y) {
        int x = 0;
        while (x < bytesPerLine) {
            const std::uint8_t value = x < width ? samples[static_cast<std::size_t>(y) * width + x] : 0;
            int run = 1;
            while (x + run < bytesPerLine && run < 63) {
                const std::uint8_t next = x + run < width ? samples[static_cast<std::size_t>(y) * width + x + run] : 0;
                if (next != value) {
                    break;
                }
                ++run;
            }
            // Runs never cross a line; a single value below 0xC0 is stored as is.
            if (run > 1 || value >= 0xC0) {
                bytes.push_back(static_cast<std::uint8_t>(0xC0 | run));
            }
            bytes.push_back(value);
            x += run;
        }
    }
    bytes.push_back(12); // palette marker
    for (int i = 0; i < 256; ++i) {
        for (int c = 0; c < 3; ++c) {
            bytes.push_back(static_cast<std::uint8_t>(i));
        }
    }
    return bytes;
}

bool readPcx(const std::string& path, RawImage& image)
{
    const std::vector<std::uint8_t> bytes = readFileBytes(path);
    if (bytes.size() < 128 + 769 || bytes[0] != 10 || bytes[2] != 1 || bytes[3] != 8 || bytes[65] != 1) {
        return false;
    }
    image.width = get16(bytes, 8) - get16(bytes, 4) + 1;
    image.height = get16(bytes, 10) - get16(bytes, 6) + 1;
    image.channels = 1;
    const int bytesPerLine = get16(bytes, 66);
    if (image.width <= 0 || image.height <= 0 || bytesPerLine < image.width) {
        return false;
    }
    image.pixels.assign(static_cast<std::size_t>(image.width) * image.height, 0);
    std::size_t pos = 128;
    const std::size_t end = bytes.size() - 769;
    for (int y = 0; y < image.height; ++y) {
        int x = 0;
        while (x < bytesPerLine) {
            if (pos >= end) {
                return false;
            }
            int run = 1;
            std::uint8_t value = bytes[pos++];
            if ((value & 0xC0) == 0xC0) {
                run = value & 0x3F;
                if (pos >= end) {
                    return false;
                }
                value = bytes[pos++];
            }
            for (int i = 0; i < run && x < bytesPerLine; ++i, ++x) {
                if (x < image.width) {
                    image.pixels[static_cast<std::size_t>(y) * image.width + x] = value;
                }
            }
        }
    }
    return bytes[end] == 12;
}

} // namespace VeltaTools
