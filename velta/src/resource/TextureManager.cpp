#include "resource/TextureManager.h"

namespace Velta {

TextureManager::TextureManager() = default;
TextureManager::~TextureManager() = default;

} // namespace Velta
