#pragma once

#include <cstdint>
#include <vector>

namespace VeltaTools {

/// Encodes mono float samples (44.1 kHz) as a constant-bit-rate MP3 with an
/// encoder info frame at its start, which tells gapless decoders the
/// encoder's delay and padding, so a loop decodes to exactly its samples.
/// Returns an empty vector when the encoder fails.
std::vector<std::uint8_t> encodeMp3(const std::vector<float>& samples, int kbps);

/// Decodes an MP3 (gapless) to mono float samples; false when it cannot be
/// decoded. `sampleRate` receives the stream's rate.
bool decodeMp3(const std::vector<std::uint8_t>& bytes, std::vector<float>& samples, long& sampleRate);

} // namespace VeltaTools
