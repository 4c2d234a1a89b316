#include "Mp3.h"
#include "Sounds.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

using namespace VeltaTools;

namespace {

/// Largest sample jump a listener would not hear as a click at the loop point.
constexpr float CLICK = 0.05f;

} // namespace

TEST(SoundLoops, LoopsJoinWithoutAJumpAndEffectsAreShortAudibleAndStartAndEndSilent)
{
    int loops = 0;
    for (const SoundClip& clip : makeSounds()) {
        SCOPED_TRACE(clip.file);
        if (clip.loops) {
            ++loops;
            std::vector<float> decoded;
            long rate = 0;
            ASSERT_TRUE(decodeMp3(encodeMp3(clip.samples, clip.kbps), decoded, rate));
            EXPECT_EQ(rate, Synth::SAMPLE_RATE);
            // Encoder delay and padding are trimmed: no gap of silence at the loop point.
            ASSERT_EQ(decoded.size(), clip.samples.size());
            EXPECT_LT(std::abs(decoded.back() - decoded.front()), CLICK);
            EXPECT_LT(std::abs(clip.samples.back() - clip.samples.front()), CLICK / 5);
            continue;
        }
        float peak = 0;
        for (float s : clip.samples) {
            peak = std::max(peak, std::abs(s));
        }
        EXPECT_GT(peak, 0.5f);
        EXPECT_LE(peak, 1.0f);
        EXPECT_LT(clip.samples.size(), static_cast<std::size_t>(3 * Synth::SAMPLE_RATE));
        // Starting or cutting an effect never clicks.
        EXPECT_LT(std::abs(clip.samples.front()), 0.01f);
        EXPECT_LT(std::abs(clip.samples.back()), 0.01f);
    }
    EXPECT_EQ(loops, 3); // ambience, music, breathing
}
