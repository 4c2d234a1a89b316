// No audio device: the engine says so once, is not registered, and the game
// runs on in silence.
#include "SoundTestSupport.h"

#include "core/ProcessManager.h"
#include "plugins/sound/openal/OpenALSoundEngine.h"
#include "resource/ResourceManager.h"
#include "sound/SoundChannel.h"
#include "sound/SoundManager.h"
#include "sound/SoundSource.h"
#include "support/CoreFixture.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>
#include <string>

using CppLib::SharedPtr;
using Velta::SoundChannel;
using Velta::SoundSource;
using Vector3 = CppLib::TVector<float, 3>;

namespace {

/// OpenAL finds no back end to open, before anything in this process asks.
class NoDeviceEnvironment : public testing::Environment {
public:
    void SetUp() override
    {
        ::unsetenv("ALSOFT_CONF");
        ::setenv("ALSOFT_DRIVERS", "none", 1);
    }
};

const testing::Environment* const gNoDevice = testing::AddGlobalTestEnvironment(new NoDeviceEnvironment());

int countLinesContaining(const std::string& text, const std::string& part)
{
    std::istringstream lines(text);
    int count = 0;
    for (std::string line; std::getline(lines, line);) {
        count += line.find(part) != std::string::npos ? 1 : 0;
    }
    return count;
}

TEST(SoundWithoutDeviceTest, CoreStartsAndRunsFramesWithoutSound)
{
    Velta::VeltaCore& core = CppLib::Singleton<Velta::VeltaCore>::getSingleton();
    core.startup();
    testing::internal::CaptureStderr();
    EXPECT_TRUE(core.setup(true));
    const std::string log = testing::internal::GetCapturedStderr();
    EXPECT_EQ(countLinesContaining(log, "OpenAL"), 1) << log;
    EXPECT_EQ(countLinesContaining(log, "OpenAL Error while opening the audio device: "), 1) << log;

    Velta::SoundManager& sound = core.getResourceManager().getSoundManager();
    EXPECT_EQ(sound.getSoundEngine(), nullptr);
    EXPECT_TRUE(sound.getProcessList()->empty());
    EXPECT_TRUE(sound.getSoundSource("music.mp3", false, true).isNull());
    EXPECT_TRUE(sound.createChannel(SharedPtr<SoundSource>(), "music").isNull());
    EXPECT_TRUE(sound.getChannel("music").isNull());
    sound.updateListenerAttributes(Vector3(1.0f, 0.0f, 0.0f), Vector3(), Vector3(), Vector3(), 0);
    for (int frame = 0; frame < 5; ++frame) {
        EXPECT_EQ(core.getProcessManager().update(true), 0);
    }
    core.shutdown();
}

TEST(SoundWithoutDeviceTest, EngineThatCannotStartAnswersEmpty)
{
    SoundTest::Log log;
    Velta::OpenALSoundEngine engine(log.shared);
    EXPECT_FALSE(engine.initialize());
    ASSERT_EQ(log.lines().size(), 1u);
    EXPECT_EQ(log.lines()[0].rfind("error: OpenAL Error while opening the audio device: ", 0), 0u) << log.lines()[0];

    EXPECT_FALSE(engine.isInitialized());
    EXPECT_EQ(engine.getVoiceCount(), 0);
    EXPECT_FALSE(engine.update(0));
    EXPECT_TRUE(engine.createSoundSource({"x.mp3", "x.mp3", "mp3"}, true).isNull());
    EXPECT_TRUE(engine.createChannel(SharedPtr<SoundSource>()).isNull());
    engine.updateListenerAttributes(Vector3(), Vector3(), Vector3(), Vector3(), 0);
    EXPECT_TRUE(engine.shutdown());
    EXPECT_EQ(log.lines().size(), 1u);
}

} // namespace
