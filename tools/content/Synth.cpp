#include "Synth.h"

#include <algorithm>
#include <cmath>

namespace VeltaTools::Synth {

float noteFrequency(float midiNote)
{
    return 440.0f * std::pow(2.0f, (midiNote - 69.0f) / 12.0f);
}

std::size_t samples(float seconds)
{
    return static_cast<std::size_t>(std::lround(seconds * SAMPLE_RATE));
}

void Biquad::set(float b0, float b1, float b2, float a0, float a1, float a2)
{
    mB0 = b0 / a0;
    mB1 = b1 / a0;
    mB2 = b2 / a0;
    mA1 = a1 / a0;
    mA2 = a2 / a0;
}

void Biquad::setLowPass(float frequency, float q)
{
    const float w = 2 * PI * std::min(frequency, SAMPLE_RATE * 0.45f) / SAMPLE_RATE;
    const float alpha = std::sin(w) / (2 * q);
    const float c = std::cos(w);
    set((1 - c) / 2, 1 - c, (1 - c) / 2, 1 + alpha, -2 * c, 1 - alpha);
}

void Biquad::setBandPass(float frequency, float q)
{
    const float w = 2 * PI * std::min(frequency, SAMPLE_RATE * 0.45f) / SAMPLE_RATE;
    const float alpha = std::sin(w) / (2 * q);
    const float c = std::cos(w);
    set(alpha, 0, -alpha, 1 + alpha, -2 * c, 1 - alpha);
}

Biquad Biquad::lowPass(float frequency, float q)
{
    Biquad filter;
    filter.setLowPass(frequency, q);
    return filter;
}

Biquad Biquad::highPass(float frequency, float q)
{
    Biquad filter;
    const float w = 2 * PI * std::min(frequency, SAMPLE_RATE * 0.45f) / SAMPLE_RATE;
    const float alpha = std::sin(w) / (2 * q);
    const float c = std::cos(w);
    filter.set((1 + c) / 2, -(1 + c), (1 + c) / 2, 1 + alpha, -2 * c, 1 - alpha);
    return filter;
}

Biquad Biquad::bandPass(float frequency, float q)
{
    Biquad filter;
    filter.setBandPass(frequency, q);
    return filter;
}

float Biquad::process(float x)
{
    const float y = mB0 * x + mB1 * mX1 + mB2 * mX2 - mA1 * mY1 - mA2 * mY2;
    mX2 = mX1;
    mX1 = x;
    mY2 = mY1;
    mY1 = y;
    return y;
}

void mixInto(Signal& target, const Signal& source, std::size_t offset, float gain, bool wrap)
{
    for (std::size_t i = 0; i < source.size(); ++i) {
        std::size_t k = offset + i;
        if (k >= target.size()) {
            if (!wrap || target.empty()) {
                break;
            }
            k %= target.size();
        }
        target[k] += source[i] * gain;
    }
}

float attackDecay(float t, float attack, float decay)
{
    if (t < 0) {
        return 0;
    }
    if (t < attack) {
        return t / attack;
    }
    return std::exp(-(t - attack) / decay);
}

void normalise(Signal& signal, float peak)
{
    float highest = 0;
    for (float s : signal) {
        highest = std::max(highest, std::abs(s));
    }
    if (highest > 0) {
        for (float& s : signal) {
            s *= peak / highest;
        }
    }
}

void fadeEnds(Signal& signal, float seconds)
{
    const std::size_t n = std::min(samples(seconds), signal.size() / 2);
    for (std::size_t i = 0; i < n; ++i) {
        const float w = 0.5f - 0.5f * std::cos(PI * static_cast<float>(i) / static_cast<float>(n));
        signal[i] *= w;
        signal[signal.size() - 1 - i] *= w;
    }
}

Signal loopCrossfade(const Signal& longer, std::size_t length, std::size_t fade)
{
    Signal loop(longer.begin(), longer.begin() + static_cast<std::ptrdiff_t>(length));
    for (std::size_t k = 0; k < fade; ++k) {
        const float t = static_cast<float>(k) / static_cast<float>(fade);
        const float in = std::sin(0.5f * PI * t);
        const float out = std::cos(0.5f * PI * t);
        loop[k] = longer[k] * in + longer[length + k] * out;
    }
    return loop;
}

Signal tone(float frequency, float duration, float attack, float decay, float brightness, float vibrato,
            float release)
{
    const std::size_t n = samples(duration + release);
    Signal out(n, 0.0f);
    double phase = 0.0;
    const int harmonics = std::max(1, std::min(12, static_cast<int>(SAMPLE_RATE * 0.45f / frequency)));
    for (std::size_t i = 0; i < n; ++i) {
        const float t = static_cast<float>(i) / SAMPLE_RATE;
        const float wobble = 1.0f + vibrato * std::sin(2 * PI * 5.5f * t) * std::min(1.0f, t * 3);
        phase += 2.0 * PI * frequency * wobble / SAMPLE_RATE;
        float v = 0.0f;
        float weight = 1.0f;
        for (int h = 1; h <= harmonics; ++h) {
            v += weight * static_cast<float>(std::sin(phase * h));
            weight *= brightness;
        }
        float envelope = attackDecay(t, attack, decay);
        if (t > duration) {
            envelope *= std::max(0.0f, 1.0f - (t - duration) / release);
        }
        out[i] = v * envelope;
    }
    return out;
}

} // namespace VeltaTools::Synth
