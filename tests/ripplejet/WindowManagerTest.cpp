// The window manager in a real window on the virtual display: hot keys,
// the frame loop, pointer wrapping, routing and the full-screen toggle.
#include "GameEvents.h"

#include "core/ProcessManager.h"
#include "core/TimerManager.h"
#include "input/InputManager.h"
#include "input/KeyEventInfo.h"
#include "input/MoveEventInfo.h"
#include "input/SysWMEventInfo.h"
#include "render/RenderManager.h"
#include "render/RenderTarget.h"
#include "render/RenderWindow.h"
#include "render/Viewport.h"
#include "resource/RenderSettings.h"
#include "level/Level.h"
#include "app/Menu.h"
#include "app/GameClock.h"
#include "app/WindowManager.h"
#include "scene/Camera.h"
#include "support/CoreFixture.h"
#include "testkit/ManualClock.h"
#include "testkit/VirtualDisplay.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace {

using Ripplejet::WindowManager;
using RipplejetTest::buttonPress;
using RipplejetTest::keyPress;
using RipplejetTest::keyRelease;
using RipplejetTest::pointerAt;
using RipplejetTest::quitRequest;
using Velta::KeyEventInfo;

constexpr unsigned short KEY_A = 97;

/// A menu that keeps a copy of every event it is given.
class RecordingMenu : public Ripplejet::Menu {
public:
    bool processInputEvent(Velta::InputEvent& event) override
    {
        events.push_back(event);
        return true;
    }

    std::vector<Velta::InputEvent> events;
};

/// A level that keeps a copy of every event it is given, loads as told and
/// runs `onUpdate` every frame with the frame's number (from 1) and
/// timestamp, up to 40 frames. Its camera has render settings of its own.
class RecordingLevel : public Ripplejet::Level {
public:
    RecordingLevel()
    {
        camera->getCamSettings().setRenderSettings(
            CppLib::SharedPtr<Velta::RenderSettings>(new Velta::RenderSettings()));
    }

    bool processInputEvent(Velta::InputEvent& event) override
    {
        events.push_back(event);
        return true;
    }
    bool load() override { return loads; }
    void start() override { ++starts; }
    CppLib::SharedPtr<Velta::Camera> getCamera() override { return camera; }
    void update(long long timestamp) override
    {
        if (++frames > 40) {
            windows->quit(); // in case the test's script never ends the loop
        } else if (onUpdate) {
            onUpdate(frames, timestamp);
        }
    }

    bool loads = true;
    int starts = 0;
    int frames = 0;
    std::function<void(int frame, long long timestamp)> onUpdate;
    std::vector<Velta::InputEvent> events;
    CppLib::SharedPtr<Velta::Camera> camera{new Velta::Camera("level camera")};
    Ripplejet::WindowManager* windows = nullptr;
};

class WindowManagerTest : public VeltaTest::CoreFixture {
protected:
    void SetUp() override
    {
        VELTA_REQUIRE_DISPLAY();
        setenv("LIBGL_ALWAYS_SOFTWARE", "1", 0);
        CoreFixture::SetUp();
        mStarted = true;
        core().getTimerManager().registerTimerPlugin(clock);
        core().setup(true);
        core().getRenderManager().initializeRenderer(false);
        menu = std::make_unique<RecordingMenu>();
        level = std::make_unique<RecordingLevel>();
        windows = std::make_unique<WindowManager>();
        ASSERT_TRUE(windows->init());
        windows->setMenu(menu.get());
        windows->setLevel(level.get());
        level->windows = windows.get();
    }

    void TearDown() override
    {
        windows.reset();
        level.reset();
        menu.reset();
        if (mStarted) {
            CoreFixture::TearDown();
        }
    }

    /// Dispatched as the input manager dispatches a polled event.
    void send(Velta::InputEvent event) { core().getInputManager().triggerInputEvent(event); }

    /// The last move the level was given, as (x, y).
    std::pair<float, float> lastLevelMove() const
    {
        const Velta::MoveEventInfo* move = level->events.back().getMoveEventInfo();
        EXPECT_NE(move, nullptr);
        return move ? std::make_pair(move->getX(), move->getY()) : std::make_pair(-1.0f, -1.0f);
    }

