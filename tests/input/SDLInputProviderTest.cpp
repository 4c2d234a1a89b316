#include "core/ProcessManager.h"
#include "input/ButtonEventInfo.h"
#include "input/InputEvent.h"
#include "input/InputManager.h"
#include "input/InputProcessor.h"
#include "input/KeyEventInfo.h"
#include "input/MoveEventInfo.h"
#include "input/SysWMEventInfo.h"
#include "support/AllocationCounter.h"
#include "support/CoreFixture.h"
#include "testkit/VirtualDisplay.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <vector>

using Velta::InputEvent;
using Velta::SysWMEventInfo;

namespace {

/// Keeps a copy of every event it is offered.
class Recorder : public Velta::InputProcessor {
public:
    Recorder() : InputProcessor(1) {}

    bool processInputEvent(InputEvent& event) override
    {
        mEvents.push_back(event);
        return true;
    }

    std::vector<InputEvent> mEvents;
};

SDL_Event sdlEvent(Uint8 type)
{
    SDL_Event event{};
    event.type = type;
    return event;
}

SDL_Event key(Uint8 type, int sym, unsigned int mod, Uint8 scancode)
{
    SDL_Event event = sdlEvent(type);
    event.key.keysym.sym = static_cast<SDLKey>(sym);
    event.key.keysym.mod = static_cast<SDLMod>(mod);
    event.key.keysym.scancode = scancode;
    return event;
}

SDL_Event button(Uint8 type, Uint8 nr)
{
    SDL_Event event = sdlEvent(type);
    event.button.button = nr;
    return event;
}

/// A set-up core with SDL video open on a display and one recorder registered.
class SDLInputTest : public VeltaTest::SetUpCoreFixture {
protected:
    void SetUp() override
    {
        VELTA_REQUIRE_DISPLAY();
        SetUpCoreFixture::SetUp();
        if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
            GTEST_SKIP() << "SDL video does not start: " << SDL_GetError();
        }
        mVideoOpen = true;
        SDL_Event stale;
        while (SDL_PollEvent(&stale)) {
        }
        core().getInputManager().registerInputProcessor(mRecorder);
    }

    void TearDown() override
    {
        if (mVideoOpen) {
            SDL_QuitSubSystem(SDL_INIT_VIDEO);
        }
        SetUpCoreFixture::TearDown();
    }

    void push(SDL_Event event) { ASSERT_EQ(SDL_PushEvent(&event), 0) << SDL_GetError(); }
    void frame() { core().getProcessManager().update(true); }
    const std::vector<InputEvent>& events() const { return mRecorder.mEvents; }

    Recorder mRecorder;
    bool mVideoOpen = false;
};

} // namespace

TEST_F(SDLInputTest, KeysArriveWithScanCodeSymbolAndEachModifierTranslated)
{
    const std::pair<unsigned int, unsigned short> masks[] = {
        {KMOD_NONE, 0x000},  {KMOD_LSHIFT, 0x001}, {KMOD_RSHIFT, 0x002}, {KMOD_LCTRL, 0x004}, {KMOD_RCTRL, 0x008},
        {KMOD_LALT, 0x010},  {KMOD_RALT, 0x020},   {KMOD_LMETA, 0x040},  {KMOD_RMETA, 0x080}, {KMOD_NUM, 0x100},
        {KMOD_CAPS, 0x200},  {KMOD_MODE, 0x400},   {0xFFFF, 0x7FF}};
    for (const auto& mask : masks) {
        push(key(SDL_KEYDOWN, SDLK_ESCAPE, mask.first, 9));
    }
    push(key(SDL_KEYUP, SDLK_F2, KMOD_NONE, 68));
    push(key(SDL_KEYDOWN, 400, KMOD_NONE, 255)); // a key SDL has no name for passes as its number
    frame();

    const std::size_t count = std::size(masks);
    ASSERT_EQ(events().size(), count + 2);
    for (std::size_t i = 0; i < count; ++i) {
        const Velta::KeyEventInfo* info = events()[i].getKeyEventInfo();
        ASSERT_NE(info, nullptr);
        EXPECT_EQ(info->getModifierMask(), masks[i].second) << "SDL modifiers " << std::hex << masks[i].first;
        EXPECT_EQ(info->getEventType(), Velta::KeyEventInfo::KEY_PRESSED);
        EXPECT_EQ(info->getKeySymbol(), 27);
        EXPECT_EQ(info->getKeycode(), 9);
    }
    EXPECT_EQ(events()[count].getKeyEventInfo()->getEventType(), Velta::KeyEventInfo::KEY_RELEASED);
    EXPECT_EQ(events()[count].getKeyEventInfo()->getKeySymbol(), 283);
    EXPECT_EQ(events()[count + 1].getKeyEventInfo()->getKeySymbol(), 400);
}

