// The race without a window, on the real course from the generated data:
// the start sequence, winning and losing, putting the duck back, and the
// autopilot winning at any frame rate.
#include "GameEvents.h"
#include "RaceFixture.h"

#include "course/Course.h"
#include "duck/Duck.h"
#include "duck/DuckFollower.h"
#include "duck/DuckModifier.h"
#include "race/Autopilot.h"
#include "app/GameClock.h"
#include "core/EventManager.h"
#include "scene/SceneManager.h"

#include "resource/RenderSettings.h"
#include "scene/Camera.h"
#include "scene/TransformationNode.h"
#include "terrain/TerrainTile.h"
#include "water/Water.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace {

using RipplejetTest::RaceFixture;
using State = Velta::LogicElement::State;

class Race : public RaceFixture {
protected:
    Ripplejet::Duck& duck() { return *race->getPlayerDuck(); }
    Ripplejet::DuckModifier& body() { return *race->getPlayerModifier(); }

    void press(unsigned short key)
    {
        Velta::InputEvent event = RipplejetTest::keyPress(key);
        race->processInputEvent(event);
    }

    float distanceTo(const Ripplejet::Course::Point3& point)
    {
        const Ripplejet::Duck::Vec3 p = duck().getPosition();
        return std::hypot(p.x() - point.x, p.y() - point.y, p.z() - point.z);
    }
};

TEST_F(Race, ShowsReadyThenGoOnTheFirstClickAndLetsTheDuckGoASecondLater)
{
    EXPECT_EQ(race->getMessage().getImage(), "overlays\\ready.png");
    EXPECT_TRUE(race->getMessage().isShown());
    frame(2000);
    runFor(500); // the duck is held in the air, however long the player waits
    EXPECT_EQ(body().getState(), State::IDLE);
    EXPECT_LT(distanceTo(Ripplejet::Course::PLAYER_START), 1e-4f);

    click();
    EXPECT_EQ(race->getMessage().getImage(), "overlays\\go.png");
    frame(now() + 400);
    EXPECT_FLOAT_EQ(race->getMessage().getOpacity(), 1.0f);
    frame(now() + 200);
    EXPECT_NEAR(race->getMessage().getOpacity(), 0.5f, 1e-6f) << "fading after 400 ms";
    const long long go = race->getGoTime();
    frame(go + 999);
    EXPECT_EQ(body().getState(), State::IDLE);
    EXPECT_FALSE(race->isRunning());

    click(); // while "go" shows: uses an item (there is none), starts nothing again
    EXPECT_EQ(race->getGoTime(), go);
    frame(go + 1001);
    EXPECT_TRUE(race->isRunning());
    EXPECT_EQ(body().getState(), State::ACTIVE);
    EXPECT_FALSE(race->getMessage().isShown());
    frame(go + 1017);
    frame(go + 1033);
    EXPECT_LT(duck().getPosition().y(), Ripplejet::Course::PLAYER_START.y) << "it falls onto the water";
}

TEST_F(Race, IsLostWhenTheDuckLosesAllItsHealthOrLeavesTheValley)
{
    startRace();
    duck().changeHealth(-60);
    EXPECT_FALSE(race->isOver());
    duck().changeHealth(-60);
    EXPECT_EQ(duck().getHealth(), 0);
    ASSERT_TRUE(race->isOver());
    EXPECT_EQ(race->getMessage().getImage(), "overlays\\gameover.png");
    EXPECT_TRUE(race->getFollower()->isLookingBack());
    // The end message fades in.
    EXPECT_FLOAT_EQ(race->getMessage().getOpacity(), 0.0f);
    runFor(200);
    EXPECT_NEAR(race->getMessage().getOpacity(), 0.48f, 0.05f);
    runFor(400);
    EXPECT_FLOAT_EQ(race->getMessage().getOpacity(), 1.0f);

    press('r');
    EXPECT_FALSE(race->isOver());
    EXPECT_EQ(duck().getHealth(), 0) << "putting the duck back heals nothing";
    duck().changeHealth(100);
    Velta::TransformationNode& place = *duck().getTransformationNode();
    place.reset();
    place.translate(Ripplejet::Course::TILE_SIZE + 20.0f, 30.0f, 200.0f, false);
    body().resetBody();
    frame(now() + 16);
    EXPECT_TRUE(race->isOver()) << "off the valley there is nothing to float on";
    EXPECT_EQ(race->getMessage().getImage(), "overlays\\gameover.png");
    // It stops where it last was in the valley instead of falling for ever.
    runFor(3000);
    EXPECT_GT(duck().getPosition().y(), 10.0f);
    EXPECT_LT(distanceTo(Ripplejet::Course::RESET_POINT), 40.0f);
}

