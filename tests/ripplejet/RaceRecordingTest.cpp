// Recorded races on file: what is written comes back exactly, and a file that
// is missing, of another kind or version, damaged or cut short is refused
// with one line.
#include "GameEvents.h"

#include "app/RaceRecorder.h"
#include "app/RaceReplay.h"
#include "input/ButtonEventInfo.h"
#include "input/InputProcessor.h"
#include "input/KeyEventInfo.h"
#include "input/MoveEventInfo.h"
#include "support/CoreFixture.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;
using Ripplejet::RaceRecorder;
using Ripplejet::RaceReplay;

/// Keeps a copy of what it is handed.
class Collector : public Velta::InputProcessor {
public:
    Collector() : Velta::InputProcessor(-1) {}
    bool processInputEvent(Velta::InputEvent& event) override
    {
        events.push_back(event);
        return true;
    }
    std::vector<Velta::InputEvent> events;
};

// A started core: input processors take their ids from it.
class RaceRecording : public VeltaTest::CoreFixture {
protected:
    void TearDown() override
    {
        fs::remove(mPath);
        CoreFixture::TearDown();
    }

    std::string read() const
    {
        std::ifstream in(mPath);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
    void write(const std::string& text) const { std::ofstream(mPath) << text; }

    /// Two frames: a key, a pointer position that is no short decimal and a
    /// click in the first, a new race after the second.
    void recordTwoFrames(bool finish)
    {
        RaceRecorder recorder;
        ASSERT_TRUE(recorder.open(mPath));
        recorder.recordStart(1000);
        recorder.beginFrame(1016);
        recorder.recordEvent(RipplejetTest::keyPress(Velta::KeyEventInfo::KEY_W, 0));
        recorder.recordEvent(RipplejetTest::pointerAt(0.1f / 3.0f, -7.000001f));
        recorder.recordEvent(RipplejetTest::buttonPress(1));
        recorder.recordEvent(RipplejetTest::quitRequest()); // not the level's: not written
        recorder.endFrame();
        recorder.beginFrame(1033);
        recorder.recordNewRace();
        recorder.endFrame();
        if (finish) {
            recorder.finish("won", 166064);
        }
    }

    const std::string mPath = (fs::temp_directory_path() / ("race-" + std::to_string(getpid()) + ".rjr")).string();
};

TEST_F(RaceRecording, ComesBackFrameByFrameWithExactlyTheEventsWritten)
{
    recordTwoFrames(true);
    RaceReplay replay;
    ASSERT_TRUE(replay.load(mPath)) << replay.getError();
    EXPECT_EQ(replay.getStartTime(), 1000);
    ASSERT_EQ(replay.getFrameCount(), 2u);
    EXPECT_EQ(replay.getFrameTime(0), 1016);
    EXPECT_EQ(replay.getFrameTime(1), 1033);
    EXPECT_FALSE(replay.startsNewRace(0));
    EXPECT_TRUE(replay.startsNewRace(1));
    EXPECT_EQ(replay.getResult(), "won");
    EXPECT_EQ(replay.getRaceTime(), 166064);

    Collector level;
    replay.deliverEvents(0, level);
    ASSERT_EQ(level.events.size(), 3u);
    ASSERT_NE(level.events[0].getKeyEventInfo(), nullptr);
    EXPECT_EQ(level.events[0].getKeyEventInfo()->getKeySymbol(), Velta::KeyEventInfo::KEY_W);
    EXPECT_EQ(level.events[0].getKeyEventInfo()->getEventType(), Velta::KeyEventInfo::KEY_PRESSED);
    ASSERT_NE(level.events[1].getMoveEventInfo(), nullptr);
    EXPECT_EQ(level.events[1].getMoveEventInfo()->getX(), 0.1f / 3.0f) << "bit for bit";
    EXPECT_EQ(level.events[1].getMoveEventInfo()->getY(), -7.000001f);
    ASSERT_NE(level.events[2].getButtonEventInfo(), nullptr);
    EXPECT_EQ(level.events[2].getButtonEventInfo()->getButtonNr(), 1);
    level.events.clear();
    replay.deliverEvents(1, level);
    EXPECT_TRUE(level.events.empty());
}

TEST_F(RaceRecording, WhatWasWrittenIsOnFileBeforeTheEnd)
{
    RaceRecorder recorder;
    ASSERT_TRUE(recorder.open(mPath));
    recorder.recordStart(1000);
    recorder.beginFrame(1016);
    recorder.recordEvent(RipplejetTest::buttonPress(1));
    recorder.endFrame();
    // A game that stops here keeps the frame it played.
    EXPECT_EQ(read(), "ripplejet-race 1\nstart 1000\nf 1016\nb 0 1\n");
}

TEST_F(RaceRecording, DamagedCutOrForeignFilesAreRefusedWithOneLine)
{
    recordTwoFrames(true);
    const std::string good = read();
    const auto replace = [&](const std::string& from, const std::string& to) {
        std::string text = good;
        text.replace(text.find(from), from.size(), to);
        return text;
    };
    const struct {
        std::string text;
        const char* reason;
    } cases[] = {
        {"", "not a recorded race"},
        {"PNG\r\n\x1a\n", "not a recorded race"},
        {replace("ripplejet-race 1", "ripplejet-race 2"), "version 2"},
        {replace("start 1000", "start"), "start line"},
        {good.substr(0, good.find("end")), "no end"},
        {good.substr(0, good.size() / 2), "cannot replay"},
        {replace("end 2", "end 3"), "counts 3 frames"},
        {replace("f 1033", "f 999"), "damaged"},
        {replace("b 0 1", "b 0 x"), "damaged"},
        {replace("m 0.0333", "m nan 0.0333"), "damaged"},
        {replace("k 0 0 119 0", "k 7 0 119 0"), "damaged"},
        {replace("won", "drawn"), "damaged"},
        {good + "f 2000\n", "after the end"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        write(c.text);
        RaceReplay replay;
        EXPECT_FALSE(replay.load(mPath));
        EXPECT_NE(replay.getError().find(c.reason), std::string::npos) << replay.getError();
        EXPECT_NE(replay.getError().find(mPath), std::string::npos) << replay.getError();
        EXPECT_EQ(replay.getError().find('\n'), std::string::npos);
        EXPECT_EQ(replay.getFrameCount(), 0u);
    }
    fs::remove(mPath);
    RaceReplay missing;
    EXPECT_FALSE(missing.load(mPath));
    EXPECT_NE(missing.getError().find("cannot be read"), std::string::npos);
}

TEST_F(RaceRecording, AFileThatCannotBeWrittenSaysWhy)
{
    RaceRecorder recorder;
    EXPECT_FALSE(recorder.open("/nonexistent-dir/race.rjr"));
    EXPECT_NE(recorder.getError().find("/nonexistent-dir/race.rjr"), std::string::npos);
    // Writing to a recorder that did not open does nothing.
    recorder.beginFrame(1);
    recorder.finish("lost", 0);
}

} // namespace
