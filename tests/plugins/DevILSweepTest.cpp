#include "plugins/DevILFixture.h"
#include "resource/TextureInfo.h"

#include <gtest/gtest.h>

#include <random>

using Velta::Color;
using VeltaTest::ImageFiles;
using Bytes = ImageFiles::Bytes;
using DevILSweep = VeltaTest::DevILFixture;

namespace {

Bytes counting(size_t size)
{
    Bytes all(size);
    for (size_t i = 0; i < size; ++i) {
        all[i] = static_cast<unsigned char>(255 - i * 13);
    }
    return all;
}

} // namespace

/// Every variant of a valid file of each format read (cut short at any
/// length, any byte changed, sizes inflated, seeded scattered damage) either
/// decodes into an image each of whose bytes can be read (the sanitizer
/// build checks the reads) or is refused with one log line.
TEST_F(DevILSweep, DamagedFilesNeverCrashOrReadOutOfBounds)
{
    enum Damage { CUT, CHANGED, INFLATED_OR_SCATTERED };
    int decoded[3] = {};
    int refused[3] = {};
    unsigned long checksum = 0;
    const auto check = [&](Damage damage, const std::string& name, const Bytes& bytes) {
        const CppLib::SharedPtr<Velta::TextureSource> source = load(name, bytes);
        if (source.isNull()) {
            ++refused[damage];
            return;
        }
        ++decoded[damage];
        const Velta::TextureInfo& info = source->getTextureInfo();
        const Color::Format format = info.getColorFormat();
        ASSERT_TRUE(format == Color::RGB || format == Color::RGBA || format == Color::LUMINANCE) << format;
        const auto* data = static_cast<const unsigned char*>(source->getTextureData());
        for (unsigned long long i = 0; i < info.getMemSize(); ++i) {
            checksum += data[i];
        }
    };
    // Each file with the fields that hold its size and layout (offset and
    // length), big-endian or not.
    const struct {
        std::string name;
        Bytes bytes;
        std::vector<std::pair<size_t, int>> fields;
        bool bigEndian;
    } files[] = {
        {"sweep.png", ImageFiles::png(5, 4, ImageFiles::RGBA, counting(80)), {{16, 4}, {20, 4}}, true},
        {"sweep.pcx", ImageFiles::pcx(5, 4, counting(20), counting(768)),
         {{4, 2}, {6, 2}, {8, 2}, {10, 2}, {65, 1}, {66, 2}}, false},
        {"truecolour.pcx", ImageFiles::pcx(5, 4, counting(60)), {{4, 2}, {6, 2}, {8, 2}, {10, 2}, {65, 1}, {66, 2}},
         false},
        {"sweep.bmp", ImageFiles::bmp(5, 4, counting(60)), {{10, 4}, {18, 4}, {22, 4}, {28, 2}, {46, 4}}, false},
        {"sweep.tga", ImageFiles::tga(5, 4, counting(60)), {{0, 1}, {5, 2}, {12, 2}, {14, 2}, {16, 1}}, false},
        {"sweep.jpg", ImageFiles::jpegGrey(77), {{73, 2}, {76, 2}, {78, 2}, {80, 1}}, true},
    };
    std::mt19937 random(99);
    for (const auto& [name, bytes, fields, bigEndian] : files) {
        for (size_t length = 0; length <= bytes.size(); ++length) {
            SCOPED_TRACE(name + " cut at " + std::to_string(length));
            const Bytes cut(bytes.begin(), bytes.begin() + static_cast<long>(length));
            check(CUT, name, cut);
            // The format is found from the content, whatever the name.
            check(CUT, "sweep.img", cut);
        }
        for (size_t at = 0; at < bytes.size(); ++at) {
            for (unsigned char flip : {0xff, 0x01, 0x40}) {
                SCOPED_TRACE(name + " changed at " + std::to_string(at));
                Bytes changed = bytes;
                changed[at] ^= flip;
                ImageFiles::fixPngCrc(changed, at);  // so that a changed PNG chunk reaches the decoder
                check(CHANGED, name, changed);
            }
        }
        for (const auto& [at, size] : fields) {
            for (unsigned long long value : {6ull, 11ull, 0x4001ull, 0xFFFFull, 0x7FFFFFFFull, 0xFFFFFFFFull}) {
                SCOPED_TRACE(name + " field " + std::to_string(at) + " = " + std::to_string(value));
                Bytes changed = bytes;
                for (int i = 0; i < size; ++i) {
                    const int shift = 8 * (bigEndian ? size - 1 - i : i);
                    changed[at + static_cast<size_t>(i)] = static_cast<unsigned char>(value >> shift);
                }
                ImageFiles::fixPngCrc(changed, at);
                check(INFLATED_OR_SCATTERED, name, changed);
            }
        }
        for (int round = 0; round < 300; ++round) {
            Bytes changed = bytes;
            for (unsigned int writes = 1 + random() % 6; writes > 0; --writes) {
                const size_t at = random() % changed.size();
                changed[at] = static_cast<unsigned char>(random());
                ImageFiles::fixPngCrc(changed, at);
            }
            check(INFLATED_OR_SCATTERED, name, changed);
        }
    }
    EXPECT_GE(decoded[CUT], 12) << "the whole files decode";
    EXPECT_GT(decoded[CHANGED], 1000);
    EXPECT_GT(refused[CHANGED], 100);
    EXPECT_GT(decoded[INFLATED_OR_SCATTERED], 100);
    EXPECT_GT(refused[INFLATED_OR_SCATTERED], 10);
    EXPECT_EQ(static_cast<size_t>(refused[CUT] + refused[CHANGED] + refused[INFLATED_OR_SCATTERED]), logged().size());
}
