#include "plugins/sound/openal/OpenALSoundChannel.h"

#include "plugins/sound/openal/OpenALSoundSource.h"

#include <AL/al.h>
#include <AL/alext.h>

#include <cmath>
#include <string>

namespace Velta {

namespace {

float clampVolume(float volume)
{
    if (!(volume > 0.0f)) {  // also NaN
        return 0.0f;
    }
    return volume > 1.0f ? 1.0f : volume;
}

/// Inverse-distance attenuation as OpenAL applies it by default (reference
/// distance 1, roll-off 1).
float distanceGain(const CppLib::TVector<float, 3>& from, const CppLib::TVector<float, 3>& to)
{
    const float distance = (to - from).length();
    return distance > 1.0f ? 1.0f / distance : 1.0f;
}

} // namespace

OpenALSoundChannel::OpenALSoundChannel(const CppLib::SharedPtr<OpenALSoundEngine::Link>& link,
                                       CppLib::SharedPtr<SoundSource> source)
    : mLink(link)
{
    updateChannel(source);
}

OpenALSoundChannel::~OpenALSoundChannel()
{
    forget();
}

template <typename Change>
bool OpenALSoundChannel::changeVoice(const char* action, bool forgetOnError, Change change)
{
    engine();
    alGetError();
    change();
    const ALenum error = alGetError();
    if (error == AL_NO_ERROR) {
        return true;
    }
    if (forgetOnError) {
        forget();
    }
    logAlError(action, error);
    return false;
}

bool OpenALSoundChannel::setSoundSource(CppLib::SharedPtr<SoundSource> source)
{
    return updateChannel(source);
}

bool OpenALSoundChannel::setVolume(float volume)
{
    mVolume = clampVolume(volume);
    if (!mVoice) {
        return true;
    }
    return changeVoice("setting volume", false, [this] { alSourcef(mVoice->source, AL_GAIN, getGain()); });
}

bool OpenALSoundChannel::play()
{
    if (!mVoice) {
        // A fresh start plays from the beginning either way.
        if (mSoundSource.isNull() || !updateChannel(mSoundSource)) {
            return false;
        }
        return resume("playing sound");
    }
    if (isPlaying() && isPaused()) {
        return resume("playing sound");
    }
    if (!updateChannel(mSoundSource)) {
        return false;
    }
    return resume("playing reloaded sound");
}

bool OpenALSoundChannel::stop()
{
    if (!mVoice) {
        return false;
    }
    if (!changeVoice("stopping", false, [this] { alSourceStop(mVoice->source); })) {
        return false;
    }
    forget();
    return true;
}

bool OpenALSoundChannel::setPaused(bool paused)
{
    mPaused = paused;
    if (!mVoice) {
        return true;
    }
    return changeVoice("setting paused", true, [this, paused] { setVoicePaused(paused); });
}

bool OpenALSoundChannel::setRepeat(bool repeat)
{
    return setLoopCount(repeat ? -1 : 0);
}

bool OpenALSoundChannel::setMute(bool mute)
{
    mMuted = mute;
    if (!mVoice) {
        return true;
    }
    return changeVoice("setting mute", true, [this] { alSourcef(mVoice->source, AL_GAIN, getGain()); });
}

bool OpenALSoundChannel::setLoopCount(int count)
{
    // Read by the stream each time it reaches the end of the file, so a change
    // applies to the sound that is playing. A short sound may have been
    // decoded to its end already (a channel fills its buffers when the sound
    // is started): with loops now left, decoding goes on from the start.
    mLoopCount = count;
    if (mVoice && mStreamEnded && !mStreamFailed) {
        engine();
        mStreamEnded = !loopAgain();
    }
    return true;
}

bool OpenALSoundChannel::set3DAttributes(const Vector3& position, const Vector3& velocity)
{
    mPosition = position;
    mVelocity = velocity;
    if (!mVoice) {
        return true;
    }
    engine();
    alGetError();
    alSource3f(mVoice->source, AL_POSITION, position.x(), position.y(), position.z());
    alSource3f(mVoice->source, AL_VELOCITY, velocity.x(), velocity.y(), velocity.z());
    if (alGetError() != AL_NO_ERROR) {
        forget();
        return false;
    }
    return true;
}

bool OpenALSoundChannel::isPlaying() const
{
    if (!mVoice) {
        return false;
    }
    engine();
    alGetError();
    ALint state = AL_STOPPED;
    ALint queued = 0;
    ALint processed = 0;
    alGetSourcei(mVoice->source, AL_SOURCE_STATE, &state);
    alGetSourcei(mVoice->source, AL_BUFFERS_QUEUED, &queued);
    alGetSourcei(mVoice->source, AL_BUFFERS_PROCESSED, &processed);
    if (alGetError() != AL_NO_ERROR) {
        forget();
        return false;
    }
    if (state == AL_PLAYING || state == AL_PAUSED) {
        return true;
    }
    // Initial (started paused) or stopped: still playing while buffers wait
    // or the stream has more (a voice that ran dry restarts in update()).
    return queued > processed || !mStreamEnded;
}

void OpenALSoundChannel::service()
{
    const ALuint source = mVoice->source;
    ALint processed = 0;
    alGetSourcei(source, AL_BUFFERS_PROCESSED, &processed);
    for (; processed > 0; --processed) {
        ALuint buffer = 0;
        alSourceUnqueueBuffers(source, 1, &buffer);
        if (!mStreamEnded && fillBuffer(buffer) > 0) {
            alSourceQueueBuffers(source, 1, &buffer);
        }
    }
    ALint state = AL_STOPPED;
    ALint queued = 0;
    alGetSourcei(source, AL_SOURCE_STATE, &state);
    alGetSourcei(source, AL_BUFFERS_QUEUED, &queued);
    if (state == AL_PLAYING || state == AL_PAUSED) {
        return;
    }
    if (queued == 0 && mStreamEnded) {
        forget();  // finished
    } else if (queued > 0 && !mVoicePaused) {
        alSourcePlay(source);  // ran dry before the buffers were refilled
    }
}

float OpenALSoundChannel::getAudibleGain(const Vector3& listener) const
{
    if (!mVoice || mVoicePaused) {
        return 0.0f;
    }
    const bool positional = mStreamFile && mStreamFile->isPositional();
    return positional ? getGain() * distanceGain(listener, mPosition) : getGain();
}

bool OpenALSoundChannel::updateChannel(CppLib::SharedPtr<SoundSource> source)
{
    const OpenALSoundSource* file = dynamic_cast<const OpenALSoundSource*>(source.get());
    if (!file) {
        return false;
    }
    if (!mSoundSource.isNull()) {
        if (isPlaying()) {
            stop();
        }
        mSoundSource.setNull();
    }
    OpenALSoundEngine* owner = engine();
    if (!owner) {
        return false;
    }
    if (!openStream(source, *file)) {
        logStreamError("creating new channel for");
        return false;
    }
    if (mVoice) {
        OpenALVoicePool::reset(*mVoice);
    } else {
        mVoice = owner->getVoices().acquire(*this, owner->getListenerPosition());
        if (!mVoice) {
            owner->getLogger().error("OpenAL Error while creating new channel: no voice left");
            return false;
        }
    }
    alGetError();
    configureVoice();
    prefill();
    mVoicePaused = mPaused;
    if (!mVoicePaused) {
        alSourcePlay(mVoice->source);
    }
    const ALenum error = alGetError();
    if (error != AL_NO_ERROR) {
        forget();
        logAlError("creating new channel", error);
        return false;
    }
    mSoundSource = source;
    return true;
}

bool OpenALSoundChannel::openStream(const CppLib::SharedPtr<SoundSource>& source, const OpenALSoundSource& file)
{
    mLoopsDone = 0;
    mDecodedSinceRewind = 0;
    mStreamEnded = false;
    mStreamFailed = false;
    if (mStreamSource.get() == source.get() && mStream.isOpen() && mStream.rewind()) {
        return true;
    }
    mStreamSource = source;
    mStreamFile = &file;
    if (!mStream.open(file.getPath(), file.getRate(), file.getChannels())) {
        mStreamEnded = true;
        mStreamFailed = true;
        return false;
    }
    return true;
}

void OpenALSoundChannel::configureVoice() const
{
    const ALuint source = mVoice->source;
    const bool positional = mStreamFile->isPositional();
    alSourcei(source, AL_SOURCE_RELATIVE, positional ? AL_FALSE : AL_TRUE);
    alSourcei(source, AL_LOOPING, AL_FALSE);
    if (mLink->engine->hasDirectChannels()) {
        // Non-positional stereo (music) goes straight to the speakers.
        alSourcei(source, AL_DIRECT_CHANNELS_SOFT, !positional && mStreamFile->getChannels() > 1);
    }
    alSourcef(source, AL_GAIN, getGain());
    alSource3f(source, AL_POSITION, mPosition.x(), mPosition.y(), mPosition.z());
    alSource3f(source, AL_VELOCITY, mVelocity.x(), mVelocity.y(), mVelocity.z());
}

void OpenALSoundChannel::prefill()
{
    for (ALuint buffer : mVoice->buffers) {
        if (mStreamEnded || fillBuffer(buffer) == 0) {
            break;
        }
        alSourceQueueBuffers(mVoice->source, 1, &buffer);
    }
}

std::size_t OpenALSoundChannel::fillBuffer(unsigned int buffer)
{
    short* pcm = mLink->engine->getDecodeBuffer();
    const std::size_t frames = decode(pcm, OpenALSoundEngine::kBufferFrames);
    if (frames == 0) {
        return 0;
    }
    const int channels = mStreamFile->getChannels();
    alBufferData(buffer, channels == 1 ? AL_FORMAT_MONO16 : AL_FORMAT_STEREO16, pcm,
                 static_cast<ALsizei>(frames * sizeof(short) * static_cast<std::size_t>(channels)),
                 static_cast<ALsizei>(mStreamFile->getRate()));
    return frames;
}

std::size_t OpenALSoundChannel::decode(short* pcm, std::size_t frames)
{
    const std::size_t channels = static_cast<std::size_t>(mStreamFile->getChannels());
    std::size_t total = 0;
    while (total < frames && !mStreamEnded) {
        std::size_t decoded = 0;
        const Mpg123Stream::Status status = mStream.read(pcm + total * channels, frames - total, decoded);
        total += decoded;
        mDecodedSinceRewind += decoded;
        if (status == Mpg123Stream::FAILED) {
            logStreamError("decoding");
            mStreamEnded = true;
            mStreamFailed = true;
        } else if (status == Mpg123Stream::END && !loopAgain()) {
            mStreamEnded = true;
        }
    }
    return total;
}

bool OpenALSoundChannel::loopAgain()
{
    const bool forever = mLoopCount < 0;
    // A file without a single sample would loop without end.
    if ((!forever && mLoopsDone >= mLoopCount) || mDecodedSinceRewind == 0) {
        return false;
    }
    if (!mStream.rewind()) {
        logStreamError("rewinding");
        mStreamFailed = true;
        return false;
    }
    if (!forever) {
        ++mLoopsDone;
    }
    mDecodedSinceRewind = 0;
    return true;
}

void OpenALSoundChannel::setVoicePaused(bool paused)
{
    mVoicePaused = paused;
    ALint state = AL_STOPPED;
    alGetSourcei(mVoice->source, AL_SOURCE_STATE, &state);
    if (paused && state == AL_PLAYING) {
        alSourcePause(mVoice->source);
    } else if (!paused && (state == AL_INITIAL || state == AL_PAUSED)) {
        alSourcePlay(mVoice->source);
    }
    // A stopped voice (it ran dry, or has finished) is restarted or given
    // back by the next update, which refills it first.
}

bool OpenALSoundChannel::resume(const char* action)
{
    if (!mVoice) {
        return false;
    }
    return changeVoice(action, false, [this] { setVoicePaused(false); });
}

OpenALSoundEngine* OpenALSoundChannel::engine() const
{
    OpenALSoundEngine* owner = mLink.isNull() ? nullptr : mLink->engine;
    if (owner) {
        owner->makeCurrent();
    }
    return owner;
}

void OpenALSoundChannel::forget() const
{
    if (!mVoice) {
        return;
    }
    // A held voice means the engine is still there: its shutdown takes every
    // voice back first.
    if (OpenALSoundEngine* owner = engine()) {
        owner->getVoices().release(*mVoice);
    }
    mVoice = nullptr;
}

void OpenALSoundChannel::logAlError(const char* action, int error) const
{
    if (OpenALSoundEngine* owner = mLink.isNull() ? nullptr : mLink->engine) {
        owner->getLogger().error(std::string("OpenAL Error while ") + action + ": " + alGetString(error));
    }
}

void OpenALSoundChannel::logStreamError(const char* action) const
{
    OpenALSoundEngine* owner = mLink.isNull() ? nullptr : mLink->engine;
    if (owner && mStreamFile) {
        owner->getLogger().error(std::string("mpg123 Error while ") + action + " " + mStreamFile->getPath() +
                                 ": " + mStream.getError());
    }
}

} // namespace Velta
