#include "render/RenderTarget.h"

#include "render/Viewport.h"

namespace Velta {

RenderTarget::RenderTarget() = default;

RenderTarget::~RenderTarget() = default;

int RenderTarget::attachViewport(CppLib::SharedPtr<Viewport> viewport)
{
    return mViewports.append(viewport);
}

int RenderTarget::insertViewport(int index, CppLib::SharedPtr<Viewport> viewport)
{
    const int count = getViewportCount();
    if (index < 0 || index > count) {
        return -1;
    }
    mViewports.append(viewport);
    for (int position = count; position > index; --position) {
        mViewports.set(position, mViewports.get(position - 1));
    }
    mViewports.set(index, viewport);
    return index;
}

CppLib::SharedPtr<Viewport> RenderTarget::getViewport(int index) const
{
    return mViewports.get(index);
}

CppLib::SharedPtr<Viewport> RenderTarget::detachViewport(int index) const
{
    return mViewports.get(index);
}

} // namespace Velta
