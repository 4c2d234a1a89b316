#pragma once

#include "cpplib/SharedPtr.h"
#include "cpplib/TVector.h"

#include <string>

namespace Velta {
class SoundChannel;
} // namespace Velta

namespace Ripplejet {

/// The few ways the game plays its sounds, over the engine's sound manager.
/// Every call takes an empty channel (a missing file, no audio device) and
/// then does nothing, so callers never check.
class GameSound {
public:
    /// A channel named `name` for the sound file `file` in the sound
    /// directory, silent until played; empty when the file cannot be played
    /// (the sound manager says why). Positional sounds are heard from where
    /// they are placed.
    static CppLib::SharedPtr<Velta::SoundChannel> createChannel(const std::string& file, const std::string& name,
                                                                bool positional);

    /// Plays the channel from its start once, or looping.
    static void playOnce(const CppLib::SharedPtr<Velta::SoundChannel>& channel);
    static void playLooping(const CppLib::SharedPtr<Velta::SoundChannel>& channel);
    /// Plays it once from `position` (world units) unless it is playing.
    static void playUnlessPlaying(const CppLib::SharedPtr<Velta::SoundChannel>& channel,
                                  const CppLib::TVector<float, 3>& position);
    /// Plays it once from `position`.
    static void playOnceAt(const CppLib::SharedPtr<Velta::SoundChannel>& channel,
                           const CppLib::TVector<float, 3>& position);
    static void stop(const CppLib::SharedPtr<Velta::SoundChannel>& channel);
    /// Whether it sounds now (one made here and not played yet does not).
    static bool isPlaying(const CppLib::SharedPtr<Velta::SoundChannel>& channel);
};

} // namespace Ripplejet
