// The sound manager's tables and its engine registration, with an engine that
// records what it is asked; and the core installing the OpenAL engine.
#include "SoundTestSupport.h"

#include "core/ProcessManager.h"
#include "resource/FileNameMapper.h"
#include "resource/ResourceManager.h"
#include "sound/SoundChannel.h"
#include "sound/SoundEngine.h"
#include "sound/SoundManager.h"
#include "sound/SoundSource.h"
#include "support/CoreFixture.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

using CppLib::SharedPtr;
using Velta::NameMapper;
using Velta::SoundChannel;
using Velta::SoundManager;
using Velta::SoundSource;
using Vector3 = CppLib::TVector<float, 3>;

namespace {

class FakeSource : public SoundSource {
public:
    int getLength() const override { return 1000; }
    int getChannels() const override { return 1; }
};

class FakeChannel : public SoundChannel {
public:
    bool setSoundSource(SharedPtr<SoundSource>) override { return true; }
    bool setVolume(float) override { return true; }
    bool play() override { return true; }
    bool stop() override { return true; }
    bool setPaused(bool) override { return true; }
    bool setRepeat(bool) override { return true; }
    bool setMute(bool) override { return true; }
    bool setLoopCount(int) override { return true; }
    bool set3DAttributes(const Vector3&, const Vector3&) override { return true; }
    bool isPlaying() const override { return false; }
    bool isMuted() const override { return false; }
    bool isPaused() const override { return true; }
};

class FakeEngine : public Velta::SoundEngine {
public:
    explicit FakeEngine(bool starts) : mStarts(starts) {}

    bool isInitialized() const override { return mInitialized; }
    bool initialize() override { return mInitialized = mStarts; }
    bool shutdown() override { return true; }
    bool update(long long timestamp) override
    {
        mUpdates.push_back(timestamp);
        return true;
    }
    SharedPtr<SoundSource> createSoundSource(const NameMapper::ResourceInfo& info, bool) const override
    {
        mOpened.push_back(info.fileName);
        return info.name == "missing.mp3" ? SharedPtr<SoundSource>() : SharedPtr<SoundSource>(new FakeSource());
    }
    SharedPtr<SoundChannel> createChannel(SharedPtr<SoundSource> source) const override
    {
        return source.isNull() ? SharedPtr<SoundChannel>() : SharedPtr<SoundChannel>(new FakeChannel());
    }
    void updateListenerAttributes(const Vector3& position, const Vector3&, const Vector3&, const Vector3&,
                                  unsigned int) override
    {
        mListener = position;
    }

    bool mStarts;
    bool mInitialized = false;
    mutable std::vector<std::string> mOpened;
    std::vector<long long> mUpdates;
    Vector3 mListener;
};

class SoundManagerTest : public testing::Test {
protected:
    SoundManagerTest() { mManager.setSoundNameMapper(SharedPtr<NameMapper>(new Velta::FileNameMapper(".\\sound"))); }