TEST_F(SDLInputTest, PointerAndWindowEventsArriveAsTheirEngineTypes)
{
    SDL_Event motion = sdlEvent(SDL_MOUSEMOTION);
    motion.motion.x = 1023;
    motion.motion.y = 767;
    push(motion);
    push(button(SDL_MOUSEBUTTONUP, 200));
    SDL_Event active = sdlEvent(SDL_ACTIVEEVENT);
    for (Uint8 gain : {1, 0}) {
        active.active.gain = gain;
        push(active);
    }
    // The pointer leaving the window: no focus change, dropped.
    active.active.state = SDL_APPMOUSEFOCUS;
    push(active);
    SDL_Event resize = sdlEvent(SDL_VIDEORESIZE);
    resize.resize.w = 800;
    resize.resize.h = 600;
    push(resize);
    push(sdlEvent(SDL_VIDEOEXPOSE));
    frame();

    ASSERT_EQ(events().size(), 6u);
    ASSERT_NE(events()[0].getMoveEventInfo(), nullptr);
    EXPECT_EQ(events()[0].getMoveEventInfo()->getAxisCount(), 2);
    EXPECT_FLOAT_EQ(events()[0].getMoveEventInfo()->getX(), 1023.0f);
    EXPECT_FLOAT_EQ(events()[0].getMoveEventInfo()->getY(), 767.0f);
    ASSERT_NE(events()[1].getButtonEventInfo(), nullptr);
    EXPECT_EQ(events()[1].getButtonEventInfo()->getEventType(), Velta::ButtonEventInfo::BUTTON_RELEASED);
    EXPECT_EQ(events()[1].getButtonEventInfo()->getButtonNr(), 200);
    const SysWMEventInfo::EventType notices[] = {SysWMEventInfo::SYSWM_FOCUS_GAINED, SysWMEventInfo::SYSWM_FOCUS_LOST,
                                                 SysWMEventInfo::SYSWM_RESIZE, SysWMEventInfo::SYSWM_EXPOSE};
    for (int i = 0; i < 4; ++i) {
        ASSERT_NE(events()[2 + i].getSysWMEventInfo(), nullptr);
        EXPECT_EQ(events()[2 + i].getSysWMEventInfo()->getEventType(), notices[i]);
    }
    EXPECT_EQ(events()[4].getSysWMEventInfo()->getWidth(), 800);
    EXPECT_EQ(events()[4].getSysWMEventInfo()->getHeight(), 600);
}

TEST_F(SDLInputTest, QueuedEventsArriveInOrderWithinOneFrameAndOneTimestampAndUnknownKindsAreDropped)
{
    push(sdlEvent(SDL_JOYAXISMOTION));
    for (Uint8 i = 1; i <= 10; ++i) {
        push(button(SDL_MOUSEBUTTONDOWN, i));
        push(sdlEvent(i % 2 ? SDL_USEREVENT : SDL_JOYBUTTONDOWN));
    }
    push(sdlEvent(SDL_QUIT));
    frame();

    SDL_Event left;
    EXPECT_EQ(SDL_PeepEvents(&left, 1, SDL_PEEKEVENT, SDL_ALLEVENTS), 0);
    ASSERT_EQ(events().size(), 11u);
    EXPECT_GT(events()[0].getTimestamp(), 0);
    for (int i = 0; i < 10; ++i) {
        ASSERT_NE(events()[i].getButtonEventInfo(), nullptr);
        EXPECT_EQ(events()[i].getButtonEventInfo()->getButtonNr(), i + 1);
        EXPECT_EQ(events()[i].getTimestamp(), events()[0].getTimestamp());
    }
    ASSERT_NE(events()[10].getSysWMEventInfo(), nullptr);
    EXPECT_EQ(events()[10].getSysWMEventInfo()->getEventType(), SysWMEventInfo::SYSWM_QUIT);
}

TEST_F(SDLInputTest, AFrameWithNoPendingEventsAllocatesNothing)
{
    frame(); // settle anything done once
    VeltaTest::AllocationCounter allocations;
    for (int i = 0; i < 50; ++i) {
        frame();
    }
    EXPECT_EQ(allocations.getCount(), 0u);
    EXPECT_TRUE(events().empty());
}
