// The real game started with options, on the virtual display: a bad option,
// the benchmark, a recorded race played back, and no sound when muted.
#include "GameProcess.h"

#include "testkit/VirtualDisplay.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;
using RipplejetTest::GameProcess;
using RipplejetTest::runCommand;

// Generous: a whole race is replayed, maybe built with sanitizers.
constexpr double RUN_SECONDS = 380;

/// The golden race: the autopilot, recorded at 25 frames a second in a
/// 320 × 240 window. Made again with
///   ripplejet --benchmark --fps-limit 25 --windowed --size 320x240 --mute --record golden-race.rjr
/// whenever the course or the duck changes on purpose.
const std::string GOLDEN = std::string(RIPPLEJET_TEST_DATA_DIR) + "/golden-race.rjr";
constexpr const char* GOLDEN_RESULT = "Replay: race won in 162509 ms\n";

class GameRun : public testing::Test {
protected:
    void SetUp() override
    {
        VELTA_REQUIRE_DISPLAY();
        setenv("LIBGL_ALWAYS_SOFTWARE", "1", 0);
        // Sound goes to a file that says whether a device was opened.
        const std::string config = scratch + "/alsoft.conf";
        fs::create_directories(scratch);
        std::ofstream(config) << "[general]\ndrivers = wave\n[wave]\nfile = " << wave << "\n";
        setenv("ALSOFT_CONF", config.c_str(), 1);
        unsetenv("ALSOFT_DRIVERS");
    }
    void TearDown() override
    {
        fs::remove_all(scratch);
        unsetenv("ALSOFT_CONF");
    }

    /// Runs the game with `arguments` to its end; false when it did not end.
    bool run(const std::vector<std::string>& arguments, double seconds = RUN_SECONDS)
    {
        return game.start(RIPPLEJET_PROGRAM, RIPPLEJET_BIN_DIR, VeltaTest::VirtualDisplay::get().getName(),
                          arguments) &&
               game.waitForExit(seconds);
    }

    const std::string scratch = (fs::temp_directory_path() / ("ripplejet-run-" + std::to_string(getpid()))).string();
    const std::string wave = scratch + "/sound.wav";
    GameProcess game;
};

TEST_F(GameRun, ABadOptionPrintsTheUsageAndExitsTwoWithoutAWindow)
{
    ASSERT_TRUE(run({"--windowed", "--size", "-5x3"}, 60));
    EXPECT_EQ(game.getExitStatus(), 2);
    const std::string error = game.readStandardError();
    EXPECT_EQ(error.rfind("ripplejet: the size must be", 0), 0u) << error;
    EXPECT_NE(error.find("Usage: ripplejet"), std::string::npos);
    EXPECT_FALSE(fs::exists(wave)) << "nothing was started";
}

TEST_F(GameRun, TheShortBenchmarkPrintsItsLineAndExitsZeroWithoutOpeningAnAudioDevice)
{
    ASSERT_TRUE(run({"--benchmark=short", "--windowed", "--size", "320x240", "--mute"}));
    EXPECT_EQ(game.getExitStatus(), 0) << game.readStandardError();
    const std::regex line("Benchmark: [1-9][0-9]* frames, mean [0-9.]+ ms, median [0-9.]+ ms, 95th percentile "
                          "[0-9.]+ ms, worst [0-9.]+ ms; race unfinished after [1-9][0-9]* ms\n");
    EXPECT_TRUE(std::regex_search(game.readStandardOutput(), line)) << game.readStandardOutput();
    EXPECT_FALSE(fs::exists(wave)) << "muted, yet an audio device was opened";
}

TEST_F(GameRun, TheGoldenRaceReplaysToItsRaceTimeToTheMillisecondAtAnotherFrameRate)
{
    // As fast as the machine draws a tiny window: many times the recording's
    // 25 frames a second. Sound on, this time.
    ASSERT_TRUE(run({"--replay", GOLDEN, "--windowed", "--size", "160x120"}));
    EXPECT_EQ(game.getExitStatus(), 0) << game.readStandardError();
    const std::string output = game.readStandardOutput();
    EXPECT_NE(output.find(GOLDEN_RESULT), std::string::npos) << output;
    EXPECT_TRUE(fs::exists(wave)) << "with sound on, the device writes its file";
}

TEST_F(GameRun, ACutOrForeignRecordingIsRefusedWithOneLineAndExitTwo)
{
    std::ifstream in(GOLDEN, std::ios::binary);
    const std::string golden((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_GT(golden.size(), 1000u);
    const std::string cut = scratch + "/cut.rjr";
    std::ofstream(cut, std::ios::binary) << golden.substr(0, golden.size() / 2);
    const std::string foreign = std::string(RIPPLEJET_BIN_DIR) + "/textures/overlays/go.png";
    for (const std::string& file : {cut, foreign}) {
        SCOPED_TRACE(file);
        GameProcess refused;
        ASSERT_TRUE(refused.start(RIPPLEJET_PROGRAM, RIPPLEJET_BIN_DIR, VeltaTest::VirtualDisplay::get().getName(),
                                  {"--replay", file}));
        ASSERT_TRUE(refused.waitForExit(60));
        EXPECT_EQ(refused.getExitStatus(), 2);
        const std::string error = refused.readStandardError();
        EXPECT_EQ(error.rfind("ripplejet: cannot replay \"" + file + "\"", 0), 0u) << error;
        EXPECT_EQ(error.find('\n'), error.size() - 1) << "one line";
    }
}

} // namespace
