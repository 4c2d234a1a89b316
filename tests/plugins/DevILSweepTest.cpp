#include "plugins/DevILFixture.h"
#include "resource/TextureInfo.h"

#include <gtest/gtest.h>

#include <functional>

using CppLib::SharedPtr;
using Velta::Color;
using Velta::TextureInfo;
using Velta::TextureSource;
using VeltaTest::ImageFiles;
using Bytes = ImageFiles::Bytes;

namespace {

/// Five by four pixels of distinct values.
Bytes pixels(unsigned int channels)
{
    Bytes all(5 * 4 * channels);
    for (size_t i = 0; i < all.size(); ++i) {
        all[i] = static_cast<unsigned char>(i * 13 + 7);
    }
    return all;
}

Bytes greyRamp()
{
    Bytes ramp;
    for (int i = 0; i < 256; ++i) {
        ramp.insert(ramp.end(), 3, static_cast<unsigned char>(255 - i));
    }
    return ramp;
}

struct File {
    const char* name;
    Bytes bytes;
};

std::vector<File> validFiles()
{
    return {{"sweep.png", ImageFiles::png(5, 4, ImageFiles::RGBA, pixels(4))},
            {"sweep.pcx", ImageFiles::pcx(5, 4, pixels(1), greyRamp())},
            {"truecolour.pcx", ImageFiles::pcx(5, 4, pixels(3))}};
}

} // namespace

/// Every variant of a valid file either decodes into an image whose every
/// byte can be read (the sanitizer build checks the reads) or is refused
/// with exactly one log line.
class DevILSweep : public VeltaTest::DevILFixture {
protected:
    void check(const std::string& name, const Bytes& bytes, const std::string& variant)
    {
        const size_t before = mLog.mLines.size();
        const SharedPtr<TextureSource> source = load(name, bytes);
        if (source.isNull()) {
            ++mRefused;
            EXPECT_EQ(before + 1, mLog.mLines.size()) << name << ' ' << variant;
            return;
        }
        ++mDecoded;
        EXPECT_EQ(before, mLog.mLines.size()) << name << ' ' << variant;
        const TextureInfo& info = source->getTextureInfo();
        const Color::Format format = info.getColorFormat();
        EXPECT_TRUE(format == Color::RGB || format == Color::RGBA || format == Color::LUMINANCE)
            << name << ' ' << variant << " format " << format;
        const auto* data = static_cast<const unsigned char*>(source->getTextureData());
        ASSERT_NE(nullptr, data) << name << ' ' << variant;
        for (unsigned long long i = 0; i < info.getMemSize(); ++i) {
            mChecksum += data[i];
        }
        for (unsigned int y = 0; y <= info.getHeight(); ++y) {
            for (unsigned int x = 0; x <= info.getWidth(); ++x) {
                mChecksum += static_cast<unsigned long>(source->getPixelColor(x, y, 0).r * 255.0f);
            }
        }
    }

    int mDecoded = 0;
    int mRefused = 0;
    unsigned long mChecksum = 0;
};

TEST_F(DevILSweep, FilesCutShortAtAnyLengthNeverCrashOrReadOutOfBounds)
{
    for (const File& file : validFiles()) {
        for (size_t length = 0; length <= file.bytes.size(); ++length) {
            const Bytes cut(file.bytes.begin(), file.bytes.begin() + length);
            check(file.name, cut, "cut at " + std::to_string(length));
            // Without a telling extension the format is guessed from the content.
            check("sweep.img", cut, "cut at " + std::to_string(length));
        }
    }
    EXPECT_GE(mDecoded, 2) << "the whole files decode";
    EXPECT_GT(mRefused, 0);
}

TEST_F(DevILSweep, FilesWithAnyByteChangedNeverCrashOrReadOutOfBounds)
{
    const std::function<void(Bytes&, size_t)> changes[] = {
        [](Bytes& b, size_t at) { b[at] ^= 0xff; },
        [](Bytes& b, size_t at) { b[at] ^= 0x01; },
        [](Bytes& b, size_t at) { b[at] ^= 0x40; },
        [](Bytes& b, size_t at) { b[at] = 0xff; },
    };
    for (const File& file : validFiles()) {
        const bool png = file.bytes[1] == 'P';
        for (size_t at = 0; at < file.bytes.size(); ++at) {
            for (const auto& change : changes) {
                Bytes changed = file.bytes;
                change(changed, at);
                // With its checksum mended a changed PNG chunk reaches the decoder.
                if (png) {
                    ImageFiles::fixPngCrc(changed, at);
                }
                check(file.name, changed, "changed at " + std::to_string(at));
            }
        }
    }
    EXPECT_GT(mDecoded, 0);
    EXPECT_GT(mRefused, 0);
}
