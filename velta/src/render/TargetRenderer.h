#pragma once

#include "VeltaExport.h"
#include "cpplib/SharedPtr.h"

namespace Velta {

class RenderContext;
class RenderEngine;
class RenderTarget;

/// Something a render engine draws into, of a fixed size in pixels: a window
/// or, in principle, a texture. It draws the viewports of the render target
/// attached to it once per frame.
class VELTA_EXPORT TargetRenderer {
public:
    TargetRenderer(int id, int width, int height);
    virtual ~TargetRenderer();

    TargetRenderer(const TargetRenderer&) = delete;
    TargetRenderer& operator=(const TargetRenderer&) = delete;

    virtual int getId() const { return mId; }
    virtual int getHeight() const { return mHeight; }
    virtual int getWidth() const { return mWidth; }

    /// The target drawn each frame; empty when none is attached.
    virtual CppLib::SharedPtr<RenderTarget> getRenderTarget() const { return mRenderTarget; }
    virtual void attachRenderTarget(CppLib::SharedPtr<RenderTarget> target) { mRenderTarget = target; }
    /// Detaches the target and returns it.
    virtual CppLib::SharedPtr<RenderTarget> detachRenderTarget();

    virtual RenderEngine* getRenderEngine() = 0;
    virtual RenderContext* getRenderContext() = 0;

    /// Draws one frame; `time` is the frame's timestamp (milliseconds).
    virtual void render(long long time) = 0;

protected:
    /// For targets whose size can change (a window switched to another mode).
    void setSize(int width, int height)
    {
        mWidth = width;
        mHeight = height;
    }

private:
    int mId;
    int mWidth;
    int mHeight;
    CppLib::SharedPtr<RenderTarget> mRenderTarget;
};

} // namespace Velta
