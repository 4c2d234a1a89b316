#include "WaveOutput.h"

#include "SoundTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>

namespace SoundTest {

namespace {

const int kRate = 44100;
const int kWindowFrames = kRate / 100;
/// RMS above which a window counts as heard.
const double kHeard = 0.02;

std::string wavePath()
{
    return scratchDirectory() + "/output.wav";
}

/// OpenAL reads its configuration once per process, before the first device.
class WaveEnvironment : public testing::Environment {
public:
    void SetUp() override
    {
        const std::string config = scratchDirectory() + "/alsoft.conf";
        std::ofstream(config) << "[general]\ndrivers = wave\nchannels = stereo\nsample-type = float32\n"
                              << "frequency = " << kRate << "\nstereo-mode = speakers\nhrtf = false\n"
                              << "output-limiter = false\ndither = false\nsources = " << WaveOutput::kSources
                              << "\n[wave]\nfile = " << wavePath() << "\n";
        ::setenv("ALSOFT_CONF", config.c_str(), 1);
        ::unsetenv("ALSOFT_DRIVERS");
    }
};

const testing::Environment* const gWaveEnvironment = testing::AddGlobalTestEnvironment(new WaveEnvironment());

std::uint32_t le32(const unsigned char* p)
{
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

} // namespace

WaveOutput WaveOutput::read()
{
    WaveOutput output;
    std::ifstream in(wavePath(), std::ios::binary);
    const std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::size_t at = 12;
    while (at + 8 <= bytes.size() && std::memcmp(&bytes[at], "data", 4) != 0) {
        at += 8 + le32(&bytes[at + 4]);
    }
    if (at + 8 > bytes.size()) {
        return output;
    }
    const std::size_t frames = std::min<std::size_t>(le32(&bytes[at + 4]), bytes.size() - at - 8) / 8;
    const unsigned char* data = &bytes[at + 8];
    for (std::size_t start = 0; start + kWindowFrames <= frames; start += kWindowFrames) {
        for (int channel = 0; channel < 2; ++channel) {
            double sum = 0.0;
            for (std::size_t i = start; i < start + kWindowFrames; ++i) {
                float sample = 0.0f;
                std::memcpy(&sample, data + i * 8 + channel * 4, 4);
                sum += static_cast<double>(sample) * sample;
            }
            output.mWindows[channel].push_back(std::sqrt(sum / kWindowFrames));
        }
    }
    return output;
}

double WaveOutput::rms(int channel, int fromMs, int toMs) const
{
    double sum = 0.0;
    int count = 0;
    for (int w = std::max(fromMs / 10, 0); w < toMs / 10 && w < static_cast<int>(mWindows[channel].size()); ++w) {
        sum += mWindows[channel][w] * mWindows[channel][w];
        ++count;
    }
    return count ? std::sqrt(sum / count) : 0.0;
}

bool WaveOutput::isHeard(int window) const
{
    return std::max(mWindows[0][window], mWindows[1][window]) > kHeard;
}

int WaveOutput::firstHeardMs(int fromMs) const
{
    for (int w = std::max(fromMs / 10, 0); w < static_cast<int>(mWindows[0].size()); ++w) {
        if (isHeard(w)) {
            return w * 10;
        }
    }
    return -1;
}

bool WaveOutput::isHeardThroughout(int fromMs, int toMs) const
{
    for (int w = fromMs / 10; w < toMs / 10; ++w) {
        if (w >= static_cast<int>(mWindows[0].size()) || !isHeard(w)) {
            return false;
        }
    }
    return true;
}

bool WaveOutput::isSilent(int fromMs, int toMs) const
{
    return rms(0, fromMs, toMs) == 0.0 && rms(1, fromMs, toMs) == 0.0;
}

} // namespace SoundTest
