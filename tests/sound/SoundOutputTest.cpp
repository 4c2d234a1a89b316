// What the OpenAL engine plays, checked in the output that OpenAL's wave-file
// back end records in real time (see WaveOutput).
#include "SoundTestSupport.h"
#include "WaveOutput.h"

#include "plugins/sound/openal/OpenALSoundEngine.h"
#include "sound/SoundChannel.h"
#include "sound/SoundSource.h"
#include "support/AllocationCounter.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <memory>
#include <thread>
#include <vector>

using CppLib::SharedPtr;
using SoundTest::Tone;
using SoundTest::WaveOutput;
using Velta::OpenALSoundEngine;
using Velta::SoundChannel;
using Velta::SoundSource;
using Vector3 = CppLib::TVector<float, 3>;

namespace {

class SoundOutputTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(mEngine.initialize()) << mLog.lines().front(); }

    SharedPtr<SoundSource> source(const Tone& tone, bool positional)
    {
        const std::string path = SoundTest::scratchDirectory() + "/tone" + std::to_string(++mFiles) + ".mp3";
        SoundTest::writeFile(path, SoundTest::encodeTone(tone));
        return mEngine.createSoundSource({"tone.mp3", path, "mp3"}, positional);
    }

    SharedPtr<SoundChannel> channel(const Tone& tone, bool positional)
    {
        SharedPtr<SoundSource> sound = source(tone, positional);
        EXPECT_FALSE(sound.isNull());
        return mEngine.createChannel(sound);
    }

    /// Closes the device and reads what it wrote.
    WaveOutput finish()
    {
        mEngine.shutdown();
        return WaveOutput::read();
    }

    SoundTest::Log mLog;
    OpenALSoundEngine mEngine{mLog.shared};
    int mFiles = 0;
};

const double kToneRms = 0.5 / std::sqrt(2.0);

TEST_F(SoundOutputTest, StereoMusicIsHeardAtTheChannelVolume)
{
    Tone tone;
    tone.channels = 2;
    SharedPtr<SoundChannel> music = channel(tone, false);
    ASSERT_TRUE(music->play());
    SoundTest::pump(mEngine, 450);
    ASSERT_FALSE(music->isPlaying());
    ASSERT_TRUE(music->setVolume(0.5f));
    ASSERT_TRUE(music->play()) << "a finished channel starts again";
    SoundTest::pump(mEngine, 450);

    const WaveOutput out = finish();
    const int first = out.firstAudibleMs();
    ASSERT_GE(first, 0);
    EXPECT_NEAR(out.rms(0, first + 50, first + 250), kToneRms, kToneRms * 0.1);
    EXPECT_NEAR(out.rms(1, first + 50, first + 250), kToneRms, kToneRms * 0.1);
    const int second = out.firstAudibleMs(first + 350);
    ASSERT_GT(second, 0);
    EXPECT_NEAR(out.rms(0, second + 50, second + 250), kToneRms / 2, kToneRms * 0.05);
    EXPECT_TRUE(mLog.lines().empty());
}

TEST_F(SoundOutputTest, MutedChannelIsSilentUntilUnmuted)
{
    SharedPtr<SoundChannel> channel = this->channel(Tone(), false);
    channel->setRepeat(true);
    channel->setMute(true);
    ASSERT_TRUE(channel->play());
    SoundTest::pump(mEngine, 300);
    EXPECT_TRUE(channel->isPlaying());
    ASSERT_TRUE(channel->setMute(false));
    SoundTest::pump(mEngine, 300);

    const WaveOutput out = finish();
    EXPECT_EQ(out.peak(0, 250), 0.0);
    const int heard = out.firstAudibleMs();
    EXPECT_GE(heard, 250);
    EXPECT_TRUE(out.isAudibleThroughout(heard, heard + 200));
}

TEST_F(SoundOutputTest, PausedChannelIsSilentAndPlayResumesIt)
{
    SharedPtr<SoundChannel> channel = this->channel(Tone(), false);
    channel->setRepeat(true);
    ASSERT_TRUE(channel->play());
    EXPECT_TRUE(channel->isPaused()) << "play() resumes the sound but keeps the stored setting";
    SoundTest::pump(mEngine, 200);
    ASSERT_TRUE(channel->setPaused(true));
    SoundTest::pump(mEngine, 300);
    EXPECT_TRUE(channel->isPlaying()) << "a paused sound is still playing";
    ASSERT_TRUE(channel->play());
    SoundTest::pump(mEngine, 250);

    const WaveOutput out = finish();
    const int first = out.firstAudibleMs();
    ASSERT_GE(first, 0);
    EXPECT_TRUE(out.isAudibleThroughout(first, first + 180));
    EXPECT_EQ(out.peak(first + 260, first + 440), 0.0);
    EXPECT_TRUE(out.isAudibleThroughout(first + 560, first + 700));
}

