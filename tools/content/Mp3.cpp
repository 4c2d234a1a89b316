#include "Mp3.h"

#include "Synth.h"

#include <lame/lame.h>
#include <mpg123.h>

#include <algorithm>
#include <memory>

namespace VeltaTools {

std::vector<std::uint8_t> encodeMp3(const std::vector<float>& samples, int kbps)
{
    std::unique_ptr<lame_global_flags, int (*)(lame_global_flags*)> lame(lame_init(), lame_close);
    if (!lame) {
        return {};
    }
    lame_global_flags* gf = lame.get();
    lame_set_in_samplerate(gf, Synth::SAMPLE_RATE);
    lame_set_out_samplerate(gf, Synth::SAMPLE_RATE);
    lame_set_num_channels(gf, 1);
    lame_set_mode(gf, MONO);
    lame_set_brate(gf, kbps);
    lame_set_quality(gf, 2);
    lame_set_bWriteVbrTag(gf, 1);
    if (lame_init_params(gf) < 0) {
        return {};
    }

    std::vector<float> scaled(samples.size());
    for (std::size_t i = 0; i < samples.size(); ++i) {
        scaled[i] = std::clamp(samples[i], -1.0f, 1.0f);
    }
    std::vector<std::uint8_t> out;
    std::vector<unsigned char> buffer(scaled.size() * 5 / 4 + 7200);
    const int chunk = 8192;
    for (std::size_t start = 0; start < scaled.size(); start += chunk) {
        const int count = static_cast<int>(std::min<std::size_t>(chunk, scaled.size() - start));
        const int written = lame_encode_buffer_ieee_float(gf, scaled.data() + start, scaled.data() + start, count,
                                                          buffer.data(), static_cast<int>(buffer.size()));
        if (written < 0) {
            return {};
        }
        out.insert(out.end(), buffer.begin(), buffer.begin() + written);
    }
    const int flushed = lame_encode_flush(gf, buffer.data(), static_cast<int>(buffer.size()));
    if (flushed < 0) {
        return {};
    }
    out.insert(out.end(), buffer.begin(), buffer.begin() + flushed);

    // The encoder left room for its info frame at the start; fill it in now
    // that the delay, padding and length are known.
    std::vector<unsigned char> tag(2880);
    const std::size_t tagSize = lame_get_lametag_frame(gf, tag.data(), tag.size());
    if (tagSize > 0 && tagSize <= out.size()) {
        std::copy(tag.begin(), tag.begin() + static_cast<std::ptrdiff_t>(tagSize), out.begin());
    }
    return out;
}

bool decodeMp3(const std::vector<std::uint8_t>& bytes, std::vector<float>& samples, long& sampleRate)
{
    samples.clear();
    if (mpg123_init() != MPG123_OK) {
        return false;
    }
    int error = 0;
    std::unique_ptr<mpg123_handle, void (*)(mpg123_handle*)> handle(mpg123_new(nullptr, &error), mpg123_delete);
    if (!handle) {
        return false;
    }
    mpg123_handle* mh = handle.get();
    mpg123_param(mh, MPG123_FLAGS, MPG123_GAPLESS | MPG123_QUIET, 0.0);
    mpg123_format_none(mh);
    for (long rate : {44100L, 22050L, 48000L}) {
        mpg123_format(mh, rate, MPG123_MONO | MPG123_STEREO, MPG123_ENC_FLOAT_32);
    }
    if (mpg123_open_feed(mh) != MPG123_OK) {
        return false;
    }
    std::vector<unsigned char> out(16384);
    size_t done = 0;
    int channels = 1;
    int encoding = 0;
    int result = mpg123_decode(mh, bytes.data(), bytes.size(), out.data(), out.size(), &done);
    for (;;) {
        if (result == MPG123_NEW_FORMAT) {
            mpg123_getformat(mh, &sampleRate, &channels, &encoding);
        }
        const float* decoded = reinterpret_cast<const float*>(out.data());
        const std::size_t count = done / sizeof(float);
        for (std::size_t i = 0; i + static_cast<std::size_t>(channels) <= count; i += static_cast<std::size_t>(channels)) {
            samples.push_back(decoded[i]);
        }
        if (result == MPG123_ERR || result == MPG123_NEED_MORE) {
            break;
        }
        result = mpg123_decode(mh, nullptr, 0, out.data(), out.size(), &done);
    }
    return result != MPG123_ERR && !samples.empty();
}

} // namespace VeltaTools
