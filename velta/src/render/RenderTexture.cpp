#include "render/RenderTexture.h"

namespace Velta {

RenderTexture::RenderTexture(int id, int width, int height) : TargetRenderer(id, width, height) {}

RenderTexture::~RenderTexture() = default;

} // namespace Velta
