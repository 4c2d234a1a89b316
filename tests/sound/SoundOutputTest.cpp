// What the OpenAL engine plays, checked in the output that OpenAL's wave-file
// back end records in real time (see WaveOutput); the sound manager with the
// engine that the core's setup installs; sound files that are missing, empty,
// not MP3, cut short or damaged.
#include "SoundTestSupport.h"
#include "WaveOutput.h"

#include "core/ProcessManager.h"
#include "plugins/sound/openal/Mpg123Stream.h"
#include "resource/ResourceManager.h"
#include "sound/SoundChannel.h"
#include "sound/SoundManager.h"
#include "support/AllocationCounter.h"
#include "support/CoreFixture.h"

#include <chrono>
#include <cmath>
#include <filesystem>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <thread>
#include <vector>

using CppLib::SharedPtr;
using SoundTest::Tone;
using SoundTest::WaveOutput;
using Velta::Mpg123Stream;
using Velta::OpenALSoundEngine;
using Velta::SoundChannel;
using Velta::SoundManager;
using Velta::SoundSource;
using Vector3 = CppLib::TVector<float, 3>;

namespace {

class SoundOutputTest : public SoundTest::EngineTest {
protected:
    /// A channel with the tone started on it (paused), looping for ever.
    SharedPtr<SoundChannel> looping(const Tone& tone, bool positional)
    {
        SharedPtr<SoundChannel> channel = mEngine.createChannel(source(tone, positional));
        channel->setRepeat(true);
        return channel;
    }

