#pragma once

#include "VeltaExport.h"
#include "sound/SoundSource.h"

#include <string>

namespace Velta {

/// A sound file checked for playing: where it is and the format its channels
/// decode it to. Holds no decoder and no open file; each channel streams the
/// file itself, so any number of channels can play one source at once.
class VELTA_EXPORT OpenALSoundSource : public SoundSource {
public:
    /// `path` the native path to open (and to name in messages); `channels`
    /// of the decoded output (1 for a positional source, which is mixed down
    /// so it can be placed in space).
    OpenALSoundSource(const std::string& path, bool positional, long rate, int channels, int lengthMs);

    int getLength() const override { return mLengthMs; }
    int getChannels() const override { return mChannels; }

    const std::string& getPath() const { return mPath; }
    bool isPositional() const { return mPositional; }
    long getRate() const { return mRate; }

private:
    std::string mPath;
    bool mPositional;
    long mRate;
    int mChannels;
    int mLengthMs;
};

} // namespace Velta
