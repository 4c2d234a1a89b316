#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace Ripplejet {

/// The wall-clock lengths of a run's frames, and their summary as the
/// benchmark prints it.
///
/// Frames are counted by length in steps of a hundredth of a millisecond
/// (the summary's precision), so a session of any length holds the same
/// memory and adding a frame never allocates.
class FrameTimes {
public:
    FrameTimes();

    /// Marks the end of a frame at `microseconds` of wall time; the first
    /// mark only starts the count.
    void mark(long long microseconds);

    std::size_t getCount() const { return mCount; }

    /// "9876 frames, mean 16.80 ms, median 16.20 ms, 95th percentile
    /// 20.10 ms, worst 45.00 ms". Percentiles are the nearest rank, to the
    /// hundredth of a millisecond below; frames of a second or longer count
    /// as the worst.
    std::string summary() const;

private:
    static constexpr long long STEP_MICROS = 10;
    /// Steps up to a second; the last counts every longer frame.
    static constexpr std::size_t STEPS = 100001;

    /// The length of the frame of `rank` (1 … count) in order of length.
    long long lengthOfRank(std::size_t rank) const;

    std::vector<std::uint32_t> mFramesByLength;
    std::size_t mCount = 0;
    long long mTotal = 0;
    long long mWorst = 0;
    long long mLast = -1;
};

} // namespace Ripplejet
