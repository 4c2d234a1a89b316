#include "sound/SoundManager.h"

#include "sound/SoundChannel.h"
#include "sound/SoundEngine.h"
#include "sound/SoundSource.h"

namespace Velta {

int SoundManager::EngineAdapter::run(long long timestamp)
{
    mEngine->update(timestamp);
    return 0;
}

SoundManager::SoundManager()
{
    setSubsystemId(5);
}

SoundManager::~SoundManager()
{
    // Named channels and sources go first: their engine is still there.
    mChannels.clear();
    mSoundSources.clear();
    for (Process* adapter : mProcessList) {
        delete adapter;
    }
}

bool SoundManager::registerSoundEngine(SoundEngine& engine)
{
    if (!engine.isInitialized() && !engine.initialize()) {
        return false;
    }
    mSoundEngine = &engine;
    // An engine registered again keeps its one adapter: it is updated once
    // per frame, not once per registration.
    for (Process* process : mProcessList) {
        if (static_cast<EngineAdapter*>(process)->getEngine() == &engine) {
            return true;
        }
    }
    mProcessList.push_back(new EngineAdapter(engine));
    return true;
}

CppLib::SharedPtr<SoundSource> SoundManager::getSoundSource(const std::string& name, bool positional, bool cache)
{
    if (cache) {
        if (const CppLib::SharedPtr<SoundSource>* cached = mSoundSources.find(name)) {
            return *cached;
        }
        if (mFailedSources.count(name) > 0) {
            return CppLib::SharedPtr<SoundSource>();
        }
    }
    if (mSoundNameMapper.isNull() || !mSoundEngine) {
        return CppLib::SharedPtr<SoundSource>();
    }
    CppLib::SharedPtr<SoundSource> source =
        mSoundEngine->createSoundSource(mSoundNameMapper->map(name), positional);
    if (cache) {
        if (source.isNull()) {
            mFailedSources.insert(name);
        } else {
            mSoundSources.put(name, source);
        }
    }
    return source;
}

CppLib::SharedPtr<SoundChannel> SoundManager::createChannel(CppLib::SharedPtr<SoundSource> source)
{
    return createChannel(source, "");
}

CppLib::SharedPtr<SoundChannel> SoundManager::createChannel(CppLib::SharedPtr<SoundSource> source,
                                                            const std::string& name)
{
    if (!mSoundEngine) {
        return CppLib::SharedPtr<SoundChannel>();
    }
    CppLib::SharedPtr<SoundChannel> channel = mSoundEngine->createChannel(source);
    if (!channel.isNull() && !name.empty()) {
        mChannels.put(name, channel);
    }
    return channel;
}

CppLib::SharedPtr<SoundChannel> SoundManager::getChannel(const std::string& name)
{
    const CppLib::SharedPtr<SoundChannel>* channel = mChannels.find(name);
    return channel ? *channel : CppLib::SharedPtr<SoundChannel>();
}

void SoundManager::updateListenerAttributes(const CppLib::TVector<float, 3>& position,
                                            const CppLib::TVector<float, 3>& velocity,
                                            const CppLib::TVector<float, 3>& forward,
                                            const CppLib::TVector<float, 3>& up, unsigned int listener)
{
    if (mSoundEngine) {
        mSoundEngine->updateListenerAttributes(position, velocity, forward, up, listener);
    }
}

} // namespace Velta