TEST_F(Race, EndsOnceAndRPutsTheDuckBackWithoutEndingItAgainAtTheFinish)
{
    startRace();
    duck().passStart(now());
    duck().passFinish(now() + 5000);
    ASSERT_TRUE(race->isOver());
    EXPECT_EQ(race->getMessage().getImage(), "overlays\\yes.png");
    EXPECT_EQ(duck().getFinishTime() - duck().getStartTime(), 5000);

    duck().changeHealth(-100);
    EXPECT_EQ(race->getMessage().getImage(), "overlays\\yes.png") << "only the first end counts";

    duck().changeHealth(100);
    press('r');
    EXPECT_FALSE(race->isOver());
    EXPECT_FALSE(race->getMessage().isShown());
    EXPECT_FALSE(race->getFollower()->isLookingBack());
    EXPECT_LT(distanceTo(Ripplejet::Course::RESET_POINT), 1e-4f);
    duck().passFinish(now() + 9000);
    EXPECT_FALSE(race->isOver()) << "the finish time stays set";
    EXPECT_EQ(duck().getFinishTime() - duck().getStartTime(), 5000);

    press('c');
    EXPECT_LT(distanceTo(Ripplejet::Course::NEAR_FINISH_POINT), 1e-4f);
    testing::internal::CaptureStdout();
    press('p');
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Position: 450.2, 23, 215\n");
}

TEST_F(Race, UnderTheWaterTheCameraSeesTheRiverBedPlainAndThroughFog)
{
    // Mid-river at a cross section, well under the surface and well above it.
    const Ripplejet::Course::CrossSection& cut = Ripplejet::Course::crossSections()[20];
    const Velta::Point middle((cut.left.x + cut.right.x) / 2, cut.left.y, (cut.left.z + cut.right.z) / 2);
    const float surface = race->getWater()->getSurfacePoint(middle).y();
    Velta::Terrain::Tile& tile = *race->getTerrain()->getTile(0, 0);
    const auto lookFrom = [this](float height, const Velta::Point& at) {
        Velta::Point position(at.x(), height, at.z());
        float angle = 0.0f;
        race->getFollower()->checkPosition(position, {0.0f, 0.0f, 1.0f}, angle, position, 0.016f, now());
        return race->getCamera()->getCamSettings().getRenderSettings()->useFog();
    };
    EXPECT_TRUE(lookFrom(surface - 3.0f, middle));
    EXPECT_FALSE(tile.isCoverShown());
    EXPECT_FALSE(lookFrom(surface + 3.0f, middle));
    EXPECT_TRUE(tile.isCoverShown());
}

TEST_F(Race, AFreshRaceAfterALostOneAndAfterAWonOneCanBeWonAgain)
{
    startRace();
    runFor(2000);
    duck().changeHealth(-200);
    ASSERT_EQ(race->getRaceResult(), std::string("lost"));
    const std::size_t modifiers = core().getEventManager().getProcessList()->size();
    for (const char* before : {"lost", "won"}) {
        SCOPED_TRACE(std::string("after a race ") + before);
        newRace();
        // Everything as at the first start, and the old course is gone.
        EXPECT_EQ(race->getMessage().getImage(), "overlays\\ready.png");
        EXPECT_EQ(race->getRaceResult(), std::string("unfinished"));
        EXPECT_EQ(duck().getHealth(), 100);
        EXPECT_LT(distanceTo(Ripplejet::Course::PLAYER_START), 1e-4f);
        EXPECT_EQ(core().getSceneManager().getSceneGraphCount(), 1);
        EXPECT_EQ(core().getSceneManager().getOverlayCount(), 1);
        EXPECT_EQ(core().getEventManager().getProcessList()->size(), modifiers) << "the old race's are gone";
        startRace(100);
        driveWithAutopilot(100, 400000);
        EXPECT_EQ(race->getRaceResult(), std::string("won"));
        EXPECT_GT(race->getRaceTime(), 100000);
    }

    // Past the finish the autopilot lets go and the duck drifts on down the
    // river into the backwater, where it stays; r sets the autopilot going
    // again.
    Ripplejet::Autopilot pilot(*race, body(), race.get());
    for (int second = 0; second < 240; ++second) {
        for (int i = 0; i < 10; ++i) {
            pilot.update(now() + 100);
            frame(now() + 100);
        }
        EXPECT_EQ(body().getControl(Ripplejet::DuckModifier::FORWARD), 0.0f);
        EXPECT_NEAR(body().getYaw(), 0.0f, 1e-3f);
        ASSERT_GT(duck().getPosition().y(), 10.0f) << "at " << second << " s after the finish";
    }
    EXPECT_LT(std::hypot(duck().getPosition().x() - 60.0f, duck().getPosition().z() - 330.0f), 40.0f);
    press('r');
    pilot.update(now() + 100);
    EXPECT_EQ(body().getControl(Ripplejet::DuckModifier::FORWARD), 1.0f);
}

