#pragma once

#include "VeltaExport.h"
#include "cpplib/Event.h"

namespace Velta {

class ButtonEventInfo;
class InputDevice;
class InputEventInfo;
class KeyEventInfo;
class MoveEventInfo;
class SysWMEventInfo;

/// One input event on its way from a provider to the processors: a type and
/// the info that goes with it, which the event owns.
///
/// A processor may rewrite the event (type and info) before it returns; the
/// processors after it see the rewritten event. Copies hold copies of the info.
class VELTA_EXPORT InputEvent : public CppLib::Event {
public:
    /// The kind of event, and with it the class of its info.
    enum EventType {
        EVENT_KEY = 0,    ///< KeyEventInfo
        EVENT_MOVE = 1,   ///< MoveEventInfo
        EVENT_BUTTON = 2, ///< ButtonEventInfo
        EVENT_SYSWM = 3   ///< SysWMEventInfo
    };

    /// An event with no info yet, window id -1 and no device; `timestamp` in
    /// the timer manager's milliseconds.
    explicit InputEvent(long long timestamp);
    InputEvent(const InputEvent& other);
    InputEvent& operator=(const InputEvent& other);
    ~InputEvent() override;

    EventType getEventType() const { return mEventType; }

    /// Stores the type and takes ownership of `info`, which must have been
    /// allocated with new; the info held before is deleted (unless it is
    /// `info` itself).
    void setEventType(EventType type, InputEventInfo& info);

    /// The window the event belongs to; -1 when the provider does not tell.
    int getWindowId() const { return mWindowId; }
    void setWindowId(int windowId) { mWindowId = windowId; }

    /// The device that produced the event, or null; not owned.
    InputDevice* getInputDevice() const { return mInputDevice; }
    void setInputDevice(InputDevice* device) { mInputDevice = device; }

    /// The info whatever its class, or null while none is set.
    InputEventInfo* getEventInfo() const { return mInfo; }

    /// The info when the event is of that type and holds an info of the
    /// matching class, else null.
    KeyEventInfo* getKeyEventInfo() const;
    MoveEventInfo* getMoveEventInfo() const;
    ButtonEventInfo* getButtonEventInfo() const;
    SysWMEventInfo* getSysWMEventInfo() const;

private:
    template <typename Info>
    Info* infoOf(EventType type) const;

    int mWindowId = -1;
    EventType mEventType = EVENT_KEY;
    InputDevice* mInputDevice = nullptr;
    InputEventInfo* mInfo = nullptr;
};

} // namespace Velta
