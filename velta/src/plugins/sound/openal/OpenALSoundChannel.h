#pragma once

#include "VeltaExport.h"
#include "cpplib/SharedPtr.h"
#include "cpplib/TVector.h"
#include "plugins/sound/openal/Mpg123Stream.h"
#include "plugins/sound/openal/OpenALSoundEngine.h"
#include "plugins/sound/openal/OpenALVoicePool.h"
#include "sound/SoundChannel.h"

#include <cstddef>

namespace Velta {

class OpenALSoundSource;

/// A channel of the OpenAL engine: streams its source's file through a voice
/// borrowed from the engine's pool while a sound is started on it.
///
/// The channel keeps volume, mute, pause, loop count and 3D placement itself
/// and applies them to every voice it gets. A voice is given back when the
/// sound is stopped or has finished, when an OpenAL call on it fails, and when
/// another channel needs it more (see OpenALVoicePool); from then on the
/// channel answers as not playing until play() starts it again.
///
/// The pause setting is the stored one: play() on a paused channel resumes the
/// sound without clearing the setting, so a later play() while it still plays
/// merely resumes it again, while on a channel set unpaused play() starts the
/// sound again from the beginning.
class VELTA_EXPORT OpenALSoundChannel : public SoundChannel {
public:
    using Vector3 = CppLib::TVector<float, 3>;

    /// A channel of the engine behind `link` with `source` started on it.
    OpenALSoundChannel(const CppLib::SharedPtr<OpenALSoundEngine::Link>& link,
                       CppLib::SharedPtr<SoundSource> source);
    ~OpenALSoundChannel() override;

    OpenALSoundChannel(const OpenALSoundChannel&) = delete;
    OpenALSoundChannel& operator=(const OpenALSoundChannel&) = delete;

    bool setSoundSource(CppLib::SharedPtr<SoundSource> source) override;
    bool setVolume(float volume) override;
    bool play() override;
    bool stop() override;
    bool setPaused(bool paused) override;
    bool setRepeat(bool repeat) override;
    bool setMute(bool mute) override;
    bool setLoopCount(int count) override;
    bool set3DAttributes(const Vector3& position, const Vector3& velocity) override;
    bool isPlaying() const override;
    bool isMuted() const override { return mMuted; }
    bool isPaused() const override { return mPaused; }

    float getVolume() const { return mVolume; }
    int getLoopCount() const { return mLoopCount; }

    // For the engine and its voice pool.

    /// Refills the buffers the voice has played, restarts a voice that ran
    /// dry and gives the voice back once the sound has finished. Called by the
    /// engine's update while the channel has a voice; allocates nothing.
    void service();

    /// The voice was taken away (by another channel or the engine's shutdown)
    /// and is already silenced.
    void onVoiceLost() { mVoice = nullptr; }

    /// How loud the channel is heard at `listener`: 0 without a voice, while
    /// paused or muted; the volume, weakened with distance for a positional
    /// sound.
    float getAudibleGain(const Vector3& listener) const;

private:
    /// Starts `source` from its beginning: on the held voice, or on a new one
    /// that gets every stored setting.
    bool updateChannel(CppLib::SharedPtr<SoundSource> source);
    bool openStream(const CppLib::SharedPtr<SoundSource>& source, const OpenALSoundSource& file);
    void configureVoice() const;
    void prefill();
    std::size_t fillBuffer(unsigned int buffer);
    /// Decodes up to `frames` frames, going back to the start while loops are
    /// left.
    std::size_t decode(short* pcm, std::size_t frames);
    bool loopAgain();
    void setVoicePaused(bool paused);
    bool resume(const char* action);
    float getGain() const { return mMuted ? 0.0f : mVolume; }

    /// The engine with its context current, or null once it is gone.
    OpenALSoundEngine* engine() const;
    /// Gives the voice back; the channel then plays nothing.
    void forget() const;
    /// Logs an OpenAL failure as "OpenAL Error while <action>: <text>".
    void logAlError(const char* action, int error) const;
    /// Runs `change` on the voice with the engine's context current; on an
    /// OpenAL error logs it for `action`, gives the voice back when
    /// `forgetOnError`, and answers false.
    template <typename Change>
    bool changeVoice(const char* action, bool forgetOnError, Change change);
    void logStreamError(const char* action) const;

    CppLib::SharedPtr<OpenALSoundEngine::Link> mLink;
    mutable OpenALVoicePool::Voice* mVoice = nullptr;
    CppLib::SharedPtr<SoundSource> mSoundSource;
    float mVolume = 1.0f;
    int mLoopCount = 0;
    bool mPaused = true;
    bool mMuted = false;
    Vector3 mPosition;
    Vector3 mVelocity;

    // The stream of the started sound.
    Mpg123Stream mStream;
    CppLib::SharedPtr<SoundSource> mStreamSource;
    const OpenALSoundSource* mStreamFile = nullptr;
    int mLoopsDone = 0;
    std::size_t mDecodedSinceRewind = 0;
    bool mStreamEnded = true;
    /// The stream ended on a failure: it is not looped.
    bool mStreamFailed = false;
    /// Whether the voice is held paused (the stored setting may differ).
    bool mVoicePaused = true;
};

} // namespace Velta
