#pragma once

#include "VeltaExport.h"

namespace Velta {

class RenderEngine;

/// The back end's drawing state of one render target: what it has uploaded
/// and what the driver offers. Owned by its target (a window).
class VELTA_EXPORT RenderContext {
public:
    virtual ~RenderContext();

    virtual RenderEngine* getRenderEngine() = 0;

    /// Called around the drawing of each frame.
    virtual void beginFrame() = 0;
    virtual void endFrame() = 0;

    /// Frees at once what it kept for resources that are gone, which it does
    /// now and then anyway: for when many have just gone (a whole scene), so
    /// that what comes next can take their place.
    virtual void releaseUnused() {}

protected:
    RenderContext() = default;
    RenderContext(const RenderContext&) = delete;
    RenderContext& operator=(const RenderContext&) = delete;
};

} // namespace Velta