    VeltaTest::ManualClock clock;
    std::unique_ptr<RecordingMenu> menu;
    std::unique_ptr<RecordingLevel> level;
    std::unique_ptr<WindowManager> windows;

private:
    bool mStarted = false;
};

TEST_F(WindowManagerTest, HotKeysActOnlyWithoutShiftCtrlAltMetaOrCapsLock)
{
    const unsigned short blocking[] = {KeyEventInfo::MOD_LSHIFT, KeyEventInfo::MOD_RSHIFT, KeyEventInfo::MOD_LCTRL,
                                       KeyEventInfo::MOD_RCTRL,  KeyEventInfo::MOD_LALT,   KeyEventInfo::MOD_RALT,
                                       KeyEventInfo::MOD_LMETA,  KeyEventInfo::MOD_RMETA,  KeyEventInfo::MOD_CAPS};
    for (unsigned short modifier : blocking) {
        send(keyPress(KeyEventInfo::KEY_F2, modifier | KeyEventInfo::MOD_NUM));
        EXPECT_FALSE(windows->isShowingStats()) << "modifier " << modifier;
    }
    // Not hot keys, so they went on to the menu.
    EXPECT_EQ(menu->events.size(), sizeof(blocking) / sizeof(blocking[0]));

    send(keyRelease(KeyEventInfo::KEY_F2));
    EXPECT_FALSE(windows->isShowingStats());
    send(keyPress(KeyEventInfo::KEY_F2, KeyEventInfo::MOD_NUM));
    EXPECT_TRUE(windows->isShowingStats());
    send(keyPress(KeyEventInfo::KEY_F2, KeyEventInfo::MOD_MODE));
    EXPECT_FALSE(windows->isShowingStats());
    EXPECT_EQ(menu->events.size(), sizeof(blocking) / sizeof(blocking[0]) + 1) << "only the release went on";
}

TEST_F(WindowManagerTest, EscapeOrACloseRequestEndsTheLoopAfterTheFrame)
{
    level->onUpdate = [this](int frame, long long) {
        if (frame == 1) {
            send(keyPress(KeyEventInfo::KEY_ESCAPE, KeyEventInfo::MOD_LSHIFT));
            send(keyPress(KeyEventInfo::KEY_ESCAPE, KeyEventInfo::MOD_CAPS));
        } else if (frame == 2) {
            send(keyPress(KeyEventInfo::KEY_ESCAPE, KeyEventInfo::MOD_NUM));
        }
    };
    windows->run();
    EXPECT_EQ(level->frames, 2);
    EXPECT_FALSE(windows->isRunning());

    level->frames = 0;
    level->onUpdate = [this](int frame, long long) {
        if (frame == 3) {
            send(quitRequest());
        }
    };
    windows->run();
    EXPECT_EQ(level->frames, 3) << "the level is updated every frame, started or not";
}

TEST_F(WindowManagerTest, F2ReportsFramesOnceASecondUntilPressedAgain)
{
    // 250 ms a frame; the clock starts at 1000.
    level->onUpdate = [this](int frame, long long) {
        clock.advance(250);
        if (frame == 1 || frame == 10) {
            send(keyPress(KeyEventInfo::KEY_F2));
        } else if (frame == 14) {
            windows->quit();
        }
    };
    testing::internal::CaptureStderr();
    windows->run();
    std::istringstream output(testing::internal::GetCapturedStderr());
    std::vector<std::string> reports;
    for (std::string line; std::getline(output, line);) {
        if (line.rfind("FPS: ", 0) == 0) {
            reports.push_back(line);
        }
    }
    // At once when switched on (nothing counted yet), then every four frames,
    // the reporting frame counted in the next second.
    EXPECT_EQ(reports, (std::vector<std::string>{"FPS: 0", "FPS: 4", "FPS: 4"}));
}

TEST_F(WindowManagerTest, F3CyclesTheLevelCamerasShadingAndIgnoresAMissingCamera)
{
    send(keyPress(KeyEventInfo::KEY_F3));
    ASSERT_TRUE(windows->startLevel());
    using Velta::RenderSettings;
    const RenderSettings::ShadingMode expected[] = {RenderSettings::SHADE_POINTS, RenderSettings::SHADE_WIREFRAME,
                                                    RenderSettings::SHADE_FLAT, RenderSettings::SHADE_SMOOTH};
    for (RenderSettings::ShadingMode mode : expected) {
        send(keyPress(KeyEventInfo::KEY_F3));
        EXPECT_EQ(level->camera->getCamSettings().getRenderSettings()->getShadingMode(), mode);
    }
}

