#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace VeltaTest {

/// Image files composed byte by byte, so that a test knows every byte it
/// hands the loader. Pixels are given top row first, components in r, g, b
/// (, a) order, one byte each.
class ImageFiles {
public:
    using Bytes = std::vector<unsigned char>;

    /// PNG colour types.
    enum PngType { GREY = 0, RGB = 2, PALETTE = 3, RGBA = 6 };

    /// An 8-bit PNG; the image data is stored uncompressed. A palette image
    /// takes `palette` (r, g, b triples) and `alphas` (one per entry, may be
    /// shorter or empty).
    static Bytes png(unsigned int width, unsigned int height, PngType type, const Bytes& pixels,
                     const Bytes& palette = {}, const Bytes& alphas = {});

    /// An 8-bit PCX: one plane of indices into `palette` (256 r, g, b
    /// triples), or three planes of colour when the palette is empty.
    static Bytes pcx(unsigned int width, unsigned int height, const Bytes& pixels, const Bytes& palette = {});

    /// A 24-bit uncompressed TGA; stored bottom row first, in b, g, r order.
    static Bytes tga(unsigned int width, unsigned int height, const Bytes& rgbPixels);

    /// Writes the width and height fields of a PNG's header and fixes its CRC.
    static void setPngSize(Bytes& png, unsigned long width, unsigned long height);

    /// Recomputes the CRC of the PNG chunk holding byte `at`; false when the
    /// chunks cannot be followed up to it.
    static bool fixPngCrc(Bytes& png, size_t at);

    /// Writes `bytes` to `path`, replacing the file.
    static void write(const std::string& path, const Bytes& bytes);
};

} // namespace VeltaTest
