#pragma once

#include "VeltaExport.h"
#include "input/InputEventInfo.h"

namespace Velta {

/// A key pressed or released. Key symbols and scan codes are the platform's
/// (the SDL provider passes SDL's key symbol values, so Escape is 27 and F2 283).
class VELTA_EXPORT KeyEventInfo : public InputEventInfo {
public:
    enum EventType {
        KEY_PRESSED = 0,
        KEY_RELEASED = 1
    };

    /// Bits of the modifier mask: modifier keys held and lock states at the
    /// time of the event.
    enum ModifierBit {
        MOD_LSHIFT = 0x001,
        MOD_RSHIFT = 0x002,
        MOD_LCTRL = 0x004,
        MOD_RCTRL = 0x008,
        MOD_LALT = 0x010,
        MOD_RALT = 0x020,
        MOD_LMETA = 0x040,
        MOD_RMETA = 0x080,
        MOD_NUM = 0x100,  ///< Num Lock on
        MOD_CAPS = 0x200, ///< Caps Lock on
        MOD_MODE = 0x400  ///< Mode (AltGr) held
    };

    KeyEventInfo(EventType type, unsigned char keycode, unsigned short keySymbol, unsigned short modifierMask);
    ~KeyEventInfo() override;

    KeyEventInfo* clone() const override;

    EventType getEventType() const { return mEventType; }
    unsigned char getKeycode() const { return mKeycode; }
    unsigned short getKeySymbol() const { return mKeySymbol; }
    unsigned short getModifierMask() const { return mModifierMask; }

private:
    EventType mEventType;
    unsigned char mKeycode;
    unsigned short mKeySymbol;
    unsigned short mModifierMask;
};

} // namespace Velta
