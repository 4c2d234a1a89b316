#pragma once

#include "Synth.h"

#include <string>
#include <vector>

namespace VeltaTools {

/// One sound file the game plays, synthesised in code.
struct SoundClip {
    std::string file;       ///< name in the sound directory
    Synth::Signal samples;  ///< mono, Synth::SAMPLE_RATE
    bool loops = false;     ///< played on repeat: its end runs on into its start
    int kbps = 96;
};

/// Every sound: the river ambience, the music and the effects.
std::vector<SoundClip> makeSounds();

/// The looping pieces alone (for tests).
Synth::Signal riverAmbience();
Synth::Signal music();

} // namespace VeltaTools
