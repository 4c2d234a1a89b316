#include "resource/Texture3D.h"

namespace Velta {

Texture3D::Texture3D() : Texture(3, 1) {}

Texture3D::~Texture3D() = default;

} // namespace Velta
