#include "level/GameSound.h"

#include "core/VeltaCore.h"
#include "resource/ResourceManager.h"
#include "sound/SoundChannel.h"
#include "sound/SoundManager.h"

namespace Ripplejet {

CppLib::SharedPtr<Velta::SoundChannel> GameSound::createChannel(const std::string& file, const std::string& name,
                                                                bool positional)
{
    Velta::SoundManager& sounds = Velta::VeltaCore::getSingleton().getResourceManager().getSoundManager();
    // Every duck plays the same few files: each is opened once (and a
    // missing one reported once), each channel streams it on its own.
    const CppLib::SharedPtr<Velta::SoundSource> source = sounds.getSoundSource(file, positional, true);
    if (source.isNull()) {
        return {};
    }
    // A channel is made paused and counts as playing from then on; stopped,
    // it counts as playing only once it is played.
    const CppLib::SharedPtr<Velta::SoundChannel> channel = sounds.createChannel(source, name);
    if (!channel.isNull()) {
        channel->stop();
    }
    return channel;
}

void GameSound::playOnce(const CppLib::SharedPtr<Velta::SoundChannel>& channel)
{
    if (!channel.isNull()) {
        channel->setRepeat(false);
        channel->play();
    }
}

void GameSound::playLooping(const CppLib::SharedPtr<Velta::SoundChannel>& channel)
{
    if (!channel.isNull()) {
        channel->setRepeat(true);
        channel->play();
    }
}

void GameSound::playOnceAt(const CppLib::SharedPtr<Velta::SoundChannel>& channel,
                           const CppLib::TVector<float, 3>& position)
{
    if (!channel.isNull()) {
        channel->set3DAttributes(position, CppLib::TVector<float, 3>());
        playOnce(channel);
    }
}

void GameSound::playUnlessPlaying(const CppLib::SharedPtr<Velta::SoundChannel>& channel,
                                  const CppLib::TVector<float, 3>& position)
{
    if (!isPlaying(channel)) {
        playOnceAt(channel, position);
    }
}

void GameSound::stop(const CppLib::SharedPtr<Velta::SoundChannel>& channel)
{
    if (!channel.isNull()) {
        channel->stop();
    }
}

bool GameSound::isPlaying(const CppLib::SharedPtr<Velta::SoundChannel>& channel)
{
    return !channel.isNull() && channel->isPlaying();
}

} // namespace Ripplejet
