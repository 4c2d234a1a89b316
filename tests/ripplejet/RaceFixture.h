#pragma once

#include "race/Timerace.h"

#include "core/VeltaCore.h"
#include "testkit/ManualClock.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace RipplejetTest {

/// The race loaded from the generated game data, without a window: a set-up
/// core working in the data's directory, sound into nothing, and a clock the
/// test sets. Frames run the level and the engine as the game's loop does.
class RaceFixture : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    /// Data files (e.g. "models/bumper.ms3d") the race is to be loaded
    /// without: the fixture then plays from a copy of the data directory
    /// that lacks them.
    virtual std::vector<std::string> missingFiles() const { return {}; }
    /// Data files cut to half their length in that copy.
    virtual std::vector<std::string> truncatedFiles() const { return {}; }

    static Velta::VeltaCore& core();

    /// One frame of the game's loop at `timestamp` (ms).
    void frame(long long timestamp);
    /// Frames every `step` ms from now on, for `milliseconds`.
    void runFor(long long milliseconds, long long step = 16);
    /// The left button, as the window manager hands it to the level.
    void click();
    /// Clicks and runs until the duck may move.
    void startRace(long long step = 16);
    /// Replaces the race with a new one, made, loaded and started as the
    /// game makes a new race.
    void newRace();
    /// Steers with the autopilot, a frame every `step` ms, until the race is
    /// over or `limit` ms have passed.
    void driveWithAutopilot(long long step, long long limit);

    long long now() const { return mNow; }
    /// What load() and start() wrote on the standard error and output.
    const std::string& getLoadLog() const { return mLoadLog; }
    const std::string& getLoadOutput() const { return mLoadOutput; }

    VeltaTest::ManualClock mClock;
    std::unique_ptr<Ripplejet::Timerace> race;

private:
    std::filesystem::path prepareData() const;

    std::filesystem::path mWorkingDirectory;
    std::filesystem::path mScratch;
    std::string mLoadLog;
    std::string mLoadOutput;
    long long mNow = 1000;
};

} // namespace RipplejetTest
