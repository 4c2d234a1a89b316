#include "app/FrameTimes.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace Ripplejet {

FrameTimes::FrameTimes() : mFramesByLength(STEPS, 0) {}

void FrameTimes::mark(long long microseconds)
{
    if (mLast >= 0) {
        const long long length = std::max(0LL, microseconds - mLast);
        const auto step = static_cast<std::size_t>(std::min<long long>(length / STEP_MICROS, STEPS - 1));
        ++mFramesByLength[step];
        ++mCount;
        mTotal += length;
        mWorst = std::max(mWorst, length);
    }
    mLast = microseconds;
}

long long FrameTimes::lengthOfRank(std::size_t rank) const
{
    std::size_t seen = 0;
    for (std::size_t step = 0; step + 1 < STEPS; ++step) {
        seen += mFramesByLength[step];
        if (seen >= rank) {
            return static_cast<long long>(step) * STEP_MICROS;
        }
    }
    return mWorst;
}

std::string FrameTimes::summary() const
{
    if (mCount == 0) {
        return "0 frames";
    }
    const auto ms = [](double us) { return us / 1000.0; };
    const double mean = static_cast<double>(mTotal) / static_cast<double>(mCount);
    // Nearest rank: the smallest length with at least that share at or below it.
    const auto rank = [&](double share) {
        const double wanted = std::max(1.0, std::ceil(share * static_cast<double>(mCount)));
        return static_cast<double>(lengthOfRank(std::min(static_cast<std::size_t>(wanted), mCount)));
    };
    char line[200];
    std::snprintf(line, sizeof line, "%zu frames, mean %.2f ms, median %.2f ms, 95th percentile %.2f ms, worst %.2f ms",
                  mCount, ms(mean), ms(rank(0.5)), ms(rank(0.95)), ms(static_cast<double>(mWorst)));
    return line;
}

} // namespace Ripplejet
