#include "plugins/sound/openal/OpenALSoundSource.h"

namespace Velta {

OpenALSoundSource::OpenALSoundSource(const std::string& path, bool positional, long rate, int channels,
                                     int lengthMs)
    : mPath(path), mPositional(positional), mRate(rate), mChannels(channels), mLengthMs(lengthMs)
{
}

} // namespace Velta