TEST_F(WindowManagerTest, InputGoesToTheMenuUntilTheLevelHasLoadedAndStartedThenToTheLevel)
{
    level->loads = false;
    EXPECT_FALSE(windows->startLevel());
    EXPECT_EQ(level->starts, 0);
    EXPECT_TRUE(windows->getMenuViewport()->isEnabled());
    send(pointerAt(100, 200));
    send(keyPress(KEY_A));
    send(buttonPress(1));
    ASSERT_EQ(menu->events.size(), 3u);
    const Velta::MoveEventInfo* move = menu->events[0].getMoveEventInfo();
    ASSERT_NE(move, nullptr);
    EXPECT_EQ(move->getX(), 100.0f) << "moves reach the menu as they came";
    EXPECT_EQ(move->getY(), 200.0f);
    EXPECT_TRUE(level->events.empty());

    level->loads = true;
    ASSERT_TRUE(windows->startLevel());
    EXPECT_TRUE(windows->isLevelActive());
    EXPECT_EQ(level->starts, 1);
    EXPECT_FALSE(windows->getMenuViewport()->isEnabled());
    EXPECT_EQ(windows->getLevelViewport()->getCamera().get(), level->camera.get());
    send(keyPress(KEY_A));
    send(buttonPress(1));
    send(keyPress(KeyEventInfo::KEY_F2));
    EXPECT_EQ(level->events.size(), 2u);
    EXPECT_EQ(menu->events.size(), 3u);
}

TEST_F(WindowManagerTest, AGrabbedPointerWrapsAtTheEdgesAndTheWarpsMoveIsSwallowed)
{
    ASSERT_TRUE(windows->startLevel());
    ASSERT_TRUE(windows->isMouseGrabbed());
    const float spanX = 1024 - 40;
    const float spanY = 768 - 40;

    send(pointerAt(10, 300));
    EXPECT_EQ(windows->getWrapX(), -1);
    EXPECT_FLOAT_EQ(lastLevelMove().first, (10 + spanX) / spanX - 1);
    EXPECT_FLOAT_EQ(lastLevelMove().second, 300 / spanY);

    send(pointerAt(10 + spanX, 300)); // where the pointer was warped to
    EXPECT_EQ(level->events.size(), 1u);
    send(pointerAt(600, 300));
    ASSERT_EQ(level->events.size(), 2u);
    EXPECT_FLOAT_EQ(lastLevelMove().first, 600 / spanX - 1);

    send(pointerAt(500, 760));
    EXPECT_EQ(windows->getWrapY(), 1);
    EXPECT_FLOAT_EQ(lastLevelMove().second, (760 - spanY) / spanY + 1);
    send(pointerAt(500, 760 - spanY));
    EXPECT_EQ(level->events.size(), 3u);

    // Released with u: the edges no longer wrap, the wraps made still count.
    send(keyPress(KeyEventInfo::KEY_U));
    EXPECT_FALSE(windows->isMouseGrabbed());
    send(pointerAt(5, 300));
    send(pointerAt(6, 300));
    ASSERT_EQ(level->events.size(), 5u);
    EXPECT_EQ(windows->getWrapX(), -1);
    EXPECT_FLOAT_EQ(lastLevelMove().first, 6 / spanX - 1);
}

TEST_F(WindowManagerTest, TTwiceReturnsToTheFullScreenWindowWithTheSameViewportsAndCameras)
{
    ASSERT_TRUE(windows->startLevel());
    const CppLib::SharedPtr<Velta::RenderTarget> target = windows->getRenderTarget();
    for (const bool fullScreen : {false, true}) {
        send(keyPress(KeyEventInfo::KEY_T));
        Velta::RenderWindow* window = windows->getWindow();
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(window->isFullscreen(), fullScreen);
        EXPECT_EQ(window->getWidth(), fullScreen ? 1024 : 800);
        EXPECT_EQ(window->getHeight(), fullScreen ? 768 : 600);
        EXPECT_EQ(core().getRenderManager().getRenderWindowCount(), 1u);
        ASSERT_EQ(window->getRenderTarget().get(), target.get());
        core().getProcessManager().update(true);
    }
    // The level's viewport under the menu's, both over the whole window.
    ASSERT_EQ(target->getViewportCount(), 2);
    EXPECT_EQ(target->getViewport(0).get(), windows->getLevelViewport().get());
    EXPECT_EQ(target->getViewport(1).get(), windows->getMenuViewport().get());
    EXPECT_EQ(windows->getLevelViewport()->getCamera().get(), level->camera.get());
    EXPECT_EQ(windows->getLevelViewport()->getWidth(800), 800);
}

