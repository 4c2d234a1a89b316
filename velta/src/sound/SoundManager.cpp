#include "sound/SoundManager.h"

namespace Velta {

SoundManager::SoundManager()
{
    setSubsystemId(5);
}

SoundManager::~SoundManager() = default;

} // namespace Velta
