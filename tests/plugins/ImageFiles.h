#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace VeltaTest {

/// Image files composed byte by byte, so that a test knows every byte it
/// hands the loader. Pixels are given top row first, one byte a component.
class ImageFiles {
public:
    using Bytes = std::vector<unsigned char>;

    /// PNG colour types.
    enum PngType { GREY = 0, RGB = 2, PALETTE = 3, RGBA = 6 };

    /// An 8-bit PNG with its image data stored uncompressed; a palette image
    /// takes `palette` (r, g, b triples) and `alphas` (one per entry or none).
    static Bytes png(unsigned int width, unsigned int height, PngType type, const Bytes& pixels,
                     const Bytes& palette = {}, const Bytes& alphas = {});

    /// An 8-bit PCX: indices into `palette` (r, g, b triples), or r, g, b
    /// pixels in three planes when there is no palette.
    static Bytes pcx(unsigned int width, unsigned int height, const Bytes& pixels, const Bytes& palette = {});

    /// A 24-bit TGA of r, g, b pixels, stored bottom row first in b, g, r order.
    static Bytes tga(unsigned int width, unsigned int height, const Bytes& pixels);

    /// A 24-bit BMP of r, g, b pixels in b, g, r order, rows padded to four
    /// bytes: bottom row first, or top row first under a negative height.
    static Bytes bmp(unsigned int width, unsigned int height, const Bytes& pixels, bool topDown = false);

    /// A baseline JPEG of one 8 × 8 block of grey `value`: one component, a
    /// quantiser of 8 and Huffman tables of one code each.
    static Bytes jpegGrey(unsigned char value);

    /// Mends the CRC of the PNG chunk holding byte `at`, if the file is a PNG
    /// whose chunks lead there.
    static void fixPngCrc(Bytes& png, size_t at);

    static void write(const std::string& path, const Bytes& bytes);
};

} // namespace VeltaTest