TEST_F(WindowManagerTest, PauseOrLosingTheFocusStopsTheClockFreesThePointerAndKeepsInputFromTheLevel)
{
    Ripplejet::GameClock gameClock;
    windows->setClock(&gameClock);
    ASSERT_TRUE(windows->startLevel());
    Velta::InputEvent focusLost(0);
    focusLost.setSysWM(Velta::SysWMEventInfo::SYSWM_FOCUS_LOST);
    for (Velta::InputEvent pause : {keyPress(KeyEventInfo::KEY_PAUSE), focusLost}) {
        SCOPED_TRACE(pause.getEventType());
        level->events.clear();
        send(pause);
        EXPECT_TRUE(windows->isPaused());
        EXPECT_TRUE(gameClock.isPaused());
        EXPECT_FALSE(windows->isMouseGrabbed());
        EXPECT_EQ(windows->getNotice().getImage(), "overlays\\paused.png");
        send(keyPress(KEY_A));
        send(pointerAt(300, 300));
        send(focusLost); // still paused, once
        EXPECT_TRUE(level->events.empty()) << "a paused race hears nothing";

        // A click takes the game back and is not the level's.
        send(buttonPress(1));
        EXPECT_FALSE(windows->isPaused());
        EXPECT_FALSE(gameClock.isPaused());
        EXPECT_TRUE(windows->isMouseGrabbed());
        EXPECT_TRUE(level->events.empty());
        send(keyPress(KEY_A));
        EXPECT_EQ(level->events.size(), 1u);
    }
    send(keyPress(KeyEventInfo::KEY_PAUSE));
    send(keyPress(KeyEventInfo::KEY_PAUSE));
    EXPECT_FALSE(windows->isPaused()) << "Pause again goes on";

    // F1 shows the help over everything and pauses meanwhile.
    send(keyPress(KeyEventInfo::KEY_F1));
    EXPECT_TRUE(windows->isHelpShown());
    EXPECT_TRUE(gameClock.isPaused());
    EXPECT_EQ(windows->getNotice().getImage(), "overlays\\help.png");
    EXPECT_FALSE(windows->isMouseGrabbed());
    send(keyPress(KeyEventInfo::KEY_F1));
    EXPECT_FALSE(windows->isHelpShown());
    EXPECT_FALSE(windows->isPaused());
    EXPECT_TRUE(windows->isMouseGrabbed());
    // Over a pause it leaves the pause as it found it.
    send(keyPress(KeyEventInfo::KEY_PAUSE));
    send(keyPress(KeyEventInfo::KEY_F1));
    send(keyPress(KeyEventInfo::KEY_F1));
    EXPECT_TRUE(windows->isPaused());
    EXPECT_EQ(windows->getNotice().getImage(), "overlays\\paused.png");
    EXPECT_FALSE(windows->isMouseGrabbed());
}

TEST_F(WindowManagerTest, EnterStartsANewRaceBetweenFramesNotInTheMiddleOfOne)
{
    ASSERT_TRUE(windows->startLevel());
    std::vector<int> newRaces;
    windows->setNewRaceHandler([&] { newRaces.push_back(level->frames); });
    level->onUpdate = [&](int frame, long long) {
        if (frame == 2) {
            send(keyPress(KeyEventInfo::KEY_RETURN));
            EXPECT_TRUE(newRaces.empty()) << "not while the level is in use";
        } else if (frame == 4) {
            send(keyPress(KeyEventInfo::KEY_RETURN, KeyEventInfo::MOD_LCTRL));
        } else if (frame == 6) {
            windows->quit();
        }
    };
    windows->run();
    EXPECT_EQ(newRaces, std::vector<int>{2}) << "once, after the frame it was asked in; Ctrl+Enter is the level's";
}

} // namespace
