#include "resource/Texture1D.h"

namespace Velta {

Texture1D::Texture1D() : Texture(1, 1) {}

Texture1D::~Texture1D() = default;

} // namespace Velta
