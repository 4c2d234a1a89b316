#include "particles/RandomSource.h"

namespace Velta {

int RandomSource::next()
{
    // Linear congruential step; the upper bits are the better ones.
    mState = mState * 1103515245u + 12345u;
    return static_cast<int>((mState >> 16) & static_cast<unsigned int>(MAX));
}

} // namespace Velta
