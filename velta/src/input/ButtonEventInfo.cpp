#include "input/ButtonEventInfo.h"

namespace Velta {

ButtonEventInfo::ButtonEventInfo(EventType type, int buttonNr) : mEventType(type), mButtonNr(buttonNr) {}

ButtonEventInfo::~ButtonEventInfo() = default;

ButtonEventInfo* ButtonEventInfo::clone() const
{
    return new ButtonEventInfo(*this);
}

} // namespace Velta
