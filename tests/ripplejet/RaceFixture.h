#pragma once

#include "race/Timerace.h"

#include "core/VeltaCore.h"

#include "support/ManualClock.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

namespace RipplejetTest {

/// The race loaded from the generated game data, without a window: a set-up
/// core working in the data's directory, sound into nothing, and a clock the
/// test sets. Frames run the level and the engine as the game's loop does.
class RaceFixture : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    static Velta::VeltaCore& core();

    /// One frame of the game's loop at `timestamp` (ms).
    void frame(long long timestamp);
    /// Frames every `step` ms from the clock's time on, for `milliseconds`.
    void runFor(long long milliseconds, long long step = 16);
    /// The left button, as the window manager hands it to the level.
    void click();
    /// Clicks and runs until the duck may move.
    void startRace(long long step = 16);

    long long now() const { return mNow; }

    VeltaTest::ManualClock mClock;
    std::unique_ptr<Ripplejet::Timerace> race;

private:
    std::filesystem::path mWorkingDirectory;
    long long mNow = 1000;
};

} // namespace RipplejetTest