    /// Closes the device and reads what it wrote.
    WaveOutput finish()
    {
        mEngine.shutdown();
        return WaveOutput::read();
    }
};

TEST_F(SoundOutputTest, ChannelIsHeardAtItsVolumeUntilPausedMutedOrStopped)
{
    Tone stereo;
    stereo.channels = 2;
    SharedPtr<SoundChannel> tone = looping(stereo, false);
    // Each step runs for 400 ms; what is heard is checked in its middle 100 ms,
    // as a share of the tone's full level (0: not a sample). The margins take up
    // the device's latency and a busy machine's late wake-ups on either side.
    const struct {
        std::function<bool()> action;
        double level;
    } steps[] = {
        {[&] { return tone->play(); }, 1.0},
        {[&] { return tone->setVolume(0.5f); }, 0.5},
        {[&] { return tone->setPaused(true) && tone->isPlaying(); }, 0.0},
        {[&] { return tone->play() && tone->isPaused(); }, 0.5},  // resumed; the setting stays
        {[&] { return tone->setMute(true) && tone->isPlaying(); }, 0.0},
        {[&] { return tone->setMute(false); }, 0.5},
        {[&] { return tone->stop() && !tone->isPlaying() && !tone->stop(); }, 0.0},
        {[&] { return tone->play() && tone->isPlaying(); }, 0.5},  // from the start
    };
    const int stepMs = 400;
    const auto start = std::chrono::steady_clock::now();
    for (std::size_t i = 0; i < std::size(steps); ++i) {
        EXPECT_TRUE(steps[i].action()) << "step " << i;
        SoundTest::pumpUntil(mEngine, start + std::chrono::milliseconds(stepMs * (i + 1)));
    }

    const WaveOutput out = finish();
    const double full = 0.5 / std::sqrt(2.0);  // the tone's RMS
    const int first = out.firstHeardMs();
    ASSERT_GE(first, 0);
    for (std::size_t i = 0; i < std::size(steps); ++i) {
        SCOPED_TRACE("step " + std::to_string(i));
        const int from = first + stepMs * static_cast<int>(i) + 150;
        if (steps[i].level == 0.0) {
            EXPECT_TRUE(out.isSilent(from, from + 100));
            continue;
        }
        EXPECT_TRUE(out.isHeardThroughout(from, from + 100));
        EXPECT_NEAR(out.rms(0, from, from + 100), steps[i].level * full, 0.1 * full);
        EXPECT_NEAR(out.rms(1, from, from + 100), steps[i].level * full, 0.1 * full);
    }
    EXPECT_TRUE(mLog.lines().empty());
}

TEST_F(SoundOutputTest, LoopCountPlaysOnceTwiceOrForEver)
{
    Tone tone;
    tone.seconds = 0.25;
    const struct {
        int loops;
        int heardMs;  // -1: until the end
    } cases[] = {{0, 250}, {1, 500}, {-1, -1}};
    for (const auto& loop : cases) {
        SCOPED_TRACE(loop.loops);
        ASSERT_TRUE(mEngine.initialize());
        SharedPtr<SoundChannel> channel = mEngine.createChannel(source(tone, false));
        channel->setLoopCount(loop.loops);
        ASSERT_TRUE(channel->play());
        SoundTest::pump(mEngine, 750);
        EXPECT_EQ(channel->isPlaying(), loop.loops < 0);

        const WaveOutput out = finish();
        const int first = out.firstHeardMs();
        ASSERT_GE(first, 0);
        const int end = loop.heardMs > 0 ? first + loop.heardMs : out.getLengthMs() - 20;
        EXPECT_TRUE(out.isHeardThroughout(first, end - 20));
        EXPECT_TRUE(out.isSilent(end + 30, out.getLengthMs()));
    }
}

TEST_F(SoundOutputTest, PositionalSoundIsHeardFromItsSideOfTheListener)
{
    SharedPtr<SoundChannel> channel = looping(Tone(), true);
    ASSERT_TRUE(channel->set3DAttributes(Vector3(-5.0f, 0.0f, 0.0f), Vector3()));
    ASSERT_TRUE(channel->play());
    SoundTest::pump(mEngine, 300);
    // The listener passes the sound: now it is on the listener's right.
    mEngine.updateListenerAttributes(Vector3(-10.0f, 0.0f, 0.0f), Vector3(), Vector3(), Vector3(), 0);
    SoundTest::pump(mEngine, 300);

    const WaveOutput out = finish();
    const int first = out.firstHeardMs();
    ASSERT_GE(first, 0);
    EXPECT_GT(out.rms(0, first + 50, first + 250), 2.0 * out.rms(1, first + 50, first + 250));
    EXPECT_GT(out.rms(1, first + 350, first + 550), 2.0 * out.rms(0, first + 350, first + 550));
}

TEST_F(SoundOutputTest, MoreChannelsThanSourcesTakeTheVoicesOfTheLeastAudible)
{
    ASSERT_EQ(mEngine.getVoiceCount(), WaveOutput::kSources) << "OpenAL gives fewer sources than the engine asks";
    SharedPtr<SoundSource> sound = source(Tone(), false);
    std::vector<SharedPtr<SoundChannel>> playing;
    for (int i = 0; i < WaveOutput::kSources; ++i) {
        playing.push_back(mEngine.createChannel(sound));
        playing.back()->setVolume(i == 2 ? 0.2f : 1.0f);
        ASSERT_TRUE(playing.back()->play());
    }
    SharedPtr<SoundChannel> extra = mEngine.createChannel(sound);
    ASSERT_FALSE(extra.isNull());
    EXPECT_FALSE(playing[2]->isPlaying()) << "the quietest stops";
    EXPECT_TRUE(extra->isPlaying());

    ASSERT_TRUE(extra->play());
    SharedPtr<SoundChannel> another = mEngine.createChannel(sound);
    EXPECT_FALSE(playing[0]->isPlaying()) << "of equally loud ones, the oldest stops";
    EXPECT_TRUE(playing[1]->isPlaying());

    SharedPtr<SoundChannel> third = mEngine.createChannel(sound);
    EXPECT_FALSE(another->isPlaying()) << "a paused channel is heard least of all";
    EXPECT_TRUE(playing[1]->isPlaying());

    EXPECT_TRUE(playing[0]->play()) << "a channel that lost its voice plays again when asked";
    EXPECT_TRUE(playing[0]->isPlaying());
    EXPECT_TRUE(mLog.lines().empty());
}

TEST_F(SoundOutputTest, ChannelsOutliveTheirEngine)
{
    SharedPtr<SoundChannel> early = mEngine.createChannel(source(Tone(), false));
    ASSERT_TRUE(early->play());
    mEngine.shutdown();
    EXPECT_FALSE(early->isPlaying());
    EXPECT_FALSE(early->play());
    EXPECT_TRUE(early->setVolume(0.5f)) << "settings are still kept";

    auto engine = std::make_unique<OpenALSoundEngine>(mLog.shared);
    ASSERT_TRUE(engine->initialize());
    SharedPtr<SoundChannel> late = engine->createChannel(
        engine->createSoundSource(SoundTest::soundFile("late.mp3", SoundTest::encodeTone(Tone())), false));
    ASSERT_TRUE(late->play());
    engine.reset();
    EXPECT_FALSE(late->isPlaying());
    EXPECT_FALSE(late->stop());
}

TEST_F(SoundOutputTest, UpdateWithPlayingChannelsAllocatesNothing)
{
    Tone stereo;
    stereo.channels = 2;
    std::vector<SharedPtr<SoundChannel>> channels = {looping(Tone(), true), looping(Tone(), true),
                                                     looping(stereo, false), looping(stereo, false)};
    for (SharedPtr<SoundChannel>& channel : channels) {
        ASSERT_TRUE(channel->play());
    }
    SoundTest::pump(mEngine, 50);

    std::size_t allocations = 0;
    {
        VeltaTest::AllocationCounter counter;
        // Longer than the buffers queued per voice: every voice is refilled.
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(600);
        for (float x = 0.0f; std::chrono::steady_clock::now() < end; x += 0.1f) {
            channels[0]->set3DAttributes(Vector3(x, 0.0f, 0.0f), Vector3(1.0f, 0.0f, 0.0f));
            mEngine.updateListenerAttributes(Vector3(0.0f, 0.0f, x), Vector3(), Vector3(), Vector3(), 0);
            mEngine.update(0);
            channels[1]->isPlaying();
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        allocations = counter.getCount();
    }
    EXPECT_EQ(allocations, 0u);
    const WaveOutput out = finish();
    const int first = out.firstHeardMs();
    ASSERT_GE(first, 0);
    EXPECT_TRUE(out.isHeardThroughout(first, first + 600)) << "the buffers never ran dry";
}

/// The core with its plug-ins, run in a directory that has a sound folder.
class SoundManagerTest : public VeltaTest::SetUpCoreFixture {
protected:
    void SetUp() override
    {
        mWorkingDirectory = std::filesystem::current_path();
        const std::filesystem::path data = SoundTest::scratchDirectory() + "/data";
        std::filesystem::create_directories(data / "sound");
        SoundTest::writeFile((data / "sound" / "music.mp3").string(), SoundTest::encodeTone(SoundTest::Tone()));
        std::filesystem::current_path(data);
        VeltaTest::SetUpCoreFixture::SetUp();
    }

    void TearDown() override
    {
        VeltaTest::SetUpCoreFixture::TearDown();
        std::filesystem::current_path(mWorkingDirectory);
    }

    SoundManager& sound() { return core().getResourceManager().getSoundManager(); }

    std::filesystem::path mWorkingDirectory;
};

TEST_F(SoundManagerTest, SetupInstallsAnEngineUpdatedOncePerFrameThatKeepsCachedSourcesAndNamedChannels)
{
    ASSERT_NE(sound().getSoundEngine(), nullptr);
    EXPECT_TRUE(sound().registerSoundEngine(*sound().getSoundEngine()));
    EXPECT_EQ(sound().getProcessList()->size(), 1u) << "registered twice, updated once";

    SharedPtr<SoundSource> cached = sound().getSoundSource("music.mp3", true, true);
    ASSERT_FALSE(cached.isNull());
    EXPECT_EQ(cached->getLength(), 300);
    EXPECT_EQ(sound().getSoundSource("music.mp3", true, true), cached);
    EXPECT_NE(sound().getSoundSource("music.mp3", true, false), cached) << "without the cache the file opens anew";
    testing::internal::CaptureStderr();
    EXPECT_TRUE(sound().getSoundSource("nothing.mp3", true, true).isNull());
    EXPECT_TRUE(sound().getSoundSource("nothing.mp3", true, true).isNull());
    const std::string missing = testing::internal::GetCapturedStderr();
    EXPECT_EQ(std::count(missing.begin(), missing.end(), '\n'), 1) << "a missing file is tried once:\n" << missing;

    SharedPtr<SoundChannel> unnamed = sound().createChannel(sound().getSoundSource("music.mp3", false, false));
    ASSERT_FALSE(unnamed.isNull());
    EXPECT_TRUE(sound().getChannel("").isNull());
    SharedPtr<SoundChannel> music = sound().createChannel(cached, "music");
    EXPECT_EQ(sound().getChannel("music"), music);
    SharedPtr<SoundChannel> again = sound().createChannel(cached, "music");
    EXPECT_EQ(sound().getChannel("music"), again);
    EXPECT_EQ(music.getUseCount(), 1u) << "the channel it replaced is no longer kept";
    EXPECT_TRUE(sound().getChannel("unknown").isNull());

    again->setRepeat(true);
    ASSERT_TRUE(again->play());
    for (int frame = 0; frame < 30; ++frame) {
        core().getProcessManager().update(true);
    }
    EXPECT_TRUE(again->isPlaying());
}


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
