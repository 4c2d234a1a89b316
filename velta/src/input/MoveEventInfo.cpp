#include "input/MoveEventInfo.h"

namespace Velta {

MoveEventInfo::MoveEventInfo(const CppLib::Vector<float>& axes) : mCount(axes.getSize())
{
    if (mCount > INLINE_AXES) {
        mMore = axes;
        return;
    }
    for (unsigned int i = 0; i < mCount; ++i) {
        mInline[i] = axes.get(static_cast<int>(i));
    }
}

MoveEventInfo::MoveEventInfo(float x, float y) : mCount(2), mInline{x, y, 0.0f} {}

MoveEventInfo::~MoveEventInfo() = default;

MoveEventInfo* MoveEventInfo::clone() const
{
    return new MoveEventInfo(*this);
}

void MoveEventInfo::setPosition(float x, float y)
{
    mCount = 2;
    mInline[0] = x;
    mInline[1] = y;
    mInline[2] = 0.0f;
    mMore.clear();
}

float MoveEventInfo::getAxis(int i) const
{
    if (i < 0 || static_cast<unsigned int>(i) >= mCount) {
        return 0.0f;
    }
    return mCount > INLINE_AXES ? mMore.get(i) : mInline[i];
}

} // namespace Velta
