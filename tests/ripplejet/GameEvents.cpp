#include "GameEvents.h"

#include "input/ButtonEventInfo.h"
#include "input/KeyEventInfo.h"
#include "input/MoveEventInfo.h"
#include "input/SysWMEventInfo.h"

namespace RipplejetTest {

namespace {

Velta::InputEvent withInfo(Velta::InputEvent::EventType type, Velta::InputEventInfo* info)
{
    Velta::InputEvent event(0);
    event.setEventType(type, *info);
    return event;
}

} // namespace

Velta::InputEvent keyPress(unsigned short symbol, unsigned short modifiers)
{
    return withInfo(Velta::InputEvent::EVENT_KEY,
                    new Velta::KeyEventInfo(Velta::KeyEventInfo::KEY_PRESSED, 0, symbol, modifiers));
}

Velta::InputEvent keyRelease(unsigned short symbol, unsigned short modifiers)
{
    return withInfo(Velta::InputEvent::EVENT_KEY,
                    new Velta::KeyEventInfo(Velta::KeyEventInfo::KEY_RELEASED, 0, symbol, modifiers));
}

Velta::InputEvent pointerAt(float x, float y)
{
    return withInfo(Velta::InputEvent::EVENT_MOVE, new Velta::MoveEventInfo(x, y));
}

Velta::InputEvent buttonPress(int button)
{
    return withInfo(Velta::InputEvent::EVENT_BUTTON,
                    new Velta::ButtonEventInfo(Velta::ButtonEventInfo::BUTTON_PRESSED, button));
}

Velta::InputEvent quitRequest()
{
    return withInfo(Velta::InputEvent::EVENT_SYSWM,
                    new Velta::SysWMEventInfo(Velta::SysWMEventInfo::SYSWM_QUIT, 0, 0));
}

} // namespace RipplejetTest
