#include "input/InputEvent.h"

#include "input/ButtonEventInfo.h"
#include "input/KeyEventInfo.h"
#include "input/MoveEventInfo.h"
#include "input/SysWMEventInfo.h"

namespace Velta {

InputEvent::InputEvent(long long timestamp) : CppLib::Event(timestamp) {}

InputEvent::InputEvent(const InputEvent& other)
    : CppLib::Event(other),
      mWindowId(other.mWindowId),
      mEventType(other.mEventType),
      mInputDevice(other.mInputDevice),
      mInfo(other.mInfo ? other.mInfo->clone() : nullptr)
{
}

InputEvent& InputEvent::operator=(const InputEvent& other)
{
    if (this == &other) {
        return *this;
    }
    InputEventInfo* info = other.mInfo ? other.mInfo->clone() : nullptr;
    delete mInfo;
    mInfo = info;
    CppLib::Event::operator=(other);
    mWindowId = other.mWindowId;
    mEventType = other.mEventType;
    mInputDevice = other.mInputDevice;
    return *this;
}

InputEvent::~InputEvent()
{
    delete mInfo;
}

void InputEvent::setEventType(EventType type, InputEventInfo& info)
{
    mEventType = type;
    if (mInfo != &info) {
        delete mInfo;
        mInfo = &info;
    }
}

template <typename Info>
Info* InputEvent::infoOf(EventType type) const
{
    // The class is checked as well as the type: a caller that paired a type
    // with the wrong info gets null rather than a miscast pointer.
    return mEventType == type ? dynamic_cast<Info*>(mInfo) : nullptr;
}

KeyEventInfo* InputEvent::getKeyEventInfo() const
{
    return infoOf<KeyEventInfo>(EVENT_KEY);
}

MoveEventInfo* InputEvent::getMoveEventInfo() const
{
    return infoOf<MoveEventInfo>(EVENT_MOVE);
}

ButtonEventInfo* InputEvent::getButtonEventInfo() const
{
    return infoOf<ButtonEventInfo>(EVENT_BUTTON);
}

SysWMEventInfo* InputEvent::getSysWMEventInfo() const
{
    return infoOf<SysWMEventInfo>(EVENT_SYSWM);
}

} // namespace Velta
