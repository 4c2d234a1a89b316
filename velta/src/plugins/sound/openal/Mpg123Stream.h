#pragma once

#include "VeltaExport.h"

#include <cstddef>
#include <cstdio>
#include <string>
#include <vector>

struct mpg123_handle_struct;

namespace Velta {

/// Decodes one MP3 file a piece at a time into interleaved signed 16-bit PCM
/// of one fixed format, so that a file of any length plays from a small
/// buffer. Owns its decoder and its open file; one per playing channel.
class VELTA_EXPORT Mpg123Stream {
public:
    /// What a pass over the frame headers of a whole file found.
    struct VELTA_EXPORT FileInfo {
        long rate = 0;                ///< samples per second of the first frame
        int channels = 0;             ///< 1 or 2
        long long samples = 0;        ///< PCM frames, encoder delay and padding removed
        long long unplayedBytes = 0;  ///< bytes after the last whole frame: 0 for a whole file
    };

    enum Status {
        OK,     ///< more may follow
        END,    ///< the file has no more samples
        FAILED  ///< the decoder failed; getError() says why
    };

    Mpg123Stream();
    ~Mpg123Stream();

    Mpg123Stream(const Mpg123Stream&) = delete;
    Mpg123Stream& operator=(const Mpg123Stream&) = delete;

    /// Reads the header of every frame of the file at the native `path`
    /// without decoding it. False, with the reason in `error`, when the file
    /// cannot be opened or holds no MPEG audio.
    static bool scan(const std::string& path, FileInfo& info, std::string& error);

    /// Opens the native `path` for decoding at `rate` with `channels` (1 mixes
    /// stereo down). Closes what was open before. False, with getError().
    bool open(const std::string& path, long rate, int channels);

    void close();

    bool isOpen() const { return mFile != nullptr; }

    /// Back to the first sample.
    bool rewind();

    /// Decodes up to `frames` PCM frames (frames × channels samples) into
    /// `pcm`; `decoded` tells how many frames were written, also with END.
    /// Allocates nothing.
    Status read(short* pcm, std::size_t frames, std::size_t& decoded);

    /// The decoder's text for the last failure of open(), rewind() or read().
    const std::string& getError() const { return mError; }

private:
    /// The file's decoder, created on first use, allowed only 16-bit output at
    /// `rate` with `channels`.
    bool prepare(long rate, int channels);
    void fail(const char* text);

    mpg123_handle_struct* mHandle = nullptr;
    /// The open file, read through mReadBuffer.
    std::FILE* mFile = nullptr;
    std::vector<char> mReadBuffer;
    int mChannels = 0;
    std::string mError;
};

} // namespace Velta
