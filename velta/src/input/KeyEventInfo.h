#pragma once

#include "VeltaExport.h"
#include "input/InputEventInfo.h"

namespace Velta {

/// A key pressed or released. Key symbols are SDL's key symbol values (the
/// SDL provider passes them on; KeySymbol names the common ones), scan codes
/// the platform's.
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
        MOD_MODE = 0x400, ///< Mode (AltGr) held
        MOD_SHIFT = MOD_LSHIFT | MOD_RSHIFT,
        MOD_CTRL = MOD_LCTRL | MOD_RCTRL,
        MOD_ALT = MOD_LALT | MOD_RALT,
        MOD_META = MOD_LMETA | MOD_RMETA
    };

    /// Key symbols. A letter or digit key is its character, in lower case.
    enum KeySymbol : unsigned short {
        KEY_BACKSPACE = 8,
        KEY_TAB = 9,
        KEY_RETURN = 13,
        KEY_PAUSE = 19,
        KEY_ESCAPE = 27,
        KEY_SPACE = 32,
        KEY_0 = '0', KEY_1, KEY_2, KEY_3, KEY_4, KEY_5, KEY_6, KEY_7, KEY_8, KEY_9,
        KEY_A = 'a', KEY_B, KEY_C, KEY_D, KEY_E, KEY_F, KEY_G, KEY_H, KEY_I, KEY_J, KEY_K, KEY_L, KEY_M,
        KEY_N, KEY_O, KEY_P, KEY_Q, KEY_R, KEY_S, KEY_T, KEY_U, KEY_V, KEY_W, KEY_X, KEY_Y, KEY_Z,
        KEY_DELETE = 127,
        KEY_KP_ENTER = 271,
        KEY_UP = 273, KEY_DOWN, KEY_RIGHT, KEY_LEFT,
        KEY_F1 = 282, KEY_F2, KEY_F3, KEY_F4, KEY_F5, KEY_F6, KEY_F7, KEY_F8, KEY_F9, KEY_F10, KEY_F11, KEY_F12,
        KEY_RSHIFT = 303, KEY_LSHIFT, KEY_RCTRL, KEY_LCTRL, KEY_RALT, KEY_LALT
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
