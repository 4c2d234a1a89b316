#pragma once

#include "VeltaExport.h"

namespace Velta {

/// A loaded, playable sound, made by the sound engine. Shared as
/// SharedPtr<SoundSource> by the sound manager's cache and the channels that
/// play it.
class VELTA_EXPORT SoundSource {
public:
    virtual ~SoundSource() = default;

    /// Length in milliseconds; -1 when the engine does not know it.
    virtual int getLength() const = 0;

    /// Channels of the decoded sound (1 mono, 2 stereo); -1 when unknown.
    virtual int getChannels() const = 0;
};

} // namespace Velta
