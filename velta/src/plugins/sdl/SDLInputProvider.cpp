#include "plugins/sdl/SDLInputProvider.h"

#include "input/ButtonEventInfo.h"
#include "input/InputEvent.h"
#include "input/KeyEventInfo.h"
#include "input/MoveEventInfo.h"
#include "input/SysWMEventInfo.h"

#include <SDL.h>

namespace Velta {

namespace {

struct ModifierBit {
    unsigned int sdl;
    unsigned short engine;
};

constexpr ModifierBit kModifierBits[] = {
    {KMOD_LSHIFT, KeyEventInfo::MOD_LSHIFT}, {KMOD_RSHIFT, KeyEventInfo::MOD_RSHIFT},
    {KMOD_LCTRL, KeyEventInfo::MOD_LCTRL},   {KMOD_RCTRL, KeyEventInfo::MOD_RCTRL},
    {KMOD_LALT, KeyEventInfo::MOD_LALT},     {KMOD_RALT, KeyEventInfo::MOD_RALT},
    {KMOD_LMETA, KeyEventInfo::MOD_LMETA},   {KMOD_RMETA, KeyEventInfo::MOD_RMETA},
    {KMOD_NUM, KeyEventInfo::MOD_NUM},       {KMOD_CAPS, KeyEventInfo::MOD_CAPS},
    {KMOD_MODE, KeyEventInfo::MOD_MODE},
};

// Key symbols pass on unchanged, so the engine's names must be SDL's values
// (each run of consecutive names checked at both ends).
constexpr bool sameKey(KeyEventInfo::KeySymbol engine, SDLKey sdl)
{
    return static_cast<int>(engine) == static_cast<int>(sdl);
}
using Key = KeyEventInfo;
static_assert(sameKey(Key::KEY_BACKSPACE, SDLK_BACKSPACE) && sameKey(Key::KEY_TAB, SDLK_TAB) &&
              sameKey(Key::KEY_RETURN, SDLK_RETURN) && sameKey(Key::KEY_ESCAPE, SDLK_ESCAPE) &&
              sameKey(Key::KEY_SPACE, SDLK_SPACE) && sameKey(Key::KEY_DELETE, SDLK_DELETE));
static_assert(sameKey(Key::KEY_0, SDLK_0) && sameKey(Key::KEY_9, SDLK_9) && sameKey(Key::KEY_A, SDLK_a) &&
              sameKey(Key::KEY_Z, SDLK_z));
static_assert(sameKey(Key::KEY_UP, SDLK_UP) && sameKey(Key::KEY_LEFT, SDLK_LEFT) && sameKey(Key::KEY_F1, SDLK_F1) &&
              sameKey(Key::KEY_F12, SDLK_F12) && sameKey(Key::KEY_RSHIFT, SDLK_RSHIFT) &&
              sameKey(Key::KEY_LALT, SDLK_LALT));

unsigned short translateModifiers(unsigned int sdlMask)
{
    unsigned short mask = 0;
    for (const ModifierBit& bit : kModifierBits) {
        if (sdlMask & bit.sdl) {
            mask |= bit.engine;
        }
    }
    return mask;
}

void setSysWM(InputEvent& event, SysWMEventInfo::EventType type, int width = 0, int height = 0)
{
    event.setSysWM(type, width, height);
}

/// Rewrites `event` from `sdl`; false for SDL events the engine does not pass on.
bool translate(const SDL_Event& sdl, InputEvent& event)
{
    switch (sdl.type) {
    case SDL_ACTIVEEVENT:
        // The pointer entering or leaving the window is not a change of focus.
        if (sdl.active.state == SDL_APPMOUSEFOCUS) {
            return false;
        }
        setSysWM(event, sdl.active.gain == 1 ? SysWMEventInfo::SYSWM_FOCUS_GAINED : SysWMEventInfo::SYSWM_FOCUS_LOST);
        break;
    case SDL_KEYDOWN:
    case SDL_KEYUP:
        event.setKey(sdl.type == SDL_KEYUP ? KeyEventInfo::KEY_RELEASED : KeyEventInfo::KEY_PRESSED,
                     sdl.key.keysym.scancode, static_cast<unsigned short>(sdl.key.keysym.sym),
                     translateModifiers(sdl.key.keysym.mod));
        break;
    case SDL_MOUSEMOTION:
        event.setMove(sdl.motion.x, sdl.motion.y);
        break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        event.setButton(sdl.type == SDL_MOUSEBUTTONUP ? ButtonEventInfo::BUTTON_RELEASED
                                                      : ButtonEventInfo::BUTTON_PRESSED,
                        sdl.button.button);
        break;
    case SDL_QUIT:
        setSysWM(event, SysWMEventInfo::SYSWM_QUIT);
        break;
    case SDL_VIDEORESIZE:
        setSysWM(event, SysWMEventInfo::SYSWM_RESIZE, sdl.resize.w, sdl.resize.h);
        break;
    case SDL_VIDEOEXPOSE:
        setSysWM(event, SysWMEventInfo::SYSWM_EXPOSE);
        break;
    default:
        return false;
    }
    // A processor may have changed these on the previous event.
    event.setWindowId(-1);
    event.setInputDevice(nullptr);
    return true;
}

} // namespace

SDLInputProvider::SDLInputProvider() : InputProvider(-1) {}

SDLInputProvider::~SDLInputProvider() = default;

void SDLInputProvider::pollEvents(long long timestamp)
{
    // One event object for the whole poll; each translation rewrites the
    // event's own info of its kind, so polling allocates nothing.
    InputEvent event(timestamp);
    SDL_Event sdl;
    while (isEnabled() && isRegistered() && SDL_PollEvent(&sdl)) {
        if (translate(sdl, event)) {
            sendEvent(event);
        }
    }
}

} // namespace Velta
