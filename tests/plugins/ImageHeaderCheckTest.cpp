#include "plugins/ImageFiles.h"
#include "plugins/loader/devil/ImageHeaderCheck.h"

#include <gtest/gtest.h>

#include <string>

using Velta::ImageHeaderCheck;
using VeltaTest::ImageFiles;
using Bytes = ImageFiles::Bytes;

namespace {

const Bytes RGB_3X2 = Bytes(18, 7);

/// The check's problem, or "" when it accepts the file as the format it is
/// recognised as.
std::string problemOf(const Bytes& file)
{
    std::string problem;
    const ImageHeaderCheck::Format format = ImageHeaderCheck::recognise(file.data(), file.size());
    return ImageHeaderCheck::check(format, file.data(), file.size(), problem) ? "" : problem;
}

void put16(Bytes& file, size_t at, unsigned int value, bool bigEndian = false)
{
    file.at(at + (bigEndian ? 1 : 0)) = static_cast<unsigned char>(value);
    file.at(at + (bigEndian ? 0 : 1)) = static_cast<unsigned char>(value >> 8);
}

void put32(Bytes& file, size_t at, unsigned long value)
{
    put16(file, at, value & 0xffff);
    put16(file, at + 2, value >> 16);
}

/// A PCX header of `width` × `height` pixels of `bits` bits in `planes`
/// planes with `bytesPerLine` bytes a line and plane, on a small file.
Bytes pcx(unsigned int width, unsigned int height, unsigned int bits, unsigned int planes, unsigned int bytesPerLine)
{
    Bytes file = ImageFiles::pcx(2, 1, {1, 2}, Bytes(768, 0));
    file[3] = static_cast<unsigned char>(bits);
    put16(file, 8, width - 1);
    put16(file, 10, height - 1);
    file[65] = static_cast<unsigned char>(planes);
    put16(file, 66, bytesPerLine);
    return file;
}

} // namespace

TEST(ImageHeaderCheck, OneSizeLimitForEveryFormat)
{
    std::string problem;
    EXPECT_TRUE(ImageHeaderCheck::checkSize(4096, 4096, problem));
    EXPECT_TRUE(ImageHeaderCheck::checkSize(16384, 1024, problem));
    EXPECT_FALSE(ImageHeaderCheck::checkSize(4096, 4097, problem));
    EXPECT_EQ("unsupported image size 4096 x 4097", problem);
    EXPECT_FALSE(ImageHeaderCheck::checkSize(16385, 1, problem));
    EXPECT_FALSE(ImageHeaderCheck::checkSize(0, 1, problem));

    Bytes png = ImageFiles::png(3, 2, ImageFiles::RGB, RGB_3X2);
    png[16 + 1] = 1;  // width 65536
    png[16 + 3] = 0;
    EXPECT_EQ("unsupported image size 65536 x 2", problemOf(png));
    Bytes bmp = ImageFiles::bmp(3, 2, RGB_3X2);
    put32(bmp, 18, 4097);
    put32(bmp, 22, 4097);
    EXPECT_EQ("unsupported image size 4097 x 4097", problemOf(bmp));
}

TEST(ImageHeaderCheck, FormatsAreRecognisedByContentAndAnythingElseIsUnknown)
{
    const auto recognise = [](const Bytes& file) { return ImageHeaderCheck::recognise(file.data(), file.size()); };
    EXPECT_EQ(ImageHeaderCheck::PNG, recognise(ImageFiles::png(3, 2, ImageFiles::RGB, RGB_3X2)));
    EXPECT_EQ(ImageHeaderCheck::PCX, recognise(ImageFiles::pcx(3, 2, RGB_3X2)));
    EXPECT_EQ(ImageHeaderCheck::JPEG, recognise(ImageFiles::jpegGrey(1)));
    EXPECT_EQ(ImageHeaderCheck::BMP, recognise(ImageFiles::bmp(3, 2, RGB_3X2)));
    EXPECT_EQ(ImageHeaderCheck::TGA, recognise(ImageFiles::tga(3, 2, RGB_3X2)));
    EXPECT_EQ(ImageHeaderCheck::UNKNOWN, recognise({}));
    EXPECT_EQ(ImageHeaderCheck::UNKNOWN, recognise({'G', 'I', 'F', '8', '9', 'a'}));

    // TGA has no signature: only headers whose every field is defined count.
    const Bytes tga = ImageFiles::tga(3, 2, RGB_3X2);
    const std::pair<size_t, unsigned char> undefined[] = {
        {1, 2},     // colour map type
        {2, 4},     // image type
        {2, 1},     // colour-mapped without a map
        {5, 3},     // map length without a map
        {16, 12},   // bits per pixel
        {17, 0x40}, // interleaved
    };
    for (const auto& [at, value] : undefined) {
        Bytes changed = tga;
        changed[at] = value;
        EXPECT_EQ(ImageHeaderCheck::UNKNOWN, recognise(changed)) << "byte " << at << " = " << int(value);
    }
    Bytes pcx = ImageFiles::pcx(3, 2, RGB_3X2);
    pcx[1] = 1;  // no such version
    EXPECT_EQ(ImageHeaderCheck::UNKNOWN, recognise(pcx));
}

