#include "Noise.h"

#include <cmath>

namespace VeltaTools {

std::uint32_t hash3(std::int32_t x, std::int32_t y, std::uint32_t seed)
{
    std::uint32_t h = seed * 0x27D4EB2Du;
    h ^= static_cast<std::uint32_t>(x) * 0x85EBCA6Bu;
    h = (h << 13) | (h >> 19);
    h ^= static_cast<std::uint32_t>(y) * 0xC2B2AE35u;
    h ^= h >> 16;
    h *= 0x7FEB352Du;
    h ^= h >> 15;
    h *= 0x846CA68Bu;
    h ^= h >> 16;
    return h;
}

float hashUnit(std::int32_t x, std::int32_t y, std::uint32_t seed)
{
    return static_cast<float>(hash3(x, y, seed) >> 8) / 16777216.0f;
}

namespace {

float smooth(float t)
{
    return t * t * t * (t * (t * 6.0f - 15.0f) + 10.0f);
}

std::int32_t wrapped(std::int32_t value, int period)
{
    return period > 0 ? ((value % period) + period) % period : value;
}

} // namespace

float valueNoise(float x, float y, std::uint32_t seed, int period)
{
    const float fx = std::floor(x);
    const float fy = std::floor(y);
    const auto ix = static_cast<std::int32_t>(fx);
    const auto iy = static_cast<std::int32_t>(fy);
    const float tx = smooth(x - fx);
    const float ty = smooth(y - fy);
    const std::int32_t x0 = wrapped(ix, period), x1 = wrapped(ix + 1, period);
    const std::int32_t y0 = wrapped(iy, period), y1 = wrapped(iy + 1, period);
    const float a = hashUnit(x0, y0, seed);
    const float b = hashUnit(x1, y0, seed);
    const float c = hashUnit(x0, y1, seed);
    const float d = hashUnit(x1, y1, seed);
    return (a + (b - a) * tx) + ((c + (d - c) * tx) - (a + (b - a) * tx)) * ty;
}

float fractalNoise(float x, float y, std::uint32_t seed, int octaves, int period)
{
    float sum = 0.0f;
    float weight = 0.5f;
    float total = 0.0f;
    float frequency = 1.0f;
    for (int i = 0; i < octaves; ++i) {
        const int octavePeriod = period > 0 ? period * static_cast<int>(frequency) : 0;
        sum += valueNoise(x * frequency, y * frequency, seed + static_cast<std::uint32_t>(i) * 1013u, octavePeriod) * weight;
        total += weight;
        weight *= 0.5f;
        frequency *= 2.0f;
    }
    return sum / total;
}

std::uint32_t Random::next()
{
    mState ^= mState << 13;
    mState ^= mState >> 17;
    mState ^= mState << 5;
    return mState;
}

float Random::unit()
{
    return static_cast<float>(next() >> 8) / 16777216.0f;
}

} // namespace VeltaTools
