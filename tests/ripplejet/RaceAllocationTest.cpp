// A steady frame of the race allocates nothing: the game's window manager
// with its full-screen window and the race, driven through SDL's event queue
// as a player would (the forward key held, the pointer moved every frame),
// drawn by the software renderer. Nor does a sign: every image the race may
// show in the middle of the screen is read before it starts.
#include "app/Menu.h"
#include "app/WindowManager.h"
#include "race/Timerace.h"

#include "core/ProcessManager.h"
#include "core/TimerManager.h"
#include "core/VeltaCore.h"
#include "render/RenderManager.h"
#include "resource/ResourceManager.h"
#include "resource/TextureManager.h"
#include "support/AllocationCounter.h"
#include "support/CoreFixture.h"
#include "testkit/ManualClock.h"
#include "testkit/VirtualDisplay.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

namespace {

class RaceAllocation : public VeltaTest::CoreFixture {
protected:
    void SetUp() override
    {
        VELTA_REQUIRE_DISPLAY();
        setenv("LIBGL_ALWAYS_SOFTWARE", "1", 0);
        setenv("ALSOFT_DRIVERS", "null", 0);
        std::filesystem::current_path(RIPPLEJET_BIN_DIR);
        CoreFixture::SetUp();
        mStarted = true;
        core().getTimerManager().registerTimerPlugin(clock);
        core().setup(true);
        core().getRenderManager().initializeRenderer(false);
        windows = std::make_unique<Ripplejet::WindowManager>();
        ASSERT_TRUE(windows->init());
        menu = std::make_unique<Ripplejet::Menu>();
        windows->setMenu(menu.get());
        race = std::make_unique<Ripplejet::Timerace>();
        windows->setLevel(race.get());
        ASSERT_TRUE(windows->startLevel());
    }

    void TearDown() override
    {
        windows.reset();
        race.reset();
        menu.reset();
        if (mStarted) {
            CoreFixture::TearDown();
        }
        std::filesystem::current_path(mWorkingDirectory);
    }

    /// One turn of the game's loop, 16 ms after the last.
    void frame()
    {
        clock.advance(16);
        race->update(core().getTimerManager().getTimestamp());
        core().getProcessManager().update(true);
    }

    static void push(SDL_Event event) { ASSERT_EQ(SDL_PushEvent(&event), 0) << SDL_GetError(); }

    static void pointerTo(int x, int y)
    {
        SDL_Event event{};
        event.type = SDL_MOUSEMOTION;
        event.motion.x = static_cast<Uint16>(x);
        event.motion.y = static_cast<Uint16>(y);
        push(event);
    }

    VeltaTest::ManualClock clock;
    std::unique_ptr<Ripplejet::WindowManager> windows;
    std::unique_ptr<Ripplejet::Menu> menu;
    std::unique_ptr<Ripplejet::Timerace> race;

private:
    std::filesystem::path mWorkingDirectory = std::filesystem::current_path();
    bool mStarted = false;
};

TEST_F(RaceAllocation, ThreeHundredFramesWithTheForwardKeyHeldAndThePointerMovingAllocateNothing)
{
    if (IsSkipped() || HasFatalFailure()) {
        return;
    }
    // The click that starts the race, the forward key held, then the "go"
    // second and a few more frames: the first frames upload and size what
    // later frames reuse.
    SDL_Event click{};
    click.type = SDL_MOUSEBUTTONDOWN;
    click.button.button = SDL_BUTTON_LEFT;
    click.button.state = SDL_PRESSED;
    push(click);
    SDL_Event forward{};
    forward.type = SDL_KEYDOWN;
    forward.key.state = SDL_PRESSED;
    forward.key.keysym.sym = SDLK_w;
    push(forward);
    for (int i = 0; i < 100; ++i) {
        frame();
    }
    ASSERT_TRUE(race->isRunning());

    // The pointer sways a little either side of the middle, within the
    // window's margins, so that the duck weaves down the river.
    VeltaTest::AllocationCounter allocations;
    for (int i = 0; i < 300; ++i) {
        pointerTo(512 + static_cast<int>(std::lround(40.0 * std::sin(i * 0.05))), 384);
        frame();
    }
    EXPECT_EQ(allocations.getCount(), 0u);
    EXPECT_TRUE(race->isRunning());
}

TEST_F(RaceAllocation, TheSignsAndNoticesAreReadBeforeTheRaceNotWhenFirstShown)
{
    if (IsSkipped() || HasFatalFailure()) {
        return;
    }
    // Read on demand, the finish's sign stalled the frame that showed it and
    // kept its memory from then on, in the middle of a race.
    Velta::TextureManager& textures = core().getResourceManager().getTextureManager();
    for (const std::string image : {"overlays\\go.png", "overlays\\yes.png", "overlays\\gameover.png",
                                    "overlays\\paused.png", "overlays\\help.png"}) {
        VeltaTest::AllocationCounter allocations;
        const bool read = !textures.getTextureSource(image).isNull();
        EXPECT_EQ(allocations.getCount(), 0u) << image;
        EXPECT_TRUE(read) << image;
    }
}

} // namespace
