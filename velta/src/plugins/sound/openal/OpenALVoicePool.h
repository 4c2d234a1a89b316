#pragma once

#include "VeltaExport.h"
#include "cpplib/TVector.h"

#include <vector>

namespace Velta {

class OpenALSoundChannel;

/// The OpenAL sources the engine plays through, each with its small queue of
/// streaming buffers, made once when the engine starts. Channels borrow a
/// voice while they have a sound started; when every voice is taken, the
/// least audible playing channel (paused or muted first, then the quietest,
/// then the one started longest ago) loses its voice and stops, so asking for
/// more channels than OpenAL has sources never fails.
class VELTA_EXPORT OpenALVoicePool {
public:
    /// Buffers queued per voice.
    static constexpr int kBuffersPerVoice = 4;

    struct Voice {
        unsigned int source = 0;
        unsigned int buffers[kBuffersPerVoice] = {};
        OpenALSoundChannel* owner = nullptr;  ///< null while free
        unsigned long long started = 0;       ///< order of acquisition, for stealing
    };

    OpenALVoicePool() = default;
    ~OpenALVoicePool();

    OpenALVoicePool(const OpenALVoicePool&) = delete;
    OpenALVoicePool& operator=(const OpenALVoicePool&) = delete;

    /// Makes up to `maxVoices` voices in the current OpenAL context, stopping
    /// at the first source or buffer OpenAL refuses. Returns how many exist.
    int create(int maxVoices);

    /// Frees every voice; their owners are told first (onVoiceLost).
    void destroy();

    /// A voice for `owner`: a free one, else one taken from the least audible
    /// channel as heard at `listener`. Null only when the pool is empty.
    Voice* acquire(OpenALSoundChannel& owner, const CppLib::TVector<float, 3>& listener);

    /// Stops `voice`, empties its queue and frees it.
    void release(Voice& voice);

    /// Stops `voice` and empties its queue; it stays with its owner, ready to
    /// be filled again from the start.
    static void reset(Voice& voice);

    /// Every voice, free or not; the vector never grows after create().
    std::vector<Voice>& getVoices() { return mVoices; }
    int getSize() const { return static_cast<int>(mVoices.size()); }

private:
    Voice* findVictim(const CppLib::TVector<float, 3>& listener);

    std::vector<Voice> mVoices;
    unsigned long long mAcquisitions = 0;
};

} // namespace Velta
