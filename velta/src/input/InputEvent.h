#pragma once

#include "VeltaExport.h"
#include "cpplib/Event.h"
#include "input/ButtonEventInfo.h"
#include "input/KeyEventInfo.h"
#include "input/MoveEventInfo.h"
#include "input/SysWMEventInfo.h"

namespace Velta {

class InputDevice;

/// One input event on its way from a provider to the processors: a type and
/// the info that goes with it, which the event owns.
///
/// A processor may rewrite the event (type and info) before it returns; the
/// processors after it see the rewritten event. Copies hold copies of the info.
///
/// The event keeps one info of each class of its own: setKey(), setMove(),
/// setButton() and setSysWM() write into those, so that a provider or a
/// processor can send and rewrite events without allocating.
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

    /// Sets the type and writes the info into the event's own info of that
    /// class (the info held before is deleted unless it is one of those).
    /// Allocates nothing; answers the info, valid while the event lives.
    KeyEventInfo& setKey(KeyEventInfo::EventType type, unsigned char keycode, unsigned short keySymbol,
                         unsigned short modifierMask);
    MoveEventInfo& setMove(float x, float y);
    ButtonEventInfo& setButton(ButtonEventInfo::EventType type, int buttonNr);
    SysWMEventInfo& setSysWM(SysWMEventInfo::EventType type, int width = 0, int height = 0);

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
    /// Whether `info` is one of the event's own infos.
    bool isOwn(const InputEventInfo* info) const;
    /// Holds `own` (one of the event's own infos) as the info of `type`.
    void holdOwn(EventType type, InputEventInfo& own);
    /// Copies `other`'s info: its own info into the matching one of this
    /// event, any other as a clone.
    void copyInfo(const InputEvent& other);
    void releaseInfo();

    int mWindowId = -1;
    EventType mEventType = EVENT_KEY;
    InputDevice* mInputDevice = nullptr;
    /// One of the own infos below, one allocated with new (owned), or null.
    InputEventInfo* mInfo = nullptr;
    KeyEventInfo mOwnKey{KeyEventInfo::KEY_PRESSED, 0, 0, 0};
    MoveEventInfo mOwnMove{0.0f, 0.0f};
    ButtonEventInfo mOwnButton{ButtonEventInfo::BUTTON_PRESSED, 0};
    SysWMEventInfo mOwnSysWM{SysWMEventInfo::SYSWM_EXPOSE, 0, 0};
};

} // namespace Velta
