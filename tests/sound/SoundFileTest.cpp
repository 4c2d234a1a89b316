// Sound files that are missing, empty, not MP3, cut short or damaged.
#include "SoundTestSupport.h"

#include "plugins/sound/openal/Mpg123Stream.h"
#include "sound/SoundChannel.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

using CppLib::SharedPtr;
using SoundTest::Tone;
using Velta::Mpg123Stream;
using Velta::SoundSource;

namespace {

using Bytes = std::vector<unsigned char>;

class SoundFileTest : public SoundTest::EngineTest {
protected:
    /// Opens `bytes` as the file `name`; `line` is the one line it logged
    /// ("" for none; a second line fails the test).
    SharedPtr<SoundSource> open(const std::string& name, const Bytes& bytes, std::string& line)
    {
        const std::size_t before = mLog.lines().size();
        SharedPtr<SoundSource> source = mEngine.createSoundSource(SoundTest::soundFile(name, bytes), false);
        EXPECT_LE(mLog.lines().size(), before + 1);
        line = mLog.lines().size() > before ? mLog.lines()[before] : "";
        return source;
    }
};

TEST_F(SoundFileTest, UnplayableFilesGiveNoSourceAndOneLineEach)
{
    std::mt19937 random(7);
    Bytes noise(4096);
    for (unsigned char& byte : noise) {
        byte = static_cast<unsigned char>(random());
    }
    const std::string text = "this is a text file and no sound at all\n";
    const struct {
        const char* name;
        Bytes bytes;
    } files[] = {{"empty.mp3", {}}, {"noise.mp3", noise}, {"text.mp3", Bytes(text.begin(), text.end())}};
    std::string line;
    for (const auto& file : files) {
        EXPECT_TRUE(open(file.name, file.bytes, line).isNull());
        EXPECT_EQ(line, "error: mpg123 Error while opening " + SoundTest::scratchDirectory() + "/" + file.name +
                            ": no MPEG audio frames found");
    }
    const std::string gone = SoundTest::scratchDirectory() + "/gone.mp3";
    EXPECT_TRUE(mEngine.createSoundSource({"gone.mp3", gone, "mp3"}, true).isNull());
    EXPECT_EQ(mLog.lines().back(), "error: mpg123 Error while opening " + gone + ": No such file or directory");
}

TEST_F(SoundFileTest, FileCutInsideAFrameWarnsOnceAndPlaysItsWholeFrames)
{
    const Bytes whole = SoundTest::encodeTone(Tone());
    std::string line;
    EXPECT_FALSE(open("whole.mp3", whole, line).isNull());
    EXPECT_EQ(line, "");
    Bytes tagged = whole;
    tagged.insert(tagged.end(), {'T', 'A', 'G'});
    tagged.resize(whole.size() + 128);
    EXPECT_FALSE(open("tagged.mp3", tagged, line).isNull());
    EXPECT_EQ(line, "") << "a title tag at the end is no cut";

    SharedPtr<SoundSource> cut = open("cut.mp3", Bytes(whole.begin(), whole.end() - 100), line);
    ASSERT_FALSE(cut.isNull());
    EXPECT_EQ(line.rfind("warn: mpg123 Warning: " + SoundTest::scratchDirectory() + "/cut.mp3 ends inside a frame", 0),
              0u)
        << line;
    EXPECT_GT(cut->getLength(), 250) << "the whole frames of the 300 ms tone";
    EXPECT_LT(cut->getLength(), 300);

    SharedPtr<Velta::SoundChannel> channel = mEngine.createChannel(cut);
    ASSERT_TRUE(channel->play());
    for (int i = 0; i < 100 && channel->isPlaying(); ++i) {
        SoundTest::pump(mEngine, 20);
    }
    EXPECT_FALSE(channel->isPlaying()) << "the sound ends where the whole frames end";
}

TEST(Mpg123StreamTest, EveryCutAndFlippedByteEndsInADefinedResult)
{
    const Bytes whole = SoundTest::encodeTone(Tone());
    const std::string path = SoundTest::scratchDirectory() + "/damaged.mp3";
    const std::size_t limit = 44100;  // a second: more than three times the tone

    // Decodes the file as a channel would; every decoder stops by itself.
    const auto decode = [&](const Bytes& bytes) -> std::size_t {
        SoundTest::writeFile(path, bytes);
        Mpg123Stream::FileInfo info;
        std::string error;
        Mpg123Stream stream;
        if (!Mpg123Stream::scan(path, info, error) || !stream.open(path, info.rate, info.channels)) {
            EXPECT_FALSE(error.empty() && stream.getError().empty());
            return 0;
        }
        std::vector<short> pcm(4096 * 2);
        std::size_t frames = 0;
        for (Mpg123Stream::Status status = Mpg123Stream::OK; status == Mpg123Stream::OK && frames <= limit;) {
            std::size_t decoded = 0;
            status = stream.read(pcm.data(), 4096, decoded);
            frames += decoded;
        }
        EXPECT_LE(frames, limit);
        return frames;
    };
    for (std::size_t size = 0; size < whole.size(); size += 19) {
        SCOPED_TRACE("cut at " + std::to_string(size));
        decode(Bytes(whole.begin(), whole.begin() + static_cast<long>(size)));
    }
    for (std::size_t at = 0; at < whole.size(); at += 23) {
        SCOPED_TRACE("flipped byte " + std::to_string(at));
        Bytes flipped = whole;
        flipped[at] ^= 0xA5;
        decode(flipped);
    }
    EXPECT_EQ(decode(whole), 13230u) << "the whole tone, without the encoder's delay and padding";
}

} // namespace
