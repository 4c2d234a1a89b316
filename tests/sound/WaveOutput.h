#pragma once

#include <string>
#include <vector>

namespace SoundTest {

/// Sound output of this test process, written by OpenAL's wave-file back end:
/// stereo, 32-bit float, 44.1 kHz, without limiter, dither or headphone
/// filters, and at most six sources. Installed before any test runs; each
/// device opened later writes the file anew, in real time, and completes it
/// when it closes.
class WaveOutput {
public:
    static constexpr int kRate = 44100;
    /// Sources OpenAL gives to the test process.
    static constexpr int kSources = 6;

    /// What the last device wrote; empty when there is no complete file.
    static WaveOutput read();

    /// Root mean square of one channel (0 left, 1 right) over [fromMs, toMs).
    double rms(int channel, int fromMs, int toMs) const;

    /// Largest absolute sample of both channels over [fromMs, toMs).
    double peak(int fromMs, int toMs) const;

    /// The first millisecond at or after `fromMs` from which sound is heard
    /// (a 10 ms window above 0.02 RMS), or -1.
    int firstAudibleMs(int fromMs = 0) const;

    /// The end of the last 10 ms window in which sound is heard, or -1.
    int lastAudibleMs() const;

    /// True when sound is heard in every 10 ms window of [fromMs, toMs).
    bool isAudibleThroughout(int fromMs, int toMs) const;

    /// Milliseconds recorded.
    int getLengthMs() const;

    std::vector<float> mLeft;
    std::vector<float> mRight;

private:
    /// RMS above which a 10 ms window counts as heard.
    static constexpr double kAudible = 0.02;

    bool isAudible(int fromMs) const;
};

} // namespace SoundTest
