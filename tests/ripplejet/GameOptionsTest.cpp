// The command line: every accepted form, every kind of bad value, and a help
// text that lists every option the parser knows.
#include "app/GameOptions.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Ripplejet::GameOptionParser;
using Ripplejet::GameOptions;

GameOptionParser::Result parse(const std::vector<std::string>& arguments)
{
    return GameOptionParser::parse(arguments);
}

TEST(GameOptions, NoArgumentsIsTheGameAsItAlwaysStarts)
{
    const GameOptionParser::Result result = parse({});
    ASSERT_TRUE(result.ok()) << result.error;
    EXPECT_TRUE(result.options.fullscreen);
    EXPECT_EQ(result.options.width, 1024);
    EXPECT_EQ(result.options.height, 768);
    EXPECT_FALSE(result.options.mute);
    EXPECT_EQ(result.options.fpsLimit, 0);
    EXPECT_FALSE(result.options.benchmark);
    EXPECT_TRUE(result.options.recordFile.empty());
    EXPECT_TRUE(result.options.replayFile.empty());
}

TEST(GameOptions, EveryAcceptedFormSetsItsOption)
{
    const struct {
        std::vector<std::string> arguments;
        bool (*holds)(const GameOptions&);
    } cases[] = {
        {{"--windowed"}, [](const GameOptions& o) { return !o.fullscreen && o.width == 800 && o.height == 600; }},
        {{"--windowed", "--size", "801x601"},
         [](const GameOptions& o) { return !o.fullscreen && o.width == 801 && o.height == 601; }},
        {{"--size=640x480", "--windowed"},
         [](const GameOptions& o) { return !o.fullscreen && o.width == 640 && o.height == 480; }},
        {{"--windowed", "--fullscreen"}, [](const GameOptions& o) { return o.fullscreen && o.width == 1024; }},
        {{"--size", "1x1"}, [](const GameOptions& o) { return o.fullscreen && o.width == 1 && o.height == 1; }},
        {{"--mute"}, [](const GameOptions& o) { return o.mute; }},
        {{"--fps-limit", "60"}, [](const GameOptions& o) { return o.fpsLimit == 60; }},
        {{"--fps-limit=0"}, [](const GameOptions& o) { return o.fpsLimit == 0; }},
        {{"--data", "/opt/ripplejet data"}, [](const GameOptions& o) { return o.dataDir == "/opt/ripplejet data"; }},
        {{"--benchmark"}, [](const GameOptions& o) { return o.benchmark && !o.shortBenchmark; }},
        {{"--benchmark=short"}, [](const GameOptions& o) { return o.benchmark && o.shortBenchmark; }},
        {{"--record", "race.rjr"}, [](const GameOptions& o) { return o.recordFile == "race.rjr"; }},
        {{"--replay=race.rjr"}, [](const GameOptions& o) { return o.replayFile == "race.rjr"; }},
        {{"--benchmark", "--record", "b.rjr"}, [](const GameOptions& o) { return o.benchmark && o.recordFile == "b.rjr"; }},
        {{"--autopilot", "--record", "a.rjr"}, [](const GameOptions& o) { return o.autopilot; }},
        {{"--help"}, [](const GameOptions& o) { return o.help; }},
        {{"--version"}, [](const GameOptions& o) { return o.version; }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.arguments));
        const GameOptionParser::Result result = parse(c.arguments);
        ASSERT_TRUE(result.ok()) << result.error;
        EXPECT_TRUE(c.holds(result.options));
    }
}

TEST(GameOptions, EveryBadValueIsRefusedWithOneLineNamingIt)
{
    const struct {
        std::vector<std::string> arguments;
        const char* named;
    } cases[] = {
        {{"--size", "0x0"}, "0x0"},
        {{"--size", "abc"}, "abc"},
        {{"--size", "-5x3"}, "-5x3"},
        {{"--size", "800x"}, "800x"},
        {{"--size", "x600"}, "x600"},
        {{"--size", "800x600x2"}, "800x600x2"},
        {{"--size", "16385x100"}, "16385x100"},
        {{"--size", "99999999999x1"}, "99999999999x1"},
        {{"--size"}, "--size"},
        {{"--fps-limit", "-1"}, "-1"},
        {{"--fps-limit", "sixty"}, "sixty"},
        {{"--fps-limit", "1001"}, "1001"},
        {{"--data="}, "data"},
        {{"--record"}, "--record"},
        {{"--benchmark=long"}, "long"},
        {{"--mute=yes"}, "--mute"},
        {{"--fast"}, "--fast"},
        {{"-w"}, "-w"},
        {{"extra"}, "extra"},
        {{"--record", "a.rjr", "--replay", "b.rjr"}, "--replay"},
        {{"--benchmark", "--replay", "b.rjr"}, "replay"},
        {{"--autopilot", "--replay", "b.rjr"}, "replay"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.arguments));
        const GameOptionParser::Result result = parse(c.arguments);
        EXPECT_FALSE(result.ok());
        EXPECT_NE(result.error.find(c.named), std::string::npos) << result.error;
        EXPECT_EQ(result.error.find('\n'), std::string::npos) << result.error;
    }
}

TEST(GameOptions, TheHelpListsEveryOptionTheParserKnows)
{
    const std::string usage = GameOptionParser::usage();
    for (const std::string& name : GameOptionParser::optionNames()) {
        EXPECT_NE(usage.find("\n  " + name), std::string::npos) << name;
        // Every name in the help is one the parser accepts.
        const std::vector<std::string> arguments = {name, "1x1"};
        const GameOptionParser::Result result = parse(arguments);
        EXPECT_EQ(result.error.find("unknown option '" + name), std::string::npos) << result.error;
    }
    EXPECT_EQ(GameOptionParser::optionNames().size(), 12u);
}

} // namespace