TEST(ImageHeaderCheck, PcxLinesMustHoldTheWidthInALayoutTheFormatDefines)
{
    for (unsigned int bits : {1u, 2u, 3u, 4u, 8u, 16u}) {
        for (unsigned int planes = 1; planes <= 5; ++planes) {
            const bool defined = (bits == 1 && (planes == 1 || planes == 4)) || ((bits == 2 || bits == 4) && planes == 1)
                || (bits == 8 && planes != 2 && planes != 5);
            EXPECT_EQ(defined ? "" : "unsupported PCX layout", problemOf(pcx(16, 4, bits, planes, 16)))
                << bits << " bits, " << planes << " planes";
        }
    }
    // Exactly wide enough, then one pixel too wide for the line.
    EXPECT_EQ("", problemOf(pcx(2048, 1, 1, 4, 256)));
    EXPECT_EQ("corrupt PCX header", problemOf(pcx(2049, 1, 1, 4, 256)));
    EXPECT_EQ("", problemOf(pcx(6, 2, 4, 1, 3)));
    EXPECT_EQ("corrupt PCX header", problemOf(pcx(7, 2, 4, 1, 3)));
    // Lines whose runs the file could never hold.
    EXPECT_EQ("truncated PCX file", problemOf(pcx(4000, 4000, 8, 1, 4000)));
}

TEST(ImageHeaderCheck, TgaPixelsMustFitTheFileStoredOrEncoded)
{
    const Bytes tga = ImageFiles::tga(3, 2, RGB_3X2);
    EXPECT_EQ("", problemOf(tga));
    EXPECT_EQ("truncated TGA file", problemOf(Bytes(tga.begin(), tga.end() - 1)));
    Bytes withId = tga;
    withId[0] = 1;  // the pixels start a byte later
    EXPECT_EQ("truncated TGA file", problemOf(withId));

    // Run-length encoded: 128 pixels of 3 bytes in 4 bytes at best.
    Bytes encoded = {0, 0, 10, 0, 0, 0, 0, 0, 0, 0, 0, 0, 128, 0, 2, 0, 24, 0};
    encoded.insert(encoded.end(), {0xff, 1, 2, 3, 0xff, 1, 2, 3});
    EXPECT_EQ("", problemOf(encoded));
    put16(encoded, 14, 3);
    EXPECT_EQ("truncated TGA file", problemOf(encoded));

    // Colour-mapped: the map's entries lie in the file and 8-bit indices reach them.
    Bytes mapped = {0, 1, 1, 0, 0, 2, 0, 24, 0, 0, 0, 0, 2, 0, 1, 0, 8, 0, 1, 2, 3, 4, 5, 6, 0, 1};
    EXPECT_EQ("", problemOf(mapped));
    put16(mapped, 3, 255);
    EXPECT_EQ("corrupt TGA header", problemOf(mapped));
    put16(mapped, 3, 0);
    put16(mapped, 5, 3);
    EXPECT_EQ("truncated TGA file", problemOf(mapped));
}

