#include "resource/TextureSource.h"

namespace Velta {

TextureSource::~TextureSource() = default;

Color TextureSource::getPixelColor(unsigned int x, unsigned int y, unsigned int z) const
{
    return getTextureInfo().getPixelColor(getPixel(x, y, z));
}

} // namespace Velta
