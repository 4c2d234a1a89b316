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

/// Every variant of a valid PNG or PCX file (cut short at any length, any
/// byte changed, sizes inflated, seeded scattered damage) either decodes into
/// an image each of whose bytes can be read (the sanitizer build checks the
/// reads) or is refused with one log line.
TEST_F(DevILSweep, DamagedFilesNeverCrashOrReadOutOfBounds)
{
    enum Damage { CUT, CHANGED, INFLATED_OR_SCATTERED };
    int decoded[3] = {};
    int refused[3] = {};
    unsigned long checksum = 0;
    const auto check = [&](Damage damage, const char* name, const Bytes& bytes) {
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
    const std::pair<const char*, Bytes> files[3] = {
        {"sweep.png", ImageFiles::png(5, 4, ImageFiles::RGBA, counting(80))},
        {"sweep.pcx", ImageFiles::pcx(5, 4, counting(20), counting(768))},
        {"truecolour.pcx", ImageFiles::pcx(5, 4, counting(60))}};
    // PNG: width and height (big-endian). PCX: the window's corners, planes
    // and bytes per line (little-endian).
    const std::vector<std::pair<size_t, int>> pngFields = {{16, 4}, {20, 4}};
    const std::vector<std::pair<size_t, int>> pcxFields = {{4, 2}, {6, 2}, {8, 2}, {10, 2}, {65, 1}, {66, 2}};
    std::mt19937 random(99);
    for (const auto& [name, bytes] : files) {
        for (size_t length = 0; length <= bytes.size(); ++length) {
            SCOPED_TRACE(std::string(name) + " cut at " + std::to_string(length));
            const Bytes cut(bytes.begin(), bytes.begin() + static_cast<long>(length));
            check(CUT, name, cut);
            // Without a telling extension the format is found from the content.
            check(CUT, "sweep.img", cut);
        }
        for (size_t at = 0; at < bytes.size(); ++at) {
            for (unsigned char flip : {0xff, 0x01, 0x40}) {
                SCOPED_TRACE(std::string(name) + " changed at " + std::to_string(at));
                Bytes changed = bytes;
                changed[at] ^= flip;
                ImageFiles::fixPngCrc(changed, at);  // so that a changed PNG chunk reaches the decoder
                check(CHANGED, name, changed);
            }
        }
        const bool png = bytes[0] == 0x89;
        for (const auto& [at, size] : png ? pngFields : pcxFields) {
            for (unsigned long long value : {6ull, 11ull, 0x4001ull, 0xFFFFull, 0x7FFFFFFFull, 0xFFFFFFFFull}) {
                SCOPED_TRACE(std::string(name) + " field " + std::to_string(at) + " = " + std::to_string(value));
                Bytes changed = bytes;
                for (int i = 0; i < size; ++i) {
                    const int shift = 8 * (png ? size - 1 - i : i);
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
    EXPECT_GE(decoded[CUT], 6) << "the whole files decode";
    EXPECT_GT(decoded[CHANGED], 1000);
    EXPECT_GT(refused[CHANGED], 100);
    EXPECT_GT(decoded[INFLATED_OR_SCATTERED], 100);
    EXPECT_GT(refused[INFLATED_OR_SCATTERED], 10);
    EXPECT_EQ(static_cast<size_t>(refused[CUT] + refused[CHANGED] + refused[INFLATED_OR_SCATTERED]), logged().size());
}