TEST(ImageHeaderCheck, BmpRowsMustLieInTheFileInAnUncompressedLayout)
{
    const Bytes bmp = ImageFiles::bmp(3, 2, RGB_3X2);
    EXPECT_EQ("", problemOf(bmp));
    EXPECT_EQ("", problemOf(ImageFiles::bmp(3, 2, RGB_3X2, true)));
    EXPECT_EQ("truncated or corrupt BMP file", problemOf(Bytes(bmp.begin(), bmp.end() - 1)));
    const struct {
        size_t at;
        int bytes;
        unsigned long value;
        const char* problem;
    } cases[] = {
        {18, 4, 0, "corrupt BMP header"},           // width 0
        {18, 4, 0xfffffffd, "corrupt BMP header"},  // width -3
        {22, 4, 0, "unsupported image size 3 x 0"},
        {22, 4, 0x80000000, "unsupported image size 3 x 2147483648"},
        {14, 4, 64, "unsupported BMP header"},
        {26, 2, 2, "corrupt BMP header"},           // two planes
        {28, 2, 12, "unsupported BMP layout"},      // 12 bits
        {30, 4, 1, "unsupported BMP layout"},       // run-length encoded
        {30, 4, 3, "unsupported BMP layout"},       // bit fields of 24 bits
        {10, 4, 0x10000, "truncated or corrupt BMP file"},  // pixels past the end
    };
    for (const auto& bad : cases) {
        Bytes changed = bmp;
        if (bad.bytes == 2) {
            put16(changed, bad.at, bad.value);
        } else {
            put32(changed, bad.at, bad.value);
        }
        EXPECT_EQ(bad.problem, problemOf(changed)) << "field " << bad.at << " = " << bad.value;
    }
    // 8 bits: a palette of at most 256 entries, inside the file.
    Bytes indexed = bmp;
    put16(indexed, 28, 8);
    put32(indexed, 46, 257);
    EXPECT_EQ("truncated or corrupt BMP file", problemOf(indexed));
}

TEST(ImageHeaderCheck, JpegFrameHeaderIsFoundPastOtherSegmentsAndChecked)
{
    const Bytes jpeg = ImageFiles::jpegGrey(90);
    EXPECT_EQ("", problemOf(jpeg));
    const size_t frame = 2 + 2 + 2 + 65;  // after SOI and the quantiser
    Bytes app = {0xff, 0xd8, 0xff, 0xe0, 0, 4, 'J', 'F', 0xff};  // an APP0 segment and a fill byte
    app.insert(app.end(), jpeg.begin() + 2, jpeg.end());
    EXPECT_EQ("", problemOf(app));

    const struct {
        size_t at;
        unsigned char value;
        const char* problem;
    } cases[] = {
        {frame + 1, 0xc3, "unsupported JPEG coding"},  // lossless
        {frame + 1, 0xc9, "unsupported JPEG coding"},  // arithmetic coding
        {frame + 4, 12, "unsupported JPEG layout"},    // 12-bit samples
        {frame + 9, 4, "unsupported JPEG layout"},     // four components
        {frame + 6, 0, "unsupported image size 8 x 0"},
        {frame + 1, 0xda, "truncated or corrupt JPEG file"},  // image data before any frame
        {frame + 2, 0xff, "truncated or corrupt JPEG file"},  // a segment past the end
        {frame, 0x00, "truncated or corrupt JPEG file"},      // no marker
    };
    for (const auto& bad : cases) {
        Bytes changed = jpeg;
        changed.at(bad.at) = bad.value;
        EXPECT_EQ(bad.problem, problemOf(changed)) << "byte " << bad.at << " = " << int(bad.value);
    }
    // Segments are checked to the end of the image, past the scans; the
    // image data may be cut short.
    Bytes commented = jpeg;
    commented.insert(commented.end() - 2, {0xff, 0xfe, 0, 5, 'e', 'n', 'd'});
    EXPECT_EQ("", problemOf(commented));
    EXPECT_EQ("truncated or corrupt JPEG file", problemOf(Bytes(commented.begin(), commented.end() - 4)));
    EXPECT_EQ("", problemOf(Bytes(jpeg.begin(), jpeg.end() - 3)));

    Bytes wide = jpeg;
    put16(wide, frame + 7, 16385, true);
    EXPECT_EQ("unsupported image size 16385 x 8", problemOf(wide));
    EXPECT_EQ("truncated or corrupt JPEG file", problemOf(Bytes(jpeg.begin(), jpeg.begin() + frame + 6)));
}
