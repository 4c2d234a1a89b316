#pragma once

#include <cstdint>

namespace VeltaTools {

/// Integer hash of a lattice point and a seed; the base of every random
/// choice in the generator, so the content is the same on every run.
std::uint32_t hash3(std::int32_t x, std::int32_t y, std::uint32_t seed);
/// Hash mapped to [0, 1).
float hashUnit(std::int32_t x, std::int32_t y, std::uint32_t seed);

/// Smooth value noise in [0, 1] on a lattice of one unit. A positive `period`
/// makes it wrap every `period` units on both axes (tileable textures).
float valueNoise(float x, float y, std::uint32_t seed, int period = 0);
/// Sum of `octaves` value noise layers, each twice the frequency and half the
/// weight of the one before; result in [0, 1].
float fractalNoise(float x, float y, std::uint32_t seed, int octaves, int period = 0);

/// Deterministic pseudo-random sequence (xorshift) for the sound synthesis.
class Random {
public:
    explicit Random(std::uint32_t seed) : mState(seed ? seed : 0x9E3779B9u) {}
    std::uint32_t next();
    /// Uniform in [0, 1).
    float unit();
    /// Uniform in [-1, 1).
    float signedUnit() { return unit() * 2.0f - 1.0f; }

private:
    std::uint32_t mState;
};

} // namespace VeltaTools
