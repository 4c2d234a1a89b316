#include "plugins/render/opengl/GLCapabilities.h"

namespace Velta {

GLCapabilities::~GLCapabilities() = default;

} // namespace Velta
