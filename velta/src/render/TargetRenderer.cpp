#include "render/TargetRenderer.h"

#include "render/RenderTarget.h"

namespace Velta {

TargetRenderer::TargetRenderer(int id, int width, int height) : mId(id), mWidth(width), mHeight(height) {}

TargetRenderer::~TargetRenderer() = default;

CppLib::SharedPtr<RenderTarget> TargetRenderer::detachRenderTarget()
{
    CppLib::SharedPtr<RenderTarget> target = mRenderTarget;
    mRenderTarget.setNull();
    return target;
}

} // namespace Velta
