#pragma once

#include "VeltaExport.h"
#include "cpplib/LinkedMap.h"

#include <string>
#include <utility>
#include <vector>

namespace Velta {

class Capabilities;
class RenderWindow;

/// A rendering back end, registered with the render manager under a name
/// ("opengl" for the built-in one). Owned by the plug-in that created it; the
/// render manager only points at it.
class VELTA_EXPORT RenderEngine {
public:
    virtual ~RenderEngine();

    /// Starts the back end; false when it cannot run (no display, no driver).
    virtual bool initialize() = 0;

    /// Opens a window of `width` × `height` pixels at (`offsetX`, `offsetY`).
    /// `params` may be null and is not kept. Null when the window cannot be
    /// opened; otherwise a new window owned by the caller (the render
    /// manager).
    virtual RenderWindow* createRenderWindow(int id, const std::string& name, int width, int height, bool fullscreen,
                                             int offsetX, int offsetY,
                                             CppLib::LinkedMap<std::string, std::string>* params) = 0;

    /// The full-screen sizes (width, height) the display offers, largest
    /// first; empty when any size will do or the back end cannot tell.
    virtual std::vector<std::pair<int, int>> getFullscreenSizes() const { return {}; }

    /// What the back end can do; owned by the engine.
    virtual Capabilities* getCapabilities() = 0;

    /// Stops the back end. Windows it opened must be gone by then.
    virtual void shutdown() = 0;

protected:
    RenderEngine() = default;
    RenderEngine(const RenderEngine&) = delete;
    RenderEngine& operator=(const RenderEngine&) = delete;
};

} // namespace Velta
