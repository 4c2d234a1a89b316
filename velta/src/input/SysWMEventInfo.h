#pragma once

#include "VeltaExport.h"
#include "input/InputEventInfo.h"

namespace Velta {

/// A notice from the window system about the application or its window.
class VELTA_EXPORT SysWMEventInfo : public InputEventInfo {
public:
    enum EventType {
        SYSWM_QUIT = 0,         ///< the user asked to close the application
        SYSWM_EXPOSE = 1,       ///< the window must be redrawn
        SYSWM_RESIZE = 2,       ///< the window was resized to width × height
        SYSWM_FOCUS_GAINED = 3, ///< the application became active
        SYSWM_FOCUS_LOST = 4    ///< the application became inactive
    };

    /// Width and height in pixels; 0 for every kind but SYSWM_RESIZE.
    SysWMEventInfo(EventType type, int width, int height);
    ~SysWMEventInfo() override;

    SysWMEventInfo* clone() const override;

    EventType getEventType() const { return mEventType; }
    int getWidth() const { return mWidth; }
    int getHeight() const { return mHeight; }

private:
    EventType mEventType;
    int mWidth;
    int mHeight;
};

} // namespace Velta
