#include "input/MoveEventInfo.h"

namespace Velta {

MoveEventInfo::MoveEventInfo(const CppLib::Vector<float>& axes) : mAxes(axes) {}

MoveEventInfo::MoveEventInfo(float x, float y) : mAxes{x, y} {}

MoveEventInfo::~MoveEventInfo() = default;

MoveEventInfo* MoveEventInfo::clone() const
{
    return new MoveEventInfo(*this);
}

} // namespace Velta
