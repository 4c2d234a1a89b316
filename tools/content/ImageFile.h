#pragma once

#include "Image.h"

#include <cstdint>
#include <string>
#include <vector>

namespace VeltaTools {

/// Decoded 8-bit image: `channels` bytes per pixel, rows top to bottom.
struct RawImage {
    int width = 0;
    int height = 0;
    int channels = 0;
    std::vector<std::uint8_t> pixels;
};

/// Writes an 8-bit PNG, RGBA when `alpha` is set and RGB otherwise. The file
/// carries no time or text chunks, so the same image gives the same bytes.
bool writePng(const std::string& path, const Image& image, bool alpha = true);
/// Reads any PNG as 8-bit RGBA (channels 4); false when it cannot be read.
bool readPng(const std::string& path, RawImage& image);

/// Writes an 8-bit single-plane PCX (run-length encoded) with a grey palette,
/// so palette index and grey value agree: `samples` holds width × height bytes.
bool writePcx(const std::string& path, int width, int height, const std::vector<std::uint8_t>& samples);
/// The bytes writePcx writes; empty for a size that does not match `samples`.
std::vector<std::uint8_t> encodePcx(int width, int height, const std::vector<std::uint8_t>& samples);
/// Reads an 8-bit single-plane PCX back into its palette indices (channels 1).
bool readPcx(const std::string& path, RawImage& image);

/// Whole file as bytes; empty when it cannot be read.
std::vector<std::uint8_t> readFileBytes(const std::string& path);
bool writeFileBytes(const std::string& path, const std::vector<std::uint8_t>& bytes);

} // namespace VeltaTools
