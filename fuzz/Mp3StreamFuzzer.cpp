// Any bytes as an MP3 file: scanned as the sound manager does before it plays
// one, then decoded as a channel streams it (mono for inputs of odd length,
// stereo for the others), rewound and decoded again, a bounded number of
// buffers a pass.
#include "plugins/sound/openal/Mpg123Stream.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <sys/mman.h>
#include <unistd.h>

namespace {

/// Buffers decoded per pass; a file of any length stops there.
const int MAX_BUFFERS = 16;
const std::size_t BUFFER_FRAMES = 1024;

void play(const std::string& path, int channels)
{
    Velta::Mpg123Stream stream;
    if (!stream.open(path, 22050, channels)) {
        return;
    }
    static short pcm[BUFFER_FRAMES * 2];
    for (int pass = 0; pass < 2; ++pass) {
        for (int buffer = 0; buffer < MAX_BUFFERS; ++buffer) {
            std::size_t decoded = 0;
            const Velta::Mpg123Stream::Status status = stream.read(pcm, BUFFER_FRAMES, decoded);
            if (decoded > BUFFER_FRAMES) {
                std::abort();
            }
            if (status != Velta::Mpg123Stream::OK) {
                break;
            }
        }
        if (!stream.rewind()) {
            return;
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // The stream reads a path: an anonymous file in memory keeps the disk out.
    const int file = memfd_create("fuzzed.mp3", MFD_CLOEXEC);
    if (file < 0 || write(file, data, size) != static_cast<ssize_t>(size)) {
        std::abort();
    }
    const std::string path = "/proc/self/fd/" + std::to_string(file);
    Velta::Mpg123Stream::FileInfo info;
    std::string error;
    if (Velta::Mpg123Stream::scan(path, info, error)) {
        if (info.channels < 1 || info.channels > 2 || info.rate <= 0 || info.samples < 0 || info.unplayedBytes < 0) {
            std::abort();
        }
        play(path, size % 2 ? 1 : 2);
    } else if (error.empty()) {
        std::abort();
    }
    close(file);
    return 0;
}
