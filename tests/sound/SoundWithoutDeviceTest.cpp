// No audio device: the engine says so once, is not registered, and the game
// runs on in silence.
#include "core/ProcessManager.h"
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

class SoundWithoutDeviceTest : public VeltaTest::CoreFixture {};

TEST_F(SoundWithoutDeviceTest, CoreStartsAndRunsFramesWithoutSound)
{
    testing::internal::CaptureStderr();
    ASSERT_TRUE(core().setup(true));
    std::istringstream log(testing::internal::GetCapturedStderr());
    int soundLines = 0;
    for (std::string line; std::getline(log, line);) {
        if (line.find("OpenAL") != std::string::npos) {
            ++soundLines;
            EXPECT_EQ(line.rfind("OpenAL Error while opening the audio device: ", 0), 0u) << line;
        }
    }
    EXPECT_EQ(soundLines, 1);

    Velta::SoundManager& sound = core().getResourceManager().getSoundManager();
    EXPECT_EQ(sound.getSoundEngine(), nullptr);
    EXPECT_TRUE(sound.getProcessList()->empty());
    EXPECT_TRUE(sound.getSoundSource("music.mp3", false, true).isNull());
    EXPECT_TRUE(sound.createChannel(SharedPtr<Velta::SoundSource>(), "music").isNull());
    EXPECT_TRUE(sound.getChannel("music").isNull());
    sound.updateListenerAttributes(Vector3(1.0f, 0.0f, 0.0f), Vector3(), Vector3(), Vector3(), 0);
    for (int frame = 0; frame < 5; ++frame) {
        EXPECT_EQ(core().getProcessManager().update(true), 0);
    }
}

} // namespace
