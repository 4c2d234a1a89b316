#pragma once

#include "core/TimerManager.h"
#include "core/VeltaCore.h"
#include "plugins/render/opengl/sdl/GLSDLRenderWindow.h"
#include "render/RenderManager.h"
#include "render/RenderTarget.h"
#include "render/Viewport.h"
#include "scene/Camera.h"
#include "testkit/ManualClock.h"
#include "testkit/VirtualDisplay.h"

#include <cstdlib>
#include <iostream>

// What the frame benchmarks share: the virtual display with Mesa's software
// renderer, the engine on a hand-set clock, a window and a target.
namespace VeltaTest {

/// Makes sure there is a display and asks for the software renderer; says
/// why not on standard error, as `program: …`, and answers false.
inline bool useVirtualDisplay(const char* program)
{
    VirtualDisplay& display = VirtualDisplay::get();
    if (!display.isAvailable()) {
        std::cerr << program << ": no display: " << display.getProblem() << "\n";
        return false;
    }
    setenv("LIBGL_ALWAYS_SOFTWARE", "1", 0);
    return true;
}

/// Starts the engine on `clock` and opens a window; null when it does not
/// open (the caller shuts the engine down).
inline Velta::GLSDLRenderWindow* startWithWindow(ManualClock& clock, const char* title, int width, int height)
{
    Velta::VeltaCore& core = CppLib::Singleton<Velta::VeltaCore>::getSingleton();
    core.startup();
    core.getTimerManager().registerTimerPlugin(clock);
    core.setup(true);
    core.getRenderManager().initializeRenderer(false);
    return dynamic_cast<Velta::GLSDLRenderWindow*>(
        core.getRenderManager().createRenderWindow(title, width, height, false, 0, 0, nullptr));
}

/// A target with one viewport over the whole window, through `camera`.
inline CppLib::SharedPtr<Velta::RenderTarget> wholeWindowTarget(const CppLib::SharedPtr<Velta::Camera>& camera)
{
    CppLib::SharedPtr<Velta::Viewport> viewport(new Velta::Viewport(0.0f, 0.0f, 1.0f, 1.0f));
    viewport->attachCamera(camera);
    CppLib::SharedPtr<Velta::RenderTarget> target(new Velta::RenderTarget());
    target->attachViewport(viewport);
    return target;
}

} // namespace VeltaTest
