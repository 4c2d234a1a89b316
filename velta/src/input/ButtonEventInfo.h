#pragma once

#include "VeltaExport.h"
#include "input/InputEventInfo.h"

namespace Velta {

/// A pointer button pressed or released. Buttons are numbered as the platform
/// numbers them (SDL: 1 left, 2 middle, 3 right, 4 and 5 the wheel).
class VELTA_EXPORT ButtonEventInfo : public InputEventInfo {
public:
    enum EventType {
        BUTTON_PRESSED = 0,
        BUTTON_RELEASED = 1
    };

    ButtonEventInfo(EventType type, int buttonNr);
    ~ButtonEventInfo() override;

    ButtonEventInfo* clone() const override;

    EventType getEventType() const { return mEventType; }
    int getButtonNr() const { return mButtonNr; }

private:
    EventType mEventType;
    int mButtonNr;
};

} // namespace Velta