TEST_F(SoundOutputTest, LoopCountPlaysOnceTwiceOrForEver)
{
    Tone tone;
    tone.seconds = 0.25;
    const int counts[] = {0, 1, -1};
    const int heardMs[] = {250, 500, -1};
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(counts[i]);
        ASSERT_TRUE(mEngine.initialize());
        SharedPtr<SoundChannel> channel = this->channel(tone, false);
        channel->setLoopCount(counts[i]);
        ASSERT_TRUE(channel->play());
        SoundTest::pump(mEngine, 750);
        EXPECT_EQ(channel->isPlaying(), counts[i] < 0);
        const WaveOutput out = finish();

        const int first = out.firstAudibleMs();
        ASSERT_GE(first, 0);
        if (heardMs[i] > 0) {
            EXPECT_NEAR(out.lastAudibleMs() - first, heardMs[i], 30);
            EXPECT_TRUE(out.isAudibleThroughout(first, first + heardMs[i] - 20));
        } else {
            EXPECT_TRUE(out.isAudibleThroughout(first, out.getLengthMs() - 30));
        }
    }
}

TEST_F(SoundOutputTest, PositionalSoundIsHeardFromItsSideOfTheListener)
{
    SharedPtr<SoundChannel> channel = this->channel(Tone(), true);
    channel->setRepeat(true);
    ASSERT_TRUE(channel->set3DAttributes(Vector3(-5.0f, 0.0f, 0.0f), Vector3()));
    ASSERT_TRUE(channel->play());
    SoundTest::pump(mEngine, 300);
    // The listener passes the sound: now it is on the listener's right.
    mEngine.updateListenerAttributes(Vector3(-10.0f, 0.0f, 0.0f), Vector3(), Vector3(), Vector3(), 0);
    SoundTest::pump(mEngine, 300);

    const WaveOutput out = finish();
    const int first = out.firstAudibleMs(0);
    ASSERT_GE(first, 0);
    EXPECT_GT(out.rms(0, first + 50, first + 250), 2.0 * out.rms(1, first + 50, first + 250));
    EXPECT_GT(out.rms(1, first + 350, first + 550), 2.0 * out.rms(0, first + 350, first + 550));
}

TEST_F(SoundOutputTest, StopEndsTheSoundAndPlayStartsItAgain)
{
    SharedPtr<SoundChannel> channel = this->channel(Tone(), false);
    channel->setRepeat(true);
    ASSERT_TRUE(channel->play());
    SoundTest::pump(mEngine, 200);
    EXPECT_TRUE(channel->stop());
    EXPECT_FALSE(channel->isPlaying());
    EXPECT_FALSE(channel->stop()) << "nothing left to stop";
    SoundTest::pump(mEngine, 250);
    EXPECT_TRUE(channel->play());
    EXPECT_TRUE(channel->isPlaying());
    SoundTest::pump(mEngine, 200);

    const WaveOutput out = finish();
    const int first = out.firstAudibleMs();
    ASSERT_GE(first, 0);
    EXPECT_EQ(out.peak(first + 250, first + 400), 0.0);
    EXPECT_TRUE(out.isAudibleThroughout(first + 500, first + 600));
}

