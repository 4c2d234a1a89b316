#pragma once

#include "Noise.h"

#include <cstddef>
#include <vector>

namespace VeltaTools {

/// Small building blocks for synthesising the game's sounds. Signals are
/// mono float samples at SAMPLE_RATE, nominally within -1..1.
namespace Synth {

constexpr int SAMPLE_RATE = 44100;
constexpr float PI = 3.14159265f;

using Signal = std::vector<float>;

/// Frequency of a MIDI note number (69 is A4, 440 Hz).
float noteFrequency(float midiNote);

/// Number of samples in `seconds`.
std::size_t samples(float seconds);

/// Resonant two-pole filter (the common biquad designs).
class Biquad {
public:
    static Biquad lowPass(float frequency, float q = 0.707f);
    static Biquad highPass(float frequency, float q = 0.707f);
    static Biquad bandPass(float frequency, float q);

    float process(float x);
    /// Retunes the filter keeping its state (for sweeps).
    void setLowPass(float frequency, float q = 0.707f);
    void setBandPass(float frequency, float q);

private:
    void set(float b0, float b1, float b2, float a0, float a1, float a2);

    float mB0 = 1, mB1 = 0, mB2 = 0, mA1 = 0, mA2 = 0;
    float mX1 = 0, mX2 = 0, mY1 = 0, mY2 = 0;
};

/// Adds `source` into `target` starting at sample `offset`, scaled by `gain`;
/// with `wrap` the part past the end continues at the start (for loops).
void mixInto(Signal& target, const Signal& source, std::size_t offset, float gain, bool wrap = false);

/// Attack-decay envelope value at time t (seconds): linear attack, then
/// exponential decay with the given time constant.
float attackDecay(float t, float attack, float decay);

/// Scales the signal so its peak is `peak`.
void normalise(Signal& signal, float peak);
/// Fades the first and last `seconds` in and out (raised cosine).
void fadeEnds(Signal& signal, float seconds);
/// Makes a loop of `length` samples from a signal rendered `fade` samples
/// longer: the extra tail is cross-faded into the start, so the last sample
/// runs on into the first one. Equal-power weights suit noisy signals.
Signal loopCrossfade(const Signal& longer, std::size_t length, std::size_t fade);

/// A plucked or blown tone: sum of harmonics with a per-harmonic roll-off,
/// optional vibrato, shaped by an attack-decay envelope and a release at
/// `duration`.
Signal tone(float frequency, float duration, float attack, float decay, float brightness, float vibrato = 0.0f,
            float release = 0.03f);

} // namespace Synth

} // namespace VeltaTools
