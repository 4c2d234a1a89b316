#include "input/SysWMEventInfo.h"

namespace Velta {

SysWMEventInfo::SysWMEventInfo(EventType type, int width, int height)
    : mEventType(type), mWidth(width), mHeight(height)
{
}

SysWMEventInfo::~SysWMEventInfo() = default;

SysWMEventInfo* SysWMEventInfo::clone() const
{
    return new SysWMEventInfo(*this);
}

} // namespace Velta
