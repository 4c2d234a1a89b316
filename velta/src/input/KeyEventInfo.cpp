#include "input/KeyEventInfo.h"

namespace Velta {

KeyEventInfo::KeyEventInfo(EventType type, unsigned char keycode, unsigned short keySymbol,
                           unsigned short modifierMask)
    : mEventType(type), mKeycode(keycode), mKeySymbol(keySymbol), mModifierMask(modifierMask)
{
}

KeyEventInfo::~KeyEventInfo() = default;

KeyEventInfo* KeyEventInfo::clone() const
{
    return new KeyEventInfo(*this);
}

} // namespace Velta
