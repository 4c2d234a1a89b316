#include "plugins/sound/openal/Mpg123Stream.h"

#include <mpg123.h>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace Velta {

namespace {

/// Consecutive decoder calls that may produce nothing before a stream counts
/// as stuck (a few are normal around a format change).
const int kMaxIdleReads = 16;

/// An ID3 version 1 tag: 128 bytes starting with "TAG" at the end of a file.
const long long kId3v1Size = 128;

int openFile(const std::string& path, std::string& error)
{
    const int file = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (file < 0) {
        error = std::strerror(errno);
    }
    return file;
}

/// A decoder that prints nothing and takes input from `file`, allowing
/// 16-bit output at every rate it knows (format 0: mono and stereo).
mpg123_handle* newDecoder(std::string& error)
{
    int result = MPG123_OK;
    mpg123_handle* handle = mpg123_new(nullptr, &result);
    if (!handle) {
        error = mpg123_plain_strerror(result);
        return nullptr;
    }
    mpg123_param(handle, MPG123_ADD_FLAGS, MPG123_QUIET, 0.0);
    return handle;
}

bool allowAllRates(mpg123_handle* handle)
{
    const long* rates = nullptr;
    std::size_t count = 0;
    mpg123_rates(&rates, &count);
    mpg123_format_none(handle);
    for (std::size_t i = 0; i < count; ++i) {
        if (mpg123_format(handle, rates[i], MPG123_MONO | MPG123_STEREO, MPG123_ENC_SIGNED_16) != MPG123_OK) {
            return false;
        }
    }
    return true;
}

/// True when the `size` bytes at the end of `file` are an ID3v1 tag.
bool isId3v1Tag(int file, long long fileSize, long long size)
{
    if (size != kId3v1Size) {
        return false;
    }
    char tag[3] = {};
    return ::pread(file, tag, sizeof tag, static_cast<off_t>(fileSize - size)) == 3 &&
           std::memcmp(tag, "TAG", 3) == 0;
}

bool scanOpen(mpg123_handle* handle, int file, Mpg123Stream::FileInfo& info, std::string& error)
{
    if (!allowAllRates(handle) || mpg123_open_fd(handle, file) != MPG123_OK) {
        error = mpg123_strerror(handle);
        return false;
    }
    long rate = 0;
    int channels = 0;
    int encoding = 0;
    const int format = mpg123_getformat(handle, &rate, &channels, &encoding);
    if (format == MPG123_DONE) {
        error = "no MPEG audio frames found";
        return false;
    }
    if (format != MPG123_OK) {
        error = mpg123_strerror(handle);
        return false;
    }
    info.rate = rate;
    info.channels = channels;

    // Walk the frame headers to the end: where the last whole frame ends
    // tells whether the file was cut off inside a frame.
    int result = MPG123_OK;
    bool framed = false;
    while ((result = mpg123_framebyframe_next(handle)) == MPG123_OK || result == MPG123_NEW_FORMAT) {
        framed = true;
    }
    if (result != MPG123_DONE) {
        error = mpg123_strerror(handle);
        return false;
    }
    struct stat status = {};
    if (framed && ::fstat(file, &status) == 0) {
        mpg123_frameinfo frame = {};
        mpg123_info(handle, &frame);
        const long long end = static_cast<long long>(mpg123_framepos(handle)) + frame.framesize;
        const long long rest = static_cast<long long>(status.st_size) - end;
        info.unplayedBytes = rest > 0 && !isId3v1Tag(file, status.st_size, rest) ? rest : 0;
    }
    const off_t samples = mpg123_length(handle);
    info.samples = samples > 0 ? static_cast<long long>(samples) : 0;
    return true;
}

} // namespace

Mpg123Stream::Mpg123Stream() = default;

Mpg123Stream::~Mpg123Stream()
{
    close();
    if (mHandle) {
        mpg123_delete(mHandle);
    }
}

bool Mpg123Stream::scan(const std::string& path, FileInfo& info, std::string& error)
{
    info = FileInfo();
    const int file = openFile(path, error);
    if (file < 0) {
        return false;
    }
    mpg123_handle* handle = newDecoder(error);
    const bool scanned = handle && scanOpen(handle, file, info, error);
    if (handle) {
        mpg123_close(handle);
        mpg123_delete(handle);
    }
    ::close(file);
    return scanned;
}

bool Mpg123Stream::open(const std::string& path, long rate, int channels)
{
    close();
    mError.clear();
    if (!prepare(rate, channels)) {
        return false;
    }
    mFile = openFile(path, mError);
    if (mFile < 0) {
        return false;
    }
    if (mpg123_open_fd(mHandle, mFile) != MPG123_OK) {
        fail(mpg123_strerror(mHandle));
        close();
        return false;
    }
    mChannels = channels;
    return true;
}

void Mpg123Stream::close()
{
    if (mHandle) {
        mpg123_close(mHandle);
    }
    if (mFile >= 0) {
        ::close(mFile);
        mFile = -1;
    }
}

bool Mpg123Stream::rewind()
{
    if (!isOpen()) {
        fail("no file open");
        return false;
    }
    if (mpg123_seek(mHandle, 0, SEEK_SET) < 0) {
        fail(mpg123_strerror(mHandle));
        return false;
    }
    return true;
}

Mpg123Stream::Status Mpg123Stream::read(short* pcm, std::size_t frames, std::size_t& decoded)
{
    decoded = 0;
    if (!isOpen()) {
        fail("no file open");
        return FAILED;
    }
    const std::size_t frameBytes = sizeof(short) * static_cast<std::size_t>(mChannels);
    unsigned char* out = reinterpret_cast<unsigned char*>(pcm);
    std::size_t wanted = frames * frameBytes;
    std::size_t filled = 0;
    int idle = 0;
    while (filled < wanted) {
        std::size_t done = 0;
        const int result = mpg123_read(mHandle, out + filled, wanted - filled, &done);
        filled += done;
        if (result == MPG123_DONE) {
            decoded = filled / frameBytes;
            return END;
        }
        if (result != MPG123_OK && result != MPG123_NEW_FORMAT) {
            decoded = filled / frameBytes;
            fail(mpg123_strerror(mHandle));
            return FAILED;
        }
        idle = done ? 0 : idle + 1;
        if (idle > kMaxIdleReads) {
            decoded = filled / frameBytes;
            fail("the decoder makes no progress");
            return FAILED;
        }
    }
    decoded = filled / frameBytes;
    return OK;
}

bool Mpg123Stream::prepare(long rate, int channels)
{
    if (!mHandle) {
        mHandle = newDecoder(mError);
        if (!mHandle) {
            return false;
        }
    }
    // Only the one format is allowed: the decoder mixes stereo down to mono
    // and resamples frames of another rate to it.
    mpg123_format_none(mHandle);
    if (mpg123_format(mHandle, rate, channels == 1 ? MPG123_MONO : MPG123_STEREO, MPG123_ENC_SIGNED_16) !=
        MPG123_OK) {
        fail(mpg123_strerror(mHandle));
        return false;
    }
    return true;
}

void Mpg123Stream::fail(const char* text)
{
    mError = text;
}

} // namespace Velta
