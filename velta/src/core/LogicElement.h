#pragma once

#include "VeltaExport.h"

namespace Velta {

/// A building block of game logic: an id from the event manager and a state
/// that switches it on (any value but 0) or off (0).
///
/// Created only between VeltaCore::startup() and shutdown(), since the id comes
/// from the core's event manager; it may be destroyed later.
class VELTA_EXPORT LogicElement {
public:
    /// 0 is off; what other values mean is up to each kind of element. The
    /// motion modifiers move in ACTIVE and only keep time in IDLE.
    enum State {
        INACTIVE = 0,
        IDLE = 1,
        ACTIVE = 2
    };

    LogicElement();
    virtual ~LogicElement();

    LogicElement(const LogicElement&) = delete;
    LogicElement& operator=(const LogicElement&) = delete;

    virtual State getState() const { return mState; }
    virtual void setState(State state) { mState = state; }

    unsigned int getElementId() const { return mElementId; }

private:
    unsigned int mElementId;
    State mState = INACTIVE;
};

} // namespace Velta
