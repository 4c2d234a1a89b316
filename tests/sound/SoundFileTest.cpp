// Sound files that are missing, empty, not MP3 or cut short.
#include "SoundTestSupport.h"

#include "plugins/sound/openal/Mpg123Stream.h"
#include "plugins/sound/openal/OpenALSoundEngine.h"
#include "sound/SoundChannel.h"
#include "sound/SoundSource.h"

#include <gtest/gtest.h>

#include <chrono>
#include <random>
#include <string>
#include <thread>
#include <vector>

using CppLib::SharedPtr;
using SoundTest::Tone;
using Velta::Mpg123Stream;
using Velta::OpenALSoundEngine;
using Velta::SoundChannel;
using Velta::SoundSource;

namespace {

std::string scratchFile(const std::string& name)
{
    return SoundTest::scratchDirectory() + "/" + name;
}

class SoundFileTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(mEngine.initialize()); }

    /// Opens `bytes` written as `name`; the log lines this added go to `lines`.
    SharedPtr<SoundSource> open(const std::string& name, const std::vector<unsigned char>& bytes,
                                std::vector<std::string>& lines)
    {
        SoundTest::writeFile(scratchFile(name), bytes);
        const std::size_t before = mLog.lines().size();
        SharedPtr<SoundSource> source = mEngine.createSoundSource({name, scratchFile(name), "mp3"}, false);
        lines.assign(mLog.lines().begin() + static_cast<long>(before), mLog.lines().end());
        return source;
    }

    SoundTest::Log mLog;
    OpenALSoundEngine mEngine{mLog.shared};
};

TEST_F(SoundFileTest, UnplayableFilesGiveNoSourceAndOneLineEach)
{
    std::mt19937 random(7);
    std::vector<unsigned char> noise(4096);
    for (unsigned char& byte : noise) {
        byte = static_cast<unsigned char>(random());
    }
    const std::string text = "this is a text file and no sound at all\n";
    const struct {
        const char* name;
        std::vector<unsigned char> bytes;
        const char* reason;
    } files[] = {
        {"empty.mp3", {}, "no MPEG audio frames found"},
        {"noise.mp3", noise, "no MPEG audio frames found"},
        {"text.mp3", std::vector<unsigned char>(text.begin(), text.end()), "no MPEG audio frames found"},
    };
    std::vector<std::string> lines;
    for (const auto& file : files) {
        SCOPED_TRACE(file.name);
        EXPECT_TRUE(open(file.name, file.bytes, lines).isNull());
        ASSERT_EQ(lines.size(), 1u);
        EXPECT_EQ(lines[0], "error: mpg123 Error while opening " + scratchFile(file.name) + ": " + file.reason);
    }

    const std::size_t before = mLog.lines().size();
    EXPECT_TRUE(mEngine.createSoundSource({"gone.mp3", scratchFile("gone.mp3"), "mp3"}, true).isNull());
    ASSERT_EQ(mLog.lines().size(), before + 1);
    EXPECT_EQ(mLog.lines().back(),
              "error: mpg123 Error while opening " + scratchFile("gone.mp3") + ": No such file or directory");
}

TEST_F(SoundFileTest, FileCutInsideAFrameWarnsOnceAndPlaysItsWholeFrames)
{
    const std::vector<unsigned char> whole = SoundTest::encodeTone(Tone());
    std::vector<std::string> lines;

    EXPECT_FALSE(open("whole.mp3", whole, lines).isNull());
    EXPECT_TRUE(lines.empty());

    std::vector<unsigned char> tagged = whole;
    std::vector<unsigned char> tag(128, 0);
    tag[0] = 'T';
    tag[1] = 'A';
    tag[2] = 'G';
    tagged.insert(tagged.end(), tag.begin(), tag.end());
    EXPECT_FALSE(open("tagged.mp3", tagged, lines).isNull());
    EXPECT_TRUE(lines.empty()) << "a title tag at the end is no cut";

    const std::vector<unsigned char> cut(whole.begin(), whole.end() - 100);
    SharedPtr<SoundSource> source = open("cut.mp3", cut, lines);
    ASSERT_FALSE(source.isNull());
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].rfind("warn: mpg123 Warning: " + scratchFile("cut.mp3") + " ends inside a frame; its last ", 0), 0u)
        << lines[0];
    EXPECT_GT(source->getLength(), 200);
    EXPECT_LT(source->getLength(), 300);

    SharedPtr<SoundChannel> channel = mEngine.createChannel(source);
    ASSERT_TRUE(channel->play());
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    while (channel->isPlaying() && std::chrono::steady_clock::now() < deadline) {
        mEngine.update(0);
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    EXPECT_FALSE(channel->isPlaying()) << "the sound ends where the whole frames end";
    EXPECT_EQ(mLog.lines().size(), 1u);
}

/// Decodes the whole file; false when the decoder failed. Never more than
/// `limit` frames, so a decoder that does not stop fails the test.
bool decodeAll(const std::string& path, const Mpg123Stream::FileInfo& info, std::size_t limit, std::size_t& frames)
{
    Mpg123Stream stream;
    frames = 0;
    if (!stream.open(path, info.rate, info.channels)) {
        return false;
    }
    std::vector<short> pcm(4096 * 2);
    for (;;) {
        std::size_t decoded = 0;
        const Mpg123Stream::Status status = stream.read(pcm.data(), 4096, decoded);
        frames += decoded;
        if (status != Mpg123Stream::OK || frames > limit) {
            return status == Mpg123Stream::END;
        }
    }
}

TEST(Mpg123StreamTest, EveryCutAndFlippedByteEndsInADefinedResult)
{
    const std::vector<unsigned char> whole = SoundTest::encodeTone(Tone());
    const std::string path = scratchFile("damaged.mp3");
    const std::size_t limit = 44100;  // a second: three times the tone

    const auto check = [&](const std::vector<unsigned char>& bytes) {
        SoundTest::writeFile(path, bytes);
        Mpg123Stream::FileInfo info;
        std::string error;
        if (!Mpg123Stream::scan(path, info, error)) {
            EXPECT_FALSE(error.empty());
            return;
        }
        std::size_t frames = 0;
        decodeAll(path, info, limit, frames);
        EXPECT_LE(frames, limit);
    };
    for (std::size_t size = 0; size < whole.size(); size += 19) {
        SCOPED_TRACE("cut at " + std::to_string(size));
        check(std::vector<unsigned char>(whole.begin(), whole.begin() + static_cast<long>(size)));
    }
    for (std::size_t at = 0; at < whole.size(); at += 23) {
        SCOPED_TRACE("flipped byte " + std::to_string(at));
        std::vector<unsigned char> flipped = whole;
        flipped[at] ^= 0xA5;
        check(flipped);
    }

    // The whole file decodes to exactly its samples.
    Mpg123Stream::FileInfo info;
    std::string error;
    SoundTest::writeFile(path, whole);
    ASSERT_TRUE(Mpg123Stream::scan(path, info, error)) << error;
    EXPECT_EQ(info.samples, 13230);
    EXPECT_EQ(info.unplayedBytes, 0);
    std::size_t frames = 0;
    EXPECT_TRUE(decodeAll(path, info, limit, frames));
    EXPECT_EQ(frames, 13230u);
}

} // namespace