    FakeEngine mEngine{true};
    SoundManager mManager;  // dies before the engine it borrows
};

TEST_F(SoundManagerTest, WithoutAnEngineEveryCallAnswersEmpty)
{
    FakeEngine broken(false);
    EXPECT_FALSE(mManager.registerSoundEngine(broken));
    EXPECT_TRUE(mManager.getProcessList()->empty());
    EXPECT_TRUE(mManager.getSoundSource("splash.mp3", true, true).isNull());
    EXPECT_TRUE(mManager.createChannel(SharedPtr<SoundSource>(new FakeSource()), "splash").isNull());
    EXPECT_TRUE(mManager.getChannel("splash").isNull());
    mManager.updateListenerAttributes(Vector3(1.0f, 2.0f, 3.0f), Vector3(), Vector3(), Vector3(), 0);
    EXPECT_TRUE(broken.mOpened.empty());
}

TEST_F(SoundManagerTest, CachedSourcesOpenOnceAndUncachedOnesEveryTime)
{
    ASSERT_TRUE(mManager.registerSoundEngine(mEngine));
    SharedPtr<SoundSource> first = mManager.getSoundSource("splash.mp3", true, true);
    EXPECT_EQ(mManager.getSoundSource("splash.mp3", true, true), first);
    ASSERT_EQ(mEngine.mOpened.size(), 1u);
    EXPECT_EQ(mEngine.mOpened[0], ".\\sound\\splash.mp3");

    SharedPtr<SoundSource> fresh = mManager.getSoundSource("splash.mp3", true, false);
    EXPECT_NE(fresh, first);
    EXPECT_NE(mManager.getSoundSource("music.mp3", false, false), mManager.getSoundSource("music.mp3", false, true))
        << "an uncached source is not kept";
    EXPECT_EQ(mEngine.mOpened.size(), 4u);

    // A file that cannot be played is asked for again each time.
    EXPECT_TRUE(mManager.getSoundSource("missing.mp3", true, true).isNull());
    EXPECT_TRUE(mManager.getSoundSource("missing.mp3", true, true).isNull());
    EXPECT_EQ(mEngine.mOpened.size(), 6u);
}

TEST_F(SoundManagerTest, OnlyNamedChannelsAreKept)
{
    ASSERT_TRUE(mManager.registerSoundEngine(mEngine));
    SharedPtr<SoundSource> source = mManager.getSoundSource("splash.mp3", true, false);
    SharedPtr<SoundChannel> unnamed = mManager.createChannel(source);
    ASSERT_FALSE(unnamed.isNull());
    EXPECT_TRUE(mManager.getChannel("").isNull());

    SharedPtr<SoundChannel> music = mManager.createChannel(source, "music");
    EXPECT_EQ(mManager.getChannel("music"), music);
    EXPECT_EQ(music.getUseCount(), 2u) << "the manager keeps a share";
    SharedPtr<SoundChannel> again = mManager.createChannel(source, "music");
    EXPECT_EQ(mManager.getChannel("music"), again);
    EXPECT_EQ(music.getUseCount(), 1u) << "a channel of the same name replaces it";
    EXPECT_TRUE(mManager.getChannel("unknown").isNull());
}

TEST_F(SoundManagerTest, RegisteredEngineIsUpdatedOncePerFrameAndPlacesTheListener)
{
    ASSERT_TRUE(mManager.registerSoundEngine(mEngine));
    ASSERT_TRUE(mManager.registerSoundEngine(mEngine));
    ASSERT_EQ(mManager.getProcessList()->size(), 1u) << "registered twice, updated once";
    mManager.getProcessList()->front()->run(1234);
    EXPECT_EQ(mEngine.mUpdates, std::vector<long long>{1234});

    mManager.updateListenerAttributes(Vector3(1.0f, 2.0f, 3.0f), Vector3(), Vector3(), Vector3(), 0);
    EXPECT_EQ(mEngine.mListener, Vector3(1.0f, 2.0f, 3.0f));
}

/// The core with its plug-ins, run in a directory that has a sound folder.
class SoundCoreTest : public VeltaTest::SetUpCoreFixture {
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

    std::filesystem::path mWorkingDirectory;
};

TEST_F(SoundCoreTest, SetupInstallsTheOpenALEngineThatPlaysTheSoundFolder)
{
    SoundManager& sound = core().getResourceManager().getSoundManager();
    ASSERT_NE(sound.getSoundEngine(), nullptr);
    EXPECT_EQ(sound.getProcessList()->size(), 1u);

    SharedPtr<SoundSource> music = sound.getSoundSource("music.mp3", false, false);
    ASSERT_FALSE(music.isNull());
    EXPECT_EQ(music->getLength(), 300);
    SharedPtr<SoundChannel> channel = sound.createChannel(music, "music");
    ASSERT_EQ(sound.getChannel("music"), channel);
    channel->setRepeat(true);
    EXPECT_TRUE(channel->play());
    for (int frame = 0; frame < 10; ++frame) {
        core().getProcessManager().update(true);
    }
    EXPECT_TRUE(channel->isPlaying());
    EXPECT_TRUE(sound.getSoundSource("nothing.mp3", false, false).isNull());
}

} // namespace