TEST_F(Race, TheAutopilotRacesOnWhenTheDuckIsPutNearTheFinish)
{
    // As the soak does: c in the middle of a race, the same pilot driving on.
    startRace();
    Ripplejet::Autopilot pilot(*race, body(), race.get());
    const auto driveFor = [&](long long milliseconds) {
        for (const long long end = now() + milliseconds; !race->isOver() && now() < end;) {
            pilot.update(now() + 16);
            frame(now() + 16);
        }
    };
    driveFor(20000);
    press('c');
    driveFor(120000);
    EXPECT_EQ(race->getRaceResult(), std::string("won")) << "the duck ended at " << duck().getPosition().x() << ", "
                                                         << duck().getPosition().z();
}

/// The game's clock over a wall clock the test moves: what the race sees
/// while the game is paused.
class PausedRace : public Race {
protected:
    static long long wall() { return sWall; }
    /// One frame after `milliseconds` of wall time.
    void wallFrame(long long milliseconds)
    {
        sWall += milliseconds;
        frame(mGameClock.beginFrame());
    }
    void wallFrames(long long milliseconds)
    {
        for (long long t = 0; t < milliseconds; t += 16) {
            wallFrame(16);
        }
    }

    static inline long long sWall = 0;
    // Set before the clock first reads it: the race is made at 1000 ms.
    long long mWallStart = (sWall = 1000);
    Ripplejet::GameClock mGameClock{&PausedRace::wall};
};

TEST_F(PausedRace, KeepsItsTimeAndPositionsAcrossTenSecondsOfWallTime)
{
    wallFrame(16);
    click();
    wallFrames(Ripplejet::Timerace::GO_LENGTH + 3000);
    ASSERT_TRUE(race->isRunning());
    Velta::InputEvent forward = RipplejetTest::keyPress('w');
    race->processInputEvent(forward);
    wallFrames(500);
    const long long raceTime = race->getRaceTime();
    const Ripplejet::Duck::Vec3 position = duck().getPosition();
    const Ripplejet::Duck::Vec3 drifter = race->getDucks().back()->getPosition();

    mGameClock.setPaused(true);
    wallFrames(10000);
    EXPECT_EQ(race->getRaceTime(), raceTime);
    EXPECT_EQ(duck().getPosition(), position);
    EXPECT_EQ(race->getDucks().back()->getPosition(), drifter);

    mGameClock.setPaused(false);
    wallFrame(16);
    EXPECT_EQ(race->getRaceTime(), raceTime + 16) << "the pause is not part of the race";
    EXPECT_LT(std::hypot(duck().getPosition().x() - position.x(), duck().getPosition().z() - position.z()), 1.0f);
}

TEST_F(PausedRace, APauseDuringGoDelaysTheStartByItsLength)
{
    wallFrame(16);
    click();
    wallFrames(496);
    mGameClock.setPaused(true);
    wallFrames(5000);
    EXPECT_FALSE(race->isRunning());
    mGameClock.setPaused(false);
    wallFrames(400);
    EXPECT_FALSE(race->isRunning()) << "900 ms of game time after the click";
    wallFrames(200);
    EXPECT_TRUE(race->isRunning());
}

/// The autopilot from the click to the finish, a frame every so many ms.
class RaceAtFrameRate : public Race, public testing::WithParamInterface<int> {};

TEST_P(RaceAtFrameRate, IsWonByTheAutopilotFromTheStartBannerToTheFinishBanner)
{
    const long long step = GetParam();
    startRace(step);
    driveWithAutopilot(step, 400000);
    ASSERT_TRUE(race->isOver()) << "still racing after 400 s at " << step << " ms a frame";
    EXPECT_EQ(race->getMessage().getImage(), "overlays\\yes.png");
    EXPECT_GT(duck().getStartTime(), race->getGoTime());
    EXPECT_GT(duck().getHealth(), 0);
    const long long raceTime = duck().getFinishTime() - duck().getStartTime();
    // Between the banners the river is about 1.6 km long.
    EXPECT_GT(raceTime, 100000);
    RecordProperty("race_time_ms", std::to_string(raceTime));
    std::cout << "[ race time  ] " << raceTime << " ms at " << step << " ms a frame\n";
}

// 144, 60, 30 and 10 frames a second.
INSTANTIATE_TEST_SUITE_P(FramesOf, RaceAtFrameRate, testing::Values(7, 16, 33, 100),
                         [](const testing::TestParamInfo<int>& info) { return std::to_string(info.param) + "ms"; });

} // namespace
