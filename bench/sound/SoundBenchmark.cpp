// The sound engine's per-frame update with 20 streamed channels playing,
// against the same update with none. Output goes to OpenAL's null device,
// which consumes it in real time, so frames are paced at 60 per second; the
// time reported is that of the update calls alone (the sleep between frames
// is not counted).
#include "core/SilentLogger.h"
#include "plugins/sound/openal/OpenALSoundEngine.h"
#include "sound/SoundChannel.h"
#include "sound/SoundSource.h"

#include <benchmark/benchmark.h>
#include <lame/lame.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

/// Two seconds of a stereo chord as a 128 kbit/s MP3, written once.
std::string musicFile()
{
    static const std::string path = "/tmp/velta-sound-bench-" + std::to_string(::getpid()) + ".mp3";
    static bool written = false;
    if (written) {
        return path;
    }
    const int rate = 44100;
    const int samples = rate * 2;
    std::vector<short> left(samples);
    std::vector<short> right(samples);
    for (int i = 0; i < samples; ++i) {
        const double t = static_cast<double>(i) / rate;
        left[i] = static_cast<short>(8000 * (std::sin(2 * M_PI * 220 * t) + std::sin(2 * M_PI * 330 * t)));
        right[i] = static_cast<short>(8000 * (std::sin(2 * M_PI * 277 * t) + std::sin(2 * M_PI * 440 * t)));
    }
    lame_t lame = lame_init();
    lame_set_in_samplerate(lame, rate);
    lame_set_num_channels(lame, 2);
    lame_set_brate(lame, 128);
    lame_init_params(lame);
    std::vector<unsigned char> mp3(samples * 2 + 16384);
    const int body = lame_encode_buffer(lame, left.data(), right.data(), samples, mp3.data(), static_cast<int>(mp3.size()));
    const int tail = lame_encode_flush(lame, mp3.data() + body, static_cast<int>(mp3.size()) - body);
    lame_close(lame);
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(mp3.data()), body + tail);
    written = true;
    return path;
}

/// One 60 Hz frame: the timed update, then a sleep to the next frame.
void runFrames(benchmark::State& state, Velta::OpenALSoundEngine& engine)
{
    const auto frame = std::chrono::microseconds(16667);
    auto next = std::chrono::steady_clock::now() + frame;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        benchmark::DoNotOptimize(engine.update(0));
        state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        std::this_thread::sleep_until(next);
        next += frame;
    }
}

void BM_SoundUpdate(benchmark::State& state)
{
    // OpenAL reads this once, before its first device opens.
    ::setenv("ALSOFT_DRIVERS", "null", 1);
    Velta::OpenALSoundEngine engine(CppLib::SharedPtr<CppLib::Logger>(new Velta::SilentLogger()));
    if (!engine.initialize()) {
        state.SkipWithError("no OpenAL null device");
        return;
    }
    const int count = static_cast<int>(state.range(0));
    std::vector<CppLib::SharedPtr<Velta::SoundChannel>> channels;
    for (int i = 0; i < count; ++i) {
        const bool positional = i % 2 == 0;
        CppLib::SharedPtr<Velta::SoundSource> source =
            engine.createSoundSource({"music.mp3", musicFile(), "mp3"}, positional);
        channels.push_back(engine.createChannel(source));
        channels.back()->setRepeat(true);
        channels.back()->set3DAttributes(CppLib::TVector<float, 3>(static_cast<float>(i), 0.0f, 2.0f),
                                         CppLib::TVector<float, 3>());
        channels.back()->play();
    }
    runFrames(state, engine);
    int playing = 0;
    for (auto& channel : channels) {
        playing += channel->isPlaying() ? 1 : 0;
    }
    state.counters["playing"] = playing;
}
BENCHMARK(BM_SoundUpdate)->Arg(0)->Arg(20)->Iterations(300)->UseManualTime()->Unit(benchmark::kMicrosecond);

} // namespace
