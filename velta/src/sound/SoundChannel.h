#pragma once

#include "VeltaExport.h"
#include "cpplib/SharedPtr.h"
#include "cpplib/TVector.h"

namespace Velta {

class SoundSource;

/// One playing instance of a sound source. The channel keeps its own volume,
/// mute, pause and loop settings, and applies them to whatever the engine plays
/// for it, also after the engine had to start the sound again.
///
/// Every operation answers false when the engine failed (and logged why); a
/// channel whose engine is gone answers the results of a channel that plays
/// nothing. Shared as SharedPtr<SoundChannel>.
class VELTA_EXPORT SoundChannel {
public:
    virtual ~SoundChannel() = default;

    /// Starts `source` on this channel (paused while isPaused() is true).
    virtual bool setSoundSource(CppLib::SharedPtr<SoundSource> source) = 0;

    /// Linear gain, 0 (silent) to 1 (as recorded); values outside are clamped.
    virtual bool setVolume(float volume) = 0;

    /// Starts the sound, resumes it when it is paused, or starts it again from
    /// the beginning when it has finished or was stopped.
    virtual bool play() = 0;

    /// Ends the sound; false when nothing was playing.
    virtual bool stop() = 0;

    virtual bool setPaused(bool paused) = 0;

    /// true: loop for ever (loop count -1); false: play once (loop count 0).
    virtual bool setRepeat(bool repeat) = 0;

    virtual bool setMute(bool mute) = 0;

    /// Times the sound is repeated after its first run: 0 plays it once, -1
    /// repeats it for ever.
    virtual bool setLoopCount(int count) = 0;

    /// World position and velocity (units per second) of a positional sound;
    /// for a non-positional one, the offset from the listener. Cheap enough to
    /// be called every frame by whatever carries the channel through the scene.
    virtual bool set3DAttributes(const CppLib::TVector<float, 3>& position,
                                 const CppLib::TVector<float, 3>& velocity) = 0;

    /// True from the start of a sound until it has finished or was stopped,
    /// also while it is paused.
    virtual bool isPlaying() const = 0;

    virtual bool isMuted() const = 0;

    /// The stored pause setting, not whether the sound is audible right now.
    virtual bool isPaused() const = 0;
};

} // namespace Velta
