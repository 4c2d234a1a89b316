#pragma once

#include "VeltaExport.h"
#include "cpplib/SharedPtr.h"
#include "cpplib/TVector.h"
#include "resource/NameMapper.h"
#include "resource/ResourceLoader.h"

namespace Velta {

class SoundChannel;
class SoundSource;

/// The audio back end: opens sound files as sources, makes channels to play
/// them, places the listener and is updated once per frame. Registered with
/// the sound manager by its plug-in, which owns it.
class VELTA_EXPORT SoundEngine : public ResourceLoader {
public:
    /// Per-frame work (feeding the output); the timestamp is in milliseconds.
    virtual bool update(long long timestamp) = 0;

    /// The sound in the file `info` names, or an empty pointer (logged) when it
    /// cannot be opened. A positional source is heard from where its channel
    /// is placed; a non-positional one relative to the listener.
    virtual CppLib::SharedPtr<SoundSource> createSoundSource(const NameMapper::ResourceInfo& info,
                                                             bool positional) const = 0;

    /// A new channel with `source` started on it, paused; empty for a source
    /// this engine did not make.
    virtual CppLib::SharedPtr<SoundChannel> createChannel(CppLib::SharedPtr<SoundSource> source) const = 0;

    virtual void updateListenerAttributes(const CppLib::TVector<float, 3>& position,
                                          const CppLib::TVector<float, 3>& velocity,
                                          const CppLib::TVector<float, 3>& forward,
                                          const CppLib::TVector<float, 3>& up, unsigned int listener) = 0;
};

} // namespace Velta
