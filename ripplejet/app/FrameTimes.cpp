#include "app/FrameTimes.h"

#include <algorithm>
#include <cstdio>
#include <cmath>
#include <numeric>

namespace Ripplejet {

FrameTimes::FrameTimes()
{
    mLengths.reserve(1 << 17);
}

void FrameTimes::mark(long long microseconds)
{
    if (mLast >= 0) {
        mLengths.push_back(microseconds - mLast);
    }
    mLast = microseconds;
}

std::string FrameTimes::summary() const
{
    if (mLengths.empty()) {
        return "0 frames";
    }
    std::vector<long long> sorted = mLengths;
    std::sort(sorted.begin(), sorted.end());
    const auto ms = [](double us) { return us / 1000.0; };
    const double mean = static_cast<double>(std::accumulate(sorted.begin(), sorted.end(), 0LL)) /
                        static_cast<double>(sorted.size());
    // Nearest rank: the smallest length with at least that share at or below it.
    const auto rank = [&](double share) {
        const std::size_t n = sorted.size();
        const std::size_t i = static_cast<std::size_t>(std::max(1.0, std::ceil(share * static_cast<double>(n)))) - 1;
        return static_cast<double>(sorted[std::min(i, n - 1)]);
    };
    char line[200];
    std::snprintf(line, sizeof line, "%zu frames, mean %.2f ms, median %.2f ms, 95th percentile %.2f ms, worst %.2f ms",
                  sorted.size(), ms(mean), ms(rank(0.5)), ms(rank(0.95)), ms(static_cast<double>(sorted.back())));
    return line;
}

} // namespace Ripplejet
