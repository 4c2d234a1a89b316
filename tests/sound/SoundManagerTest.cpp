// The sound manager with the engine that the core's setup installs.
#include "SoundTestSupport.h"

#include "core/ProcessManager.h"
#include "resource/ResourceManager.h"
#include "sound/SoundChannel.h"
#include "sound/SoundEngine.h"
#include "sound/SoundManager.h"
#include "sound/SoundSource.h"
#include "support/CoreFixture.h"

#include <gtest/gtest.h>

#include <filesystem>

using CppLib::SharedPtr;
using Velta::SoundChannel;
using Velta::SoundManager;
using Velta::SoundSource;

namespace {

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

TEST_F(SoundManagerTest, SetupInstallsAnEngineUpdatedOncePerFrame)
{
    ASSERT_NE(sound().getSoundEngine(), nullptr);
    EXPECT_TRUE(sound().registerSoundEngine(*sound().getSoundEngine()));
    EXPECT_EQ(sound().getProcessList()->size(), 1u) << "registered twice, updated once";

    SharedPtr<SoundChannel> music = sound().createChannel(sound().getSoundSource("music.mp3", false, false));
    music->setRepeat(true);
    ASSERT_TRUE(music->play());
    for (int frame = 0; frame < 30; ++frame) {
        core().getProcessManager().update(true);
    }
    EXPECT_TRUE(music->isPlaying());
}

TEST_F(SoundManagerTest, CachedSourcesAndNamedChannelsAreKept)
{
    SharedPtr<SoundSource> cached = sound().getSoundSource("music.mp3", true, true);
    ASSERT_FALSE(cached.isNull());
    EXPECT_EQ(cached->getLength(), 300);
    EXPECT_EQ(sound().getSoundSource("music.mp3", true, true), cached);
    EXPECT_NE(sound().getSoundSource("music.mp3", true, false), cached) << "without the cache the file opens anew";
    EXPECT_TRUE(sound().getSoundSource("nothing.mp3", true, true).isNull());

    SharedPtr<SoundChannel> unnamed = sound().createChannel(cached);
    ASSERT_FALSE(unnamed.isNull());
    EXPECT_TRUE(sound().getChannel("").isNull());
    SharedPtr<SoundChannel> music = sound().createChannel(cached, "music");
    EXPECT_EQ(sound().getChannel("music"), music);
    SharedPtr<SoundChannel> again = sound().createChannel(cached, "music");
    EXPECT_EQ(sound().getChannel("music"), again);
    EXPECT_EQ(music.getUseCount(), 1u) << "the channel it replaced is no longer kept";
    EXPECT_TRUE(sound().getChannel("unknown").isNull());
}

} // namespace
