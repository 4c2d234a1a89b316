#include "render/RenderEngine.h"

namespace Velta {

RenderEngine::~RenderEngine() = default;

} // namespace Velta
