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

namespace SoundTest {

namespace {

std::string wavePath()
{
    return scratchDirectory() + "/output.wav";
}

/// Points OpenAL at the wave back end before the first device opens: OpenAL
/// reads its configuration once per process.
class WaveEnvironment : public testing::Environment {
public:
    void SetUp() override
    {
        const std::string config = scratchDirectory() + "/alsoft.conf";
        std::ofstream out(config, std::ios::trunc);
        out << "[general]\n"
               "drivers = wave\n"
               "channels = stereo\n"
               "sample-type = float32\n"
               "frequency = "
            << WaveOutput::kRate
            << "\n"
               "stereo-mode = speakers\n"
               "hrtf = false\n"
               "output-limiter = false\n"
               "dither = false\n"
               "sources = "
            << WaveOutput::kSources
            << "\n"
               "[wave]\n"
               "file = "
            << wavePath() << "\n";
        out.close();
        ::setenv("ALSOFT_CONF", config.c_str(), 1);
        ::unsetenv("ALSOFT_DRIVERS");
    }
};

const testing::Environment* const gWaveEnvironment = testing::AddGlobalTestEnvironment(new WaveEnvironment());

std::uint32_t le32(const unsigned char* p)
{
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

std::uint16_t le16(const unsigned char* p)
{
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

std::size_t toFrame(int ms)
{
    return static_cast<std::size_t>(std::max(ms, 0)) * WaveOutput::kRate / 1000;
}

} // namespace

WaveOutput WaveOutput::read()
{
    WaveOutput output;
    std::ifstream in(wavePath(), std::ios::binary);
    std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (bytes.size() < 12 || std::memcmp(bytes.data(), "RIFF", 4) != 0 || std::memcmp(&bytes[8], "WAVE", 4) != 0) {
        return output;
    }
    int channels = 0;
    int bits = 0;
    for (std::size_t at = 12; at + 8 <= bytes.size();) {
        const std::size_t size = le32(&bytes[at + 4]);
        const unsigned char* body = &bytes[at + 8];
        if (std::memcmp(&bytes[at], "fmt ", 4) == 0 && size >= 16) {
            channels = le16(body + 2);
            bits = le16(body + 14);
        } else if (std::memcmp(&bytes[at], "data", 4) == 0 && channels == 2 && bits == 32) {
            const std::size_t available = std::min(size, bytes.size() - at - 8);
            const std::size_t frames = available / 8;
            output.mLeft.resize(frames);
            output.mRight.resize(frames);
            for (std::size_t i = 0; i < frames; ++i) {
                std::memcpy(&output.mLeft[i], body + i * 8, 4);
                std::memcpy(&output.mRight[i], body + i * 8 + 4, 4);
            }
            break;
        }
        at += 8 + size + (size & 1);
    }
    return output;
}

double WaveOutput::rms(int channel, int fromMs, int toMs) const
{
    const std::vector<float>& samples = channel == 0 ? mLeft : mRight;
    const std::size_t from = std::min(toFrame(fromMs), samples.size());
    const std::size_t to = std::min(toFrame(toMs), samples.size());
    if (to <= from) {
        return 0.0;
    }
    double sum = 0.0;
    for (std::size_t i = from; i < to; ++i) {
        sum += static_cast<double>(samples[i]) * samples[i];
    }
    return std::sqrt(sum / static_cast<double>(to - from));
}

double WaveOutput::peak(int fromMs, int toMs) const
{
    const std::size_t from = std::min(toFrame(fromMs), mLeft.size());
    const std::size_t to = std::min(toFrame(toMs), mLeft.size());
    double largest = 0.0;
    for (std::size_t i = from; i < to; ++i) {
        largest = std::max({largest, std::fabs(static_cast<double>(mLeft[i])), std::fabs(static_cast<double>(mRight[i]))});
    }
    return largest;
}

bool WaveOutput::isAudible(int fromMs) const
{
    return std::max(rms(0, fromMs, fromMs + 10), rms(1, fromMs, fromMs + 10)) > kAudible;
}

int WaveOutput::firstAudibleMs(int fromMs) const
{
    for (int ms = std::max(fromMs, 0); ms + 10 <= getLengthMs(); ++ms) {
        if (isAudible(ms)) {
            return ms;
        }
    }
    return -1;
}

int WaveOutput::lastAudibleMs() const
{
    for (int ms = getLengthMs() - 10; ms >= 0; --ms) {
        if (isAudible(ms)) {
            return ms + 10;
        }
    }
    return -1;
}

bool WaveOutput::isAudibleThroughout(int fromMs, int toMs) const
{
    for (int ms = fromMs; ms + 10 <= toMs; ms += 5) {
        if (!isAudible(ms)) {
            return false;
        }
    }
    return true;
}

int WaveOutput::getLengthMs() const
{
    return static_cast<int>(mLeft.size() * 1000 / kRate);
}

} // namespace SoundTest
