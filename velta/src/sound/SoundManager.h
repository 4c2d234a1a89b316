#pragma once

#include "VeltaExport.h"
#include "core/Process.h"
#include "core/Subsystem.h"
#include "cpplib/LinkedMap.h"
#include "cpplib/SharedPtr.h"
#include "cpplib/TVector.h"
#include "resource/NameMapper.h"

#include <set>
#include <string>
#include <vector>

namespace Velta {

class SoundChannel;
class SoundEngine;
class SoundSource;

/// Subsystem 5, the engine's front for audio: maps sound names to files, asks
/// the registered sound engine for sources and channels, keeps named ones for
/// reuse, places the listener and updates the engine once per frame.
///
/// Owned by the resource manager. The engine is borrowed: its plug-in owns it
/// and it must outlive its registration. Without an engine every call answers
/// its empty result.
class VELTA_EXPORT SoundManager : public Subsystem {
public:
    /// The per-frame process: runs the engine's update.
    class VELTA_EXPORT EngineAdapter : public Process {
    public:
        explicit EngineAdapter(SoundEngine& engine) : mEngine(&engine) {}

        int run(long long timestamp) override;

        SoundEngine* getEngine() const { return mEngine; }

    private:
        SoundEngine* mEngine;
    };

    SoundManager();
    ~SoundManager() override;

    SoundManager(const SoundManager&) = delete;
    SoundManager& operator=(const SoundManager&) = delete;

    void setSoundNameMapper(const CppLib::SharedPtr<NameMapper>& mapper) { mSoundNameMapper = mapper; }
    const CppLib::SharedPtr<NameMapper>& getSoundNameMapper() const { return mSoundNameMapper; }

    /// Initialises `engine` when it is not yet and makes it the engine, updated
    /// every frame from now on. False, registering nothing, when it cannot be
    /// initialised.
    bool registerSoundEngine(SoundEngine& engine);

    /// The registered engine, or null.
    SoundEngine* getSoundEngine() const { return mSoundEngine; }

    /// The source for the sound file `name` (mapped by the name mapper), or an
    /// empty pointer when there is no mapper, no engine or the file cannot be
    /// played. With `cache` a source opened before under this name is returned
    /// again, and a newly opened one is kept; a name that could not be opened
    /// with `cache` is remembered and not tried again, so its problem is
    /// reported once. Without `cache`, the file is opened anew and nothing is
    /// kept.
    CppLib::SharedPtr<SoundSource> getSoundSource(const std::string& name, bool positional, bool cache);

    /// A new channel playing `source` (paused until play()); empty without an
    /// engine. A non-empty `name` keeps the channel under that name, replacing
    /// the channel kept there before.
    CppLib::SharedPtr<SoundChannel> createChannel(CppLib::SharedPtr<SoundSource> source);
    CppLib::SharedPtr<SoundChannel> createChannel(CppLib::SharedPtr<SoundSource> source, const std::string& name);

    /// The channel kept under `name`, or an empty pointer; never adds an entry.
    CppLib::SharedPtr<SoundChannel> getChannel(const std::string& name);

    /// Places listener number `listener`; ignored without an engine.
    void updateListenerAttributes(const CppLib::TVector<float, 3>& position,
                                  const CppLib::TVector<float, 3>& velocity,
                                  const CppLib::TVector<float, 3>& forward, const CppLib::TVector<float, 3>& up,
                                  unsigned int listener);

    std::vector<Process*>* getProcessList() override { return &mProcessList; }

private:
    CppLib::SharedPtr<NameMapper> mSoundNameMapper;
    /// The engine adapters, owned here.
    std::vector<Process*> mProcessList;
    SoundEngine* mSoundEngine = nullptr;
    CppLib::LinkedMap<std::string, CppLib::SharedPtr<SoundSource>> mSoundSources;
    /// Names that could not be opened with the cache asked for.
    std::set<std::string> mFailedSources;
    CppLib::LinkedMap<std::string, CppLib::SharedPtr<SoundChannel>> mChannels;
};

} // namespace Velta
