#include "plugins/sound/openal/OpenALSoundEngine.h"

#include "plugins/sound/openal/Mpg123Stream.h"
#include "plugins/sound/openal/OpenALSoundChannel.h"
#include "plugins/sound/openal/OpenALSoundSource.h"
#include "resource/NativePath.h"

#include <AL/al.h>

#include <dlfcn.h>

#include <climits>
#include <cmath>
#include <cstdlib>

namespace Velta {

namespace {

int lengthInMs(long long samples, long rate)
{
    if (rate <= 0) {
        return -1;
    }
    const long long ms = samples * 1000 / rate;
    return ms > INT_MAX ? INT_MAX : static_cast<int>(ms);
}

bool isFinite(const CppLib::TVector<float, 3>& v)
{
    return std::isfinite(v.x()) && std::isfinite(v.y()) && std::isfinite(v.z());
}

extern "C" void ignoreAlsaMessage(const char*, int, const char*, int, const char*, ...) {}

/// Without a sound card, OpenAL and the ALSA library it probes print a dozen
/// lines of their own on standard error; the engine reports the outcome in one
/// line. A user who wants their detail sets ALSOFT_LOGLEVEL (kept when set).
void quietAudioLibraries()
{
    setenv("ALSOFT_LOGLEVEL", "0", 0);
    using AlsaHandler = void (*)(const char*, int, const char*, int, const char*, ...);
    using SetAlsaHandler = int (*)(AlsaHandler);
    // The handle stays open: OpenAL loads the same library and keeps the handler.
    if (void* alsa = dlopen("libasound.so.2", RTLD_NOW | RTLD_GLOBAL)) {
        if (auto setHandler = reinterpret_cast<SetAlsaHandler>(dlsym(alsa, "snd_lib_error_set_handler"))) {
            setHandler(&ignoreAlsaMessage);
        }
    }
}

} // namespace

OpenALSoundEngine::OpenALSoundEngine(CppLib::SharedPtr<CppLib::Logger> logger, int maxVoices,
                                     const std::string& deviceName)
    : mLogger(logger), mMaxVoices(maxVoices), mDeviceName(deviceName)
{
}

OpenALSoundEngine::~OpenALSoundEngine()
{
    shutdown();
}

bool OpenALSoundEngine::initialize()
{
    if (mInitialized) {
        return true;
    }
    quietAudioLibraries();
    mDevice = alcOpenDevice(mDeviceName.empty() ? nullptr : mDeviceName.c_str());
    if (!mDevice) {
        // OpenAL Soft answers "Out of Memory" for a machine without sound
        // hardware; the line says what the player needs to know, OpenAL's
        // code stays at its end for whoever looks further.
        const ALCenum error = alcGetError(nullptr);
        const std::string device = mDeviceName.empty() ? "No audio device was found"
                                                       : "The audio device \"" + mDeviceName + "\" was not found";
        mLogger->error(device + "; the game plays silently (OpenAL: " + alcGetString(nullptr, error) + ")");
        return false;
    }
    mContext = alcCreateContext(mDevice, nullptr);
    if (!mContext || !alcMakeContextCurrent(mContext)) {
        logAlcError("creating the audio context");
        closeDevice();
        return false;
    }
    alGetError();
    if (mVoices.create(mMaxVoices) == 0) {
        mLogger->error("OpenAL Error while creating sources: no source could be made; playing without sound");
        closeDevice();
        return false;
    }
    mDirectChannels = alIsExtensionPresent("AL_SOFT_direct_channels") == AL_TRUE;
    mDecodeBuffer.assign(static_cast<std::size_t>(kBufferFrames) * 2, 0);
    mListenerPosition = CppLib::TVector<float, 3>();
    mLink = CppLib::SharedPtr<Link>(new Link{this});
    mUpdateFailed = false;
    mInitialized = true;
    return true;
}

bool OpenALSoundEngine::shutdown()
{
    if (!mInitialized) {
        return true;
    }
    makeCurrent();
    mVoices.destroy();
    mLink->engine = nullptr;
    mLink.setNull();
    mInitialized = false;
    if (!closeDevice()) {
        mLogger->error("OpenAL Error while closing the audio device: the device is still in use");
        return false;
    }
    return true;
}

bool OpenALSoundEngine::update(long long)
{
    if (!mInitialized) {
        return false;
    }
    makeCurrent();
    alGetError();
    for (OpenALVoicePool::Voice& voice : mVoices.getVoices()) {
        if (voice.owner) {
            voice.owner->service();
        }
    }
    const ALenum error = alGetError();
    if (error != AL_NO_ERROR) {
        // Once per run of failing frames, not every frame.
        if (!mUpdateFailed) {
            mLogger->error(std::string("OpenAL Error while updating: ") + alGetString(error));
        }
        mUpdateFailed = true;
        return false;
    }
    mUpdateFailed = false;
    return true;
}

CppLib::SharedPtr<SoundSource> OpenALSoundEngine::createSoundSource(const NameMapper::ResourceInfo& info,
                                                                    bool positional) const
{
    if (!mInitialized) {
        return CppLib::SharedPtr<SoundSource>();
    }
    const std::string path = NativePath::fromResourcePath(info.fileName);
    Mpg123Stream::FileInfo file;
    std::string error;
    if (!Mpg123Stream::scan(path, file, error)) {
        mLogger->error("mpg123 Error while opening " + path + ": " + error);
        return CppLib::SharedPtr<SoundSource>();
    }
    if (file.unplayedBytes > 0) {
        mLogger->warn("mpg123 Warning: " + path + " ends inside a frame; its last " +
                      std::to_string(file.unplayedBytes) + " bytes are not played");
    }
    const int channels = positional ? 1 : file.channels;
    return CppLib::SharedPtr<SoundSource>(
        new OpenALSoundSource(path, positional, file.rate, channels, lengthInMs(file.samples, file.rate)));
}

CppLib::SharedPtr<SoundChannel> OpenALSoundEngine::createChannel(CppLib::SharedPtr<SoundSource> source) const
{
    if (!mInitialized || !dynamic_cast<OpenALSoundSource*>(source.get())) {
        return CppLib::SharedPtr<SoundChannel>();
    }
    return CppLib::SharedPtr<SoundChannel>(new OpenALSoundChannel(mLink, source));
}

void OpenALSoundEngine::updateListenerAttributes(const CppLib::TVector<float, 3>& position,
                                                 const CppLib::TVector<float, 3>&,
                                                 const CppLib::TVector<float, 3>&,
                                                 const CppLib::TVector<float, 3>&, unsigned int listener)
{
    if (!mInitialized || listener != 0 || !isFinite(position)) {
        return;
    }
    makeCurrent();
    mListenerPosition = position;
    alListener3f(AL_POSITION, position.x(), position.y(), position.z());
}

void OpenALSoundEngine::makeCurrent() const
{
    if (mContext && alcGetCurrentContext() != mContext) {
        alcMakeContextCurrent(mContext);
    }
}

void OpenALSoundEngine::logAlcError(const std::string& action) const
{
    const ALCenum error = alcGetError(mDevice);
    mLogger->error("OpenAL Error while " + action + ": " + alcGetString(mDevice, error) +
                   "; playing without sound");
}

bool OpenALSoundEngine::closeDevice()
{
    if (mContext) {
        if (alcGetCurrentContext() == mContext) {
            alcMakeContextCurrent(nullptr);
        }
        alcDestroyContext(mContext);
        mContext = nullptr;
    }
    bool closed = true;
    if (mDevice) {
        closed = alcCloseDevice(mDevice) == ALC_TRUE;
        mDevice = nullptr;
    }
    return closed;
}

} // namespace Velta
