#pragma once

#include <string>
#include <vector>

namespace Ripplejet {

/// The wall-clock lengths of a run's frames, and their summary as the
/// benchmark prints it.
class FrameTimes {
public:
    /// Room for a long race, so that adding a frame does not allocate.
    FrameTimes();

    /// Marks the end of a frame at `microseconds` of wall time; the first
    /// mark only starts the count.
    void mark(long long microseconds);

    std::size_t getCount() const { return mLengths.size(); }

    /// "9876 frames, mean 16.80 ms, median 16.20 ms, 95th percentile
    /// 20.10 ms, worst 45.00 ms".
    std::string summary() const;

private:
    std::vector<long long> mLengths;
    long long mLast = -1;
};

} // namespace Ripplejet
