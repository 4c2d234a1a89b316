#include "plugins/sound/openal/Mpg123Stream.h"

#include <mpg123.h>

#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace Velta {

namespace {

/// Consecutive decoder calls that may produce nothing before a stream counts
/// as stuck (a few are normal around a format change).
const int kMaxIdleReads = 16;

/// An ID3 version 1 tag: 128 bytes starting with "TAG" at the end of a file.
const long long kId3v1Size = 128;

/// Bytes read from the file at a time. The decoder asks for a few bytes at
/// a time, and for one at a time while it looks for a frame in damaged data:
/// unbuffered, each of those is a system call.
const std::size_t kReadBufferSize = 16384;

mpg123_ssize_t readBuffered(void* handle, void* buffer, std::size_t size)
{
    std::FILE* file = static_cast<std::FILE*>(handle);
    const std::size_t got = std::fread(buffer, 1, size, file);
    return got == 0 && std::ferror(file) ? -1 : static_cast<mpg123_ssize_t>(got);
}

off_t seekBuffered(void* handle, off_t offset, int whence)
{
    std::FILE* file = static_cast<std::FILE*>(handle);
    return ::fseeko(file, offset, whence) == 0 ? ::ftello(file) : -1;
}

/// `path` opened for reading through `buffer` (kReadBufferSize bytes, which
/// must outlive the file); null with `error` set when it cannot be opened.
std::FILE* openFile(const std::string& path, char* buffer, std::string& error)
{
    std::FILE* file = std::fopen(path.c_str(), "rbe");  // "e": closed on exec
    if (!file) {
        error = std::strerror(errno);
        return nullptr;
    }
    std::setvbuf(file, buffer, _IOFBF, kReadBufferSize);
    return file;
}

/// Starts decoding `file` through its buffer.
int openDecoder(mpg123_handle* handle, std::FILE* file)
{
    const int replaced = mpg123_replace_reader_handle(handle, readBuffered, seekBuffered, nullptr);
    return replaced == MPG123_OK ? mpg123_open_handle(handle, file) : replaced;
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

bool scanOpen(mpg123_handle* handle, std::FILE* file, Mpg123Stream::FileInfo& info, std::string& error)
{
    if (!allowAllRates(handle) || openDecoder(handle, file) != MPG123_OK) {
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
    if (framed && ::fstat(fileno(file), &status) == 0) {
        mpg123_frameinfo frame = {};
        mpg123_info(handle, &frame);
        const long long end = static_cast<long long>(mpg123_framepos(handle)) + frame.framesize;
        const long long rest = static_cast<long long>(status.st_size) - end;
        info.unplayedBytes = rest > 0 && !isId3v1Tag(fileno(file), status.st_size, rest) ? rest : 0;
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
    std::vector<char> buffer(kReadBufferSize);
    std::FILE* file = openFile(path, buffer.data(), error);
    if (!file) {
        return false;
    }
    mpg123_handle* handle = newDecoder(error);
    const bool scanned = handle && scanOpen(handle, file, info, error);
    if (handle) {
        mpg123_close(handle);
        mpg123_delete(handle);
    }
    std::fclose(file);
    return scanned;
}

bool Mpg123Stream::open(const std::string& path, long rate, int channels)
{
    close();
    mError.clear();
    if (!prepare(rate, channels)) {
        return false;
    }
    mReadBuffer.resize(kReadBufferSize);
    mFile = openFile(path, mReadBuffer.data(), mError);
    if (!mFile) {
        return false;
    }
    if (openDecoder(mHandle, mFile) != MPG123_OK) {
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
    if (mFile) {
        std::fclose(mFile);
        mFile = nullptr;
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
