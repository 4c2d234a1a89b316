#include "resource/Texture2D.h"

#include "core/TimerManager.h"
#include "core/VeltaCore.h"
#include "resource/TextureSource.h"

namespace Velta {

Texture2D::Texture2D() : Texture(2, 1) {}

Texture2D::Texture2D(const CppLib::SharedPtr<TextureSource>& source) : Texture(2, 1), mSource(source) {}

Texture2D::~Texture2D() = default;

void Texture2D::setTextureSource(const CppLib::SharedPtr<TextureSource>& source)
{
    mSource = source;
    mChangeTime = VeltaCore::getSingleton().getTimerManager().getTimestamp();
}

bool Texture2D::hasChanged(long long time) const
{
    return mChangeTime >= time || (!mSource.isNull() && mSource->hasChanged(time));
}

const CppLib::SharedPtr<TextureSource> Texture2D::getTextureSource(unsigned int, unsigned int) const
{
    return mSource;
}

} // namespace Velta
