#include "input/InputEvent.h"

#include "input/ButtonEventInfo.h"
#include "input/KeyEventInfo.h"
#include "input/MoveEventInfo.h"
#include "input/SysWMEventInfo.h"

namespace Velta {

InputEvent::InputEvent(long long timestamp) : CppLib::Event(timestamp) {}

InputEvent::InputEvent(const InputEvent& other)
    : CppLib::Event(other), mWindowId(other.mWindowId), mEventType(other.mEventType), mInputDevice(other.mInputDevice)
{
    copyInfo(other);
}

InputEvent& InputEvent::operator=(const InputEvent& other)
{
    if (this == &other) {
        return *this;
    }
    releaseInfo();
    copyInfo(other);
    CppLib::Event::operator=(other);
    mWindowId = other.mWindowId;
    mEventType = other.mEventType;
    mInputDevice = other.mInputDevice;
    return *this;
}

InputEvent::~InputEvent()
{
    releaseInfo();
}

void InputEvent::copyInfo(const InputEvent& other)
{
    if (other.mInfo == &other.mOwnKey) {
        mOwnKey = other.mOwnKey;
        mInfo = &mOwnKey;
    } else if (other.mInfo == &other.mOwnMove) {
        mOwnMove = other.mOwnMove;
        mInfo = &mOwnMove;
    } else if (other.mInfo == &other.mOwnButton) {
        mOwnButton = other.mOwnButton;
        mInfo = &mOwnButton;
    } else if (other.mInfo == &other.mOwnSysWM) {
        mOwnSysWM = other.mOwnSysWM;
        mInfo = &mOwnSysWM;
    } else {
        mInfo = other.mInfo ? other.mInfo->clone() : nullptr;
    }
}

bool InputEvent::isOwn(const InputEventInfo* info) const
{
    return info == &mOwnKey || info == &mOwnMove || info == &mOwnButton || info == &mOwnSysWM;
}

void InputEvent::releaseInfo()
{
    if (!isOwn(mInfo)) {
        delete mInfo;
    }
    mInfo = nullptr;
}

void InputEvent::setEventType(EventType type, InputEventInfo& info)
{
    mEventType = type;
    if (mInfo != &info) {
        releaseInfo();
        mInfo = &info;
    }
}

void InputEvent::holdOwn(EventType type, InputEventInfo& own)
{
    if (mInfo != &own) {
        releaseInfo();
        mInfo = &own;
    }
    mEventType = type;
}

KeyEventInfo& InputEvent::setKey(KeyEventInfo::EventType type, unsigned char keycode, unsigned short keySymbol,
                                 unsigned short modifierMask)
{
    mOwnKey = KeyEventInfo(type, keycode, keySymbol, modifierMask);
    holdOwn(EVENT_KEY, mOwnKey);
    return mOwnKey;
}

MoveEventInfo& InputEvent::setMove(float x, float y)
{
    mOwnMove.setPosition(x, y);
    holdOwn(EVENT_MOVE, mOwnMove);
    return mOwnMove;
}

ButtonEventInfo& InputEvent::setButton(ButtonEventInfo::EventType type, int buttonNr)
{
    mOwnButton = ButtonEventInfo(type, buttonNr);
    holdOwn(EVENT_BUTTON, mOwnButton);
    return mOwnButton;
}

SysWMEventInfo& InputEvent::setSysWM(SysWMEventInfo::EventType type, int width, int height)
{
    mOwnSysWM = SysWMEventInfo(type, width, height);
    holdOwn(EVENT_SYSWM, mOwnSysWM);
    return mOwnSysWM;
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
