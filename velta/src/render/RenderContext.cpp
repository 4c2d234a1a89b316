#include "render/RenderContext.h"

namespace Velta {

RenderContext::~RenderContext() = default;

} // namespace Velta
