#include "plugins/sound/openal/OpenALVoicePool.h"

#include "plugins/sound/openal/OpenALSoundChannel.h"

#include <AL/al.h>

namespace Velta {

OpenALVoicePool::~OpenALVoicePool()
{
    destroy();
}

int OpenALVoicePool::create(int maxVoices)
{
    destroy();
    mVoices.reserve(maxVoices > 0 ? static_cast<std::size_t>(maxVoices) : 0);
    for (int i = 0; i < maxVoices; ++i) {
        Voice voice;
        alGetError();
        alGenSources(1, &voice.source);
        if (alGetError() != AL_NO_ERROR) {
            break;
        }
        alGenBuffers(kBuffersPerVoice, voice.buffers);
        if (alGetError() != AL_NO_ERROR) {
            alDeleteSources(1, &voice.source);
            break;
        }
        mVoices.push_back(voice);
    }
    // Running out of sources or buffers is how OpenAL says "no more"; that
    // error is not left for the next caller to find.
    alGetError();
    return getSize();
}

void OpenALVoicePool::destroy()
{
    for (Voice& voice : mVoices) {
        if (voice.owner) {
            voice.owner->onVoiceLost();
            voice.owner = nullptr;
        }
        alSourceStop(voice.source);
        alSourcei(voice.source, AL_BUFFER, 0);
        alDeleteSources(1, &voice.source);
        alDeleteBuffers(kBuffersPerVoice, voice.buffers);
    }
    mVoices.clear();
}

OpenALVoicePool::Voice* OpenALVoicePool::acquire(OpenALSoundChannel& owner,
                                                 const CppLib::TVector<float, 3>& listener)
{
    Voice* chosen = nullptr;
    for (Voice& voice : mVoices) {
        if (!voice.owner) {
            chosen = &voice;
            break;
        }
    }
    if (!chosen) {
        chosen = findVictim(listener);
        if (!chosen) {
            return nullptr;
        }
        chosen->owner->onVoiceLost();
        chosen->owner = nullptr;
        reset(*chosen);
    }
    chosen->owner = &owner;
    chosen->started = ++mAcquisitions;
    return chosen;
}

void OpenALVoicePool::release(Voice& voice)
{
    reset(voice);
    voice.owner = nullptr;
}

OpenALVoicePool::Voice* OpenALVoicePool::findVictim(const CppLib::TVector<float, 3>& listener)
{
    Voice* victim = nullptr;
    float victimGain = 0.0f;
    for (Voice& voice : mVoices) {
        if (!voice.owner) {
            continue;
        }
        const float gain = voice.owner->getAudibleGain(listener);
        if (!victim || gain < victimGain || (gain == victimGain && voice.started < victim->started)) {
            victim = &voice;
            victimGain = gain;
        }
    }
    return victim;
}

void OpenALVoicePool::reset(Voice& voice)
{
    // Rewound, the source is in its initial state: playing it starts at the
    // first buffer queued from now on.
    alSourceStop(voice.source);
    alSourceRewind(voice.source);
    alSourcei(voice.source, AL_BUFFER, 0);
}

} // namespace Velta
