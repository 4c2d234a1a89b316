#pragma once

#include <vector>

namespace SoundTest {

/// Sound output of this test process, written by OpenAL's wave-file back end
/// (stereo 32-bit float at 44.1 kHz, no limiter, dither or headphone filter,
/// at most kSources sources), set up before any test runs. Each device opened
/// writes the file anew, in real time, and completes it when it closes.
/// Read back as the loudness (RMS) of each 10 ms window of each channel.
class WaveOutput {
public:
    static constexpr int kSources = 6;

    /// What the last device wrote; empty when there is no complete file.
    static WaveOutput read();

    /// RMS of `channel` (0 left, 1 right) over [fromMs, toMs).
    double rms(int channel, int fromMs, int toMs) const;

    /// The first window at or after `fromMs` in which sound is heard, or -1.
    int firstHeardMs(int fromMs = 0) const;
    bool isHeardThroughout(int fromMs, int toMs) const;
    /// Not a single sample other than 0 in [fromMs, toMs).
    bool isSilent(int fromMs, int toMs) const;

    int getLengthMs() const { return static_cast<int>(mWindows[0].size()) * 10; }

private:
    bool isHeard(int window) const;

    std::vector<double> mWindows[2];
};

} // namespace SoundTest
