#pragma once

#include "VeltaExport.h"
#include "cpplib/Logger.h"
#include "cpplib/SharedPtr.h"
#include "plugins/sound/openal/OpenALVoicePool.h"
#include "sound/SoundEngine.h"

#include <AL/alc.h>

#include <string>
#include <vector>

namespace Velta {

/// The sound engine on OpenAL, playing MP3 files decoded by mpg123.
///
/// Files are streamed: each channel decodes its file a buffer at a time into
/// a few OpenAL buffers, refilled in update(), so no file is ever held whole in
/// memory. Positional sources are mixed to mono and placed in the world;
/// non-positional ones are placed relative to the listener (stereo files play
/// straight to the speakers). Output goes through a fixed pool of voices (see
/// OpenALVoicePool).
///
/// Without an audio device initialize() logs one line ("No audio device was
/// found; the game plays silently (OpenAL: …)") and fails; the sound
/// manager then does not register the engine. Every failure is logged on
/// "plugins.sound.openal". Owned by its plug-in; channels that outlive the
/// engine, or its shutdown(), fall silent and answer like channels without a
/// sound.
class VELTA_EXPORT OpenALSoundEngine : public SoundEngine {
public:
    /// What a channel knows of its engine: cleared when the engine shuts down.
    struct Link {
        OpenALSoundEngine* engine = nullptr;
    };

    static constexpr int kDefaultVoices = 32;

    /// PCM frames per streaming buffer (about 93 ms at 44.1 kHz).
    static constexpr int kBufferFrames = 4096;

    /// `maxVoices` caps the OpenAL sources made (OpenAL may give fewer);
    /// `deviceName` empty opens the default output device.
    explicit OpenALSoundEngine(CppLib::SharedPtr<CppLib::Logger> logger, int maxVoices = kDefaultVoices,
                               const std::string& deviceName = "");
    ~OpenALSoundEngine() override;

    OpenALSoundEngine(const OpenALSoundEngine&) = delete;
    OpenALSoundEngine& operator=(const OpenALSoundEngine&) = delete;

    bool isInitialized() const override { return mInitialized; }

    /// Opens the output device and makes the voices. True at once when already
    /// initialised.
    bool initialize() override;

    /// Stops every channel, frees the voices and closes the device.
    bool shutdown() override;

    /// Refills the playing channels' buffers and frees the voices of finished
    /// ones; the timestamp is not used. Allocates nothing.
    bool update(long long timestamp) override;

    CppLib::SharedPtr<SoundSource> createSoundSource(const NameMapper::ResourceInfo& info,
                                                     bool positional) const override;

    CppLib::SharedPtr<SoundChannel> createChannel(CppLib::SharedPtr<SoundSource> source) const override;

    /// Places the one OpenAL listener (number 0; other numbers are ignored).
    /// Only the position is taken: velocity and orientation keep OpenAL's
    /// defaults (at rest, looking down -z with +y up, +x to the right).
    void updateListenerAttributes(const CppLib::TVector<float, 3>& position,
                                  const CppLib::TVector<float, 3>& velocity,
                                  const CppLib::TVector<float, 3>& forward, const CppLib::TVector<float, 3>& up,
                                  unsigned int listener) override;

    /// Voices OpenAL gave; 0 before initialize().
    int getVoiceCount() const { return mVoices.getSize(); }

    // For the channels.
    OpenALVoicePool& getVoices() { return mVoices; }
    const CppLib::TVector<float, 3>& getListenerPosition() const { return mListenerPosition; }
    bool hasDirectChannels() const { return mDirectChannels; }
    CppLib::Logger& getLogger() const { return *mLogger; }
    /// The decode buffer shared by all channels: kBufferFrames stereo frames.
    short* getDecodeBuffer() { return mDecodeBuffer.data(); }
    /// Makes this engine's context the current one (tests may run several).
    void makeCurrent() const;

private:
    void logAlcError(const std::string& action) const;
    /// Destroys the context and closes the device; false when it refused.
    bool closeDevice();

    CppLib::SharedPtr<CppLib::Logger> mLogger;
    int mMaxVoices;
    std::string mDeviceName;
    bool mInitialized = false;
    bool mUpdateFailed = false;
    bool mDirectChannels = false;
    ALCdevice* mDevice = nullptr;
    ALCcontext* mContext = nullptr;
    OpenALVoicePool mVoices;
    std::vector<short> mDecodeBuffer;
    CppLib::SharedPtr<Link> mLink;
    CppLib::TVector<float, 3> mListenerPosition;
};

} // namespace Velta
