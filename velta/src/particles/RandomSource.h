#pragma once

#include "VeltaExport.h"

namespace Velta {

/// A small pseudo-random sequence with the classic range 0 … MAX. Each
/// particle store has its own, so an effect seeded with a fixed value
/// repeats exactly, and effects neither disturb nor are disturbed by other
/// users of the runtime's generator.
class VELTA_EXPORT RandomSource {
public:
    /// Largest value next() answers.
    static constexpr int MAX = 32767;

    explicit RandomSource(unsigned int seed = 1) : mState(seed) {}

    /// Restarts the sequence; equal seeds give equal sequences.
    void seed(unsigned int seed) { mState = seed; }

    /// The next value, 0 … MAX.
    int next();

private:
    unsigned int mState;
};

} // namespace Velta
