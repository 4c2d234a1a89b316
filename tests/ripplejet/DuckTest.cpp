// The duck on the real course without a window: floating, drifting, the
// simulation's steps, knocks, air and its vital values.
#include "RaceFixture.h"

#include "course/Course.h"
#include "duck/Duck.h"
#include "duck/DuckModifier.h"
#include "level/GameSound.h"
#include "level/Level.h"

#include "resource/ResourceManager.h"
#include "sound/SoundChannel.h"
#include "sound/SoundManager.h"
#include "water/Water.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

namespace {

using RipplejetTest::RaceFixture;
using Ripplejet::Duck;

class DuckOnCourse : public RaceFixture {
protected:
    /// The computer duck called `name` that starts nearest to (x, z).
    Duck& computerDuck(const std::string& name, float x, float z)
    {
        Duck* best = nullptr;
        float bestDistance = 1e9f;
        for (const auto& duck : race->getDucks()) {
            const Duck::Vec3 p = duck->getPosition();
            const float distance = std::hypot(p.x() - x, p.z() - z);
            if (duck->getDuckName() == name && duck.get() != race->getPlayerDuck() && distance < bestDistance) {
                best = duck.get();
                bestDistance = distance;
            }
        }
        return *best;
    }

    /// How far below the water's surface the duck's origin is.
    float depth(const Duck& duck)
    {
        const Duck::Vec3 p = duck.getPosition();
        return -race->getWater()->getDistance(Velta::Point(p.x(), p.y(), p.z()));
    }

    static bool isPlaying(const char* channel)
    {
        return Ripplejet::GameSound::isPlaying(core().getResourceManager().getSoundManager().getChannel(channel));
    }
};

TEST_F(DuckOnCourse, ComesToRestAtASteadyDepthOnTheWaterAndDriftsDownstream)
{
    // Dropped onto the river mid-course, 4 m above the water.
    Duck& duck = computerDuck("velta", 175, 270);
    const Duck::Vec3 dropped = duck.getPosition();
    runFor(4000);
    float low = 1e9f, high = -1e9f;
    for (int i = 0; i < 60; ++i) {
        runFor(50);
        low = std::min(low, depth(duck));
        high = std::max(high, depth(duck));
    }
    EXPECT_GT(low, -0.2f) << "floats in the water, not above it";
    EXPECT_LT(high, 0.3f) << "and does not sink";
    EXPECT_LT(high - low, 0.1f) << "no growing bounce";
    EXPECT_FALSE(duck.isUnderWater());

    // Carried down the river: sections 11 to 13 run toward +x.
    const Duck::Vec3 later = duck.getPosition();
    EXPECT_GT(later.x() - dropped.x(), 10.0f);
}

TEST_F(DuckOnCourse, CutsAFrameIntoStepsOfAtMostTwentyMilliseconds)
{
    using Ripplejet::DuckModifier;
    // A quarter of a second: twelve full steps and the rest.
    ASSERT_EQ(DuckModifier::countSteps(250), 13);
    for (int i = 0; i < 12; ++i) {
        EXPECT_FLOAT_EQ(DuckModifier::stepLength(250, i), 0.02f);
    }
    EXPECT_FLOAT_EQ(DuckModifier::stepLength(250, 12), 0.01f);
    // A frame of 60 a second is one step; one of exactly 20 ms leaves a
    // step of no length, which is not run; no time, no step.
    EXPECT_EQ(DuckModifier::countSteps(16), 1);
    EXPECT_FLOAT_EQ(DuckModifier::stepLength(16, 0), 0.016f);
    EXPECT_FLOAT_EQ(DuckModifier::stepLength(20, 1), 0.0f);
    EXPECT_EQ(DuckModifier::countSteps(0), 0);
    EXPECT_EQ(DuckModifier::countSteps(-5), 0);

    // And the real thing: twelve steps for a frame of 240 ms.
    startRace();
    DuckModifier& body = *race->getPlayerModifier();
    const long long before = body.getStepCount();
    frame(now() + 240);
    EXPECT_EQ(body.getStepCount() - before, 12) << "the step of no length is not run";
}

TEST_F(DuckOnCourse, PaysForKnocksInHealthAndSoundsThemByHowHardTheyAre)
{
    // A duck of its own: its channels are the ones kept under the names.
    Duck duck("mallard");
    duck.createNode();
    duck.hit(90);
    EXPECT_EQ(duck.getHealth(), 60) << "at most 40";
    EXPECT_TRUE(isPlaying("hitterrain"));
    EXPECT_FALSE(isPlaying("hitterrainlow"));

    Duck softer("mallard");
    softer.createNode();
    softer.hit(3);
    EXPECT_EQ(softer.getHealth(), 97);
    EXPECT_TRUE(isPlaying("hitterrainlow"));
    EXPECT_FALSE(isPlaying("hitterrain"));

    Duck gentle("mallard");
    gentle.createNode();
    gentle.hit(1.4f);
    EXPECT_EQ(gentle.getHealth(), 99) << "speed truncated";
    gentle.hit(1);
    EXPECT_EQ(gentle.getHealth(), 98);
    EXPECT_FALSE(isPlaying("hitterrainlow"));
    EXPECT_FALSE(isPlaying("hitterrain"));
}

TEST_F(DuckOnCourse, LosesOneHealthATenthOfASecondUnderWaterWithoutAirAndKeepsItsValuesInBounds)
{
    Duck duck("mallard");
    duck.createNode();
    duck.changeHealth(50);
    EXPECT_EQ(duck.getHealth(), 100);
    duck.changeOxygen(5);
    EXPECT_EQ(duck.getOxygen(), 100);
    duck.changeOxygen(-130);
    EXPECT_EQ(duck.getOxygen(), 0);
    EXPECT_EQ(duck.getHealth(), 70) << "the missing air comes out of health";

    duck.setUnderWater(true);
    long long t = 10000;
    duck.update(t); // the first update only starts the clock
    for (int i = 1; i <= 5; ++i) {
        t += 101;
        duck.update(t);
        EXPECT_EQ(duck.getHealth(), 70 - i);
        EXPECT_EQ(duck.getOxygen(), 0);
    }
    duck.update(t + 50);
    EXPECT_EQ(duck.getHealth(), 65) << "not before the tenth of a second is over";

    duck.setUnderWater(false);
    duck.update(t + 202);
    EXPECT_EQ(duck.getOxygen(), 1) << "breathing again above the water";
    duck.changeHealth(-1000);
    EXPECT_EQ(duck.getHealth(), 0);
}

/// The race with the sound "gibtsfragen.mp3" missing, so that its use shows.
class MeisterWithoutItsVoice : public RaceFixture {
protected:
    std::vector<std::string> missingFiles() const override { return {"sound/gibtsfragen.mp3"}; }
};

TEST_F(MeisterWithoutItsVoice, SaysMeisterOnceAndWouldSpeakItsOwnWords)
{
    EXPECT_EQ(getLoadOutput(), "Meister!");
    const std::string& log = getLoadLog();
    const std::size_t first = log.find("gibtsfragen.mp3");
    ASSERT_NE(first, std::string::npos) << log;
    EXPECT_EQ(log.find("gibtsfragen.mp3", first + 1), std::string::npos) << "one line:\n" << log;
    EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 1) << log;
    // The race runs without it.
    startRace();
    driveWithAutopilot(16, 3000);
    EXPECT_FALSE(race->isOver());
}

} // namespace
