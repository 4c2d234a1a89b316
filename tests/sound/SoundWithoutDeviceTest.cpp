// No audio device: the engine says so once, is not registered, and the game
// runs on in silence.
#include "core/ProcessManager.h"
#include "resource/ResourceManager.h"
#include "sound/SoundChannel.h"
#include "sound/SoundManager.h"
#include "sound/SoundSource.h"
#include "support/CoreFixture.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>

using CppLib::SharedPtr;
using Vector3 = CppLib::TVector<float, 3>;

namespace {

/// OpenAL may only use the system's sound library, and asks it for a device
/// that does not exist, before anything in this process asks: the path a
/// machine without a sound card takes, where both libraries would otherwise
/// print their own diagnostics.
class NoDeviceEnvironment : public testing::Environment {
public:
    void SetUp() override
    {
        mConfig = "/tmp/velta-no-device-" + std::to_string(::getpid()) + ".conf";
        std::ofstream(mConfig) << "[general]\ndrivers = alsa\n[alsa]\ndevice = velta_no_such_device\n";
        ::setenv("ALSOFT_CONF", mConfig.c_str(), 1);
        ::unsetenv("ALSOFT_DRIVERS");
        ::unsetenv("ALSOFT_LOGLEVEL");
    }

    void TearDown() override { std::remove(mConfig.c_str()); }

private:
    std::string mConfig;
};

const testing::Environment* const gNoDevice = testing::AddGlobalTestEnvironment(new NoDeviceEnvironment());

class SoundWithoutDeviceTest : public VeltaTest::CoreFixture {};

TEST_F(SoundWithoutDeviceTest, CoreStartsAndRunsFramesWithoutSound)
{
    testing::internal::CaptureStderr();
    ASSERT_TRUE(core().setup(true));
    std::istringstream log(testing::internal::GetCapturedStderr());
    int lines = 0;
    for (std::string line; std::getline(log, line);) {
        ++lines;
        EXPECT_EQ(line.rfind("No audio device was found; the game plays silently (OpenAL: ", 0), 0u) << line;
    }
    EXPECT_EQ(lines, 1) << "one line of ours, none from the audio libraries";

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
