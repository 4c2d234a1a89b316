#pragma once

#include "VeltaExport.h"
#include "render/RenderEngine.h"

#include <memory>

namespace Velta {

class GLCapabilities;
class GLRenderContext;
class RenderTarget;

/// The OpenGL render engine: starts SDL video, opens GLSDLRenderWindows and
/// draws their render targets. Created, registered under "opengl" and owned
/// by GLRenderPlugin.
///
/// SDL 1.2 has one video surface: opening a window replaces the OpenGL
/// context of any window opened before. The engine numbers the OpenGL
/// contexts it made (generations) so that a window can tell whether its
/// context is still the one in use.
class VELTA_EXPORT GLRenderEngine : public RenderEngine {
public:
    GLRenderEngine();
    ~GLRenderEngine() override;

    /// Starts SDL video and loads the OpenGL library; false when either fails.
    bool initialize() override;

    /// A GLSDLRenderWindow, opened; null when it cannot be opened.
    RenderWindow* createRenderWindow(int id, const std::string& name, int width, int height, bool fullscreen,
                                     int offsetX, int offsetY,
                                     CppLib::LinkedMap<std::string, std::string>* params) override;

    /// What SDL lists for an OpenGL full-screen window.
    std::vector<std::pair<int, int>> getFullscreenSizes() const override;
    Capabilities* getCapabilities() override;

    /// Stops SDL video when this engine started it.
    void shutdown() override;

    bool isInitialized() const { return mInitialized; }

    /// Draws the viewports of `target` on a window of `width` × `height`
    /// pixels with `context`, in index order: each enabled viewport with a
    /// camera in a scene shows that scene and then the camera's overlay.
    void renderTarget(RenderTarget& target, GLRenderContext& context, int width, int height);

    /// A window made a new OpenGL context; returns its number (from 1).
    unsigned long long createGeneration();
    /// The number of the OpenGL context in use; no window's after shutdown.
    unsigned long long getGeneration() const { return mGeneration; }

private:
    /// Keeps the OpenGL driver loaded until the process ends.
    static void keepDriverLoaded();

    std::unique_ptr<GLCapabilities> mCapabilities;
    bool mInitialized = false;
    unsigned long long mGeneration = 0;
};

} // namespace Velta