TEST_F(SoundOutputTest, MoreChannelsThanSourcesTakeTheVoicesOfTheLeastAudible)
{
    ASSERT_EQ(mEngine.getVoiceCount(), WaveOutput::kSources) << "OpenAL gives fewer sources than the engine asks";
    SharedPtr<SoundSource> sound = source(Tone(), false);
    std::vector<SharedPtr<SoundChannel>> playing;
    for (int i = 0; i < WaveOutput::kSources; ++i) {
        playing.push_back(mEngine.createChannel(sound));
        playing.back()->setRepeat(true);
        playing.back()->setVolume(i == 2 ? 0.2f : 1.0f);
        ASSERT_TRUE(playing.back()->play());
    }

    // One more: the quietest stops.
    SharedPtr<SoundChannel> extra = mEngine.createChannel(sound);
    ASSERT_FALSE(extra.isNull());
    EXPECT_FALSE(playing[2]->isPlaying());
    EXPECT_TRUE(extra->isPlaying());

    // All equally loud: the one started first stops.
    extra->setRepeat(true);
    ASSERT_TRUE(extra->play());
    SharedPtr<SoundChannel> another = mEngine.createChannel(sound);
    EXPECT_FALSE(playing[0]->isPlaying());
    EXPECT_TRUE(playing[1]->isPlaying());

    // A paused channel is heard least of all.
    SharedPtr<SoundChannel> third = mEngine.createChannel(sound);
    EXPECT_FALSE(another->isPlaying()) << "created paused, never played";
    EXPECT_TRUE(playing[1]->isPlaying());

    // A channel that lost its voice plays again when asked.
    EXPECT_TRUE(playing[0]->play());
    EXPECT_TRUE(playing[0]->isPlaying());
    SoundTest::pump(mEngine, 50);
    EXPECT_TRUE(mLog.lines().empty());
}

TEST_F(SoundOutputTest, ChannelsOutliveTheirEngine)
{
    SharedPtr<SoundChannel> early = channel(Tone(), false);
    ASSERT_TRUE(early->play());
    mEngine.shutdown();
    EXPECT_FALSE(early->isPlaying());
    EXPECT_FALSE(early->play());
    EXPECT_FALSE(early->stop());
    EXPECT_TRUE(early->setVolume(0.5f)) << "settings are still kept";

    auto engine = std::make_unique<OpenALSoundEngine>(mLog.shared);
    ASSERT_TRUE(engine->initialize());
    SoundTest::writeFile(SoundTest::scratchDirectory() + "/late.mp3", SoundTest::encodeTone(Tone()));
    SharedPtr<SoundChannel> late =
        engine->createChannel(engine->createSoundSource({"late.mp3", SoundTest::scratchDirectory() + "/late.mp3", "mp3"}, false));
    ASSERT_TRUE(late->play());
    engine.reset();
    EXPECT_FALSE(late->isPlaying());
    EXPECT_FALSE(late->setSoundSource(SharedPtr<SoundSource>()));
    late.setNull();
}

TEST_F(SoundOutputTest, ChannelsOnlyPlaySourcesOfTheirEngine)
{
    class ForeignSource : public SoundSource {
        int getLength() const override { return -1; }
        int getChannels() const override { return -1; }
    };
    SharedPtr<SoundSource> foreign(new ForeignSource());
    EXPECT_TRUE(mEngine.createChannel(foreign).isNull());
    EXPECT_TRUE(mEngine.createChannel(SharedPtr<SoundSource>()).isNull());

    SharedPtr<SoundChannel> channel = this->channel(Tone(), false);
    EXPECT_FALSE(channel->setSoundSource(foreign));
    EXPECT_TRUE(channel->play()) << "the channel keeps the sound it had";
}

TEST_F(SoundOutputTest, UpdateWithPlayingChannelsAllocatesNothing)
{
    Tone stereo;
    stereo.channels = 2;
    std::vector<SharedPtr<SoundChannel>> channels = {channel(Tone(), true), channel(Tone(), true),
                                                     channel(stereo, false), channel(stereo, false)};
    for (SharedPtr<SoundChannel>& channel : channels) {
        channel->setRepeat(true);
        ASSERT_TRUE(channel->play());
    }
    SoundTest::pump(mEngine, 50);

    std::size_t allocations = 0;
    {
        VeltaTest::AllocationCounter counter;
        // Longer than the buffers queued per voice: every voice is refilled.
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(600);
        float x = 0.0f;
        while (std::chrono::steady_clock::now() < end) {
            x += 0.1f;
            channels[0]->set3DAttributes(Vector3(x, 0.0f, 0.0f), Vector3(1.0f, 0.0f, 0.0f));
            mEngine.updateListenerAttributes(Vector3(0.0f, 0.0f, x), Vector3(), Vector3(), Vector3(), 0);
            mEngine.update(0);
            channels[1]->isPlaying();
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        allocations = counter.getCount();
    }
    EXPECT_EQ(allocations, 0u);
    for (SharedPtr<SoundChannel>& channel : channels) {
        EXPECT_TRUE(channel->isPlaying());
    }
    const WaveOutput out = finish();
    const int first = out.firstAudibleMs();
    ASSERT_GE(first, 0);
    EXPECT_TRUE(out.isAudibleThroughout(first, first + 600)) << "the buffers never ran dry";
}

} // namespace
