#include "SoundTestSupport.h"

#include "plugins/sound/openal/OpenALSoundEngine.h"

#include <lame/lame.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>
#include <unistd.h>

namespace SoundTest {

std::vector<unsigned char> encodeTone(const Tone& tone)
{
    const std::size_t samples = static_cast<std::size_t>(tone.rate * tone.seconds);
    std::vector<short> pcm(samples);
    const double pi = std::acos(-1.0);
    for (std::size_t i = 0; i < samples; ++i) {
        pcm[i] = static_cast<short>(32767.0 * tone.amplitude *
                                    std::sin(2.0 * pi * tone.frequency * static_cast<double>(i) / tone.rate));
    }
    lame_t lame = lame_init();
    lame_set_in_samplerate(lame, static_cast<int>(tone.rate));
    lame_set_out_samplerate(lame, static_cast<int>(tone.rate));
    lame_set_num_channels(lame, tone.channels);
    lame_set_mode(lame, tone.channels == 1 ? MONO : STEREO);
    lame_set_brate(lame, 128);
    lame_set_quality(lame, 2);
    lame_init_params(lame);

    std::vector<unsigned char> mp3(samples * 5 / 4 + 7200 + 16384);
    const int body = lame_encode_buffer(lame, pcm.data(), pcm.data(), static_cast<int>(samples), mp3.data(),
                                        static_cast<int>(mp3.size()));
    const int tail = lame_encode_flush(lame, mp3.data() + body, static_cast<int>(mp3.size()) - body);
    mp3.resize(static_cast<std::size_t>(body + tail));
    // The first frame is a placeholder for the tag that tells a decoder the
    // encoder's delay and padding; it is written last.
    unsigned char tag[2880];
    const std::size_t tagSize = lame_get_lametag_frame(lame, tag, sizeof tag);
    if (tagSize > 0 && tagSize <= mp3.size()) {
        std::copy(tag, tag + tagSize, mp3.begin());
    }
    lame_close(lame);
    return mp3;
}

void writeFile(const std::string& path, const std::vector<unsigned char>& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

Velta::NameMapper::ResourceInfo soundFile(const std::string& name, const std::vector<unsigned char>& bytes)
{
    const std::string path = scratchDirectory() + "/" + name;
    writeFile(path, bytes);
    return {name, path, "mp3"};
}

namespace {

struct ScratchDirectory {
    ScratchDirectory()
        : path((std::filesystem::temp_directory_path() / ("velta-sound-" + std::to_string(::getpid()))).string())
    {
        std::filesystem::create_directories(path);
    }
    ~ScratchDirectory()
    {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
    std::string path;
};

} // namespace

const std::string& scratchDirectory()
{
    static ScratchDirectory directory;
    return directory.path;
}

void pumpUntil(Velta::OpenALSoundEngine& engine, std::chrono::steady_clock::time_point deadline)
{
    while (std::chrono::steady_clock::now() < deadline) {
        engine.update(0);
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

void pump(Velta::OpenALSoundEngine& engine, int ms)
{
    pumpUntil(engine, std::chrono::steady_clock::now() + std::chrono::milliseconds(ms));
}

} // namespace SoundTest
