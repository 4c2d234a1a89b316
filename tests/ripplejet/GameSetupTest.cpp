// The game's pieces without a window: a window that cannot be opened, and
// the title scene built from the generated game data.
#include "GameEvents.h"

#include "core/ProcessManager.h"
#include "title/DemoLevel.h"
#include "title/DemoScenery.h"
#include "title/DemoValley.h"
#include "app/WindowManager.h"
#include "scene/Camera.h"
#include "terrain/Terrain.h"
#include "water/Water.h"
#include "support/CoreFixture.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace {

using RipplejetTest::buttonPress;
using RipplejetTest::pointerAt;

constexpr float PI = 3.1415927f;

class WindowManagerWithoutRenderer : public VeltaTest::CoreFixture {};

TEST_F(WindowManagerWithoutRenderer, ReportsTheWindowItCannotOpen)
{
    Ripplejet::WindowManager windows;
    testing::internal::CaptureStderr();
    EXPECT_FALSE(windows.init());
    const std::string log = testing::internal::GetCapturedStderr();
    EXPECT_NE(log.find("Cannot open the 1024 x 768 full-screen window \"Ripplejet\"\n"), std::string::npos) << log;
    EXPECT_EQ(windows.getWindow(), nullptr);
}

/// A set-up core working in the directory the game's data is generated in.
class TitleScene : public VeltaTest::SetUpCoreFixture {
protected:
    void SetUp() override
    {
        std::filesystem::current_path(RIPPLEJET_BIN_DIR);
        SetUpCoreFixture::SetUp();
    }

    void TearDown() override
    {
        SetUpCoreFixture::TearDown();
        std::filesystem::current_path(mWorkingDirectory);
    }

private:
    std::filesystem::path mWorkingDirectory = std::filesystem::current_path();
};

TEST_F(TitleScene, FindsEveryModelAndImageAndTheSceneryMatchesTheValleyItSitsOn)
{
    Ripplejet::DemoLevel level;
    EXPECT_TRUE(level.getCamera().isNull());
    testing::internal::CaptureStderr();
    ASSERT_TRUE(level.load());
    level.start();
    const std::string log = testing::internal::GetCapturedStderr();
    EXPECT_EQ(log, "") << "every file is there";
    ASSERT_NE(level.getScenery(), nullptr);
    EXPECT_EQ(level.getScenery()->getMissingModelCount(), 0);
    EXPECT_GE(level.getScenery()->getModelCount(), 20);
    ASSERT_FALSE(level.getCamera().isNull());
    EXPECT_NE(level.getCamera()->getOverlay(), nullptr);
    EXPECT_TRUE(level.isSignShown());
    EXPECT_TRUE(level.load()) << "a second load changes nothing";

    core().getProcessManager().update(true); // places the terrain and the water
    const Ripplejet::DemoValley& valley = level.getScenery()->getValley();
    ASSERT_NE(valley.getTerrain(), nullptr);
    ASSERT_NE(valley.getWater(), nullptr);
    const float points[][2] = {{0, 0}, {-8.6f, 8}, {5, -13}, {30, 13}, {-60, 40}, {90, -70}, {-100, 100}};
    for (const auto& p : points) {
        const float x = p[0];
        const float z = Ripplejet::DemoValley::getRiverCentre(x) + p[1];
        const float ground = -valley.getTerrain()->getDistance(Velta::Point(x, 0, z));
        EXPECT_NEAR(ground, Ripplejet::DemoValley::getGroundHeight(x, z), 0.3f) << "at " << x << ", " << z;
    }
    // The ducks float on water that carries them downstream (+x).
    const Velta::Point duck(1.5f, 0.0f, Ripplejet::DemoValley::getRiverCentre(1.5f));
    EXPECT_LT(valley.getWater()->getDistance(duck), 0.0f);
    EXPECT_GT(valley.getWater()->getVelocity(duck).x(), 1.0f);
    EXPECT_GT(valley.getTerrain()->getDistance(duck), 0.5f) << "the river bed lies well below the water";
}

TEST_F(TitleScene, ThePointerTurnsTheCameraAndAClickShowsGoForASecond)
{
    Ripplejet::DemoLevel level;
    ASSERT_TRUE(level.load());
    level.start();
    // Half a window span to the right and forty down.
    Velta::InputEvent first = pointerAt(0.5f, 0.5f);
    Velta::InputEvent second = pointerAt(1.0f, 40.0f);
    level.processInputEvent(first);
    level.processInputEvent(second);
    level.update(5000);
    EXPECT_NEAR(level.getCameraYaw(), 0.75f - PI / 2, 1e-4f) << "a quarter turn from where it starts";
    EXPECT_LT(level.getCameraPitch(), PI / 2) << "however far the pointer goes down";

    Velta::InputEvent click = buttonPress(1);
    level.processInputEvent(click);
    level.update(6000);
    EXPECT_TRUE(level.isSignShown());
    level.update(6001);
    EXPECT_FALSE(level.isSignShown());
}

} // namespace
