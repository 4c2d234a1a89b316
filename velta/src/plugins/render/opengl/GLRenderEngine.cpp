#include "plugins/render/opengl/GLRenderEngine.h"

#include "core/VeltaCore.h"
#include "plugins/render/opengl/GLCapabilities.h"
#include "plugins/render/opengl/GLRenderContext.h"
#include "plugins/render/opengl/GLViewRenderer.h"
#include "plugins/render/opengl/sdl/GLSDLRenderWindow.h"
#include "render/RenderTarget.h"
#include "render/Viewport.h"
#include "scene/Camera.h"
#include "scene/Overlay.h"
#include "scene/View.h"

#include <GL/glew.h>
#include <SDL/SDL.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#ifdef __linux__
#include <dlfcn.h>
#include <link.h>
#endif

namespace Velta {

namespace {

#ifdef __linux__
/// Makes a loaded DRI driver stay loaded when it is closed.
int pinDriver(dl_phdr_info* info, size_t, void*)
{
    const char* name = info->dlpi_name;
    const size_t length = name ? std::strlen(name) : 0;
    static const char SUFFIX[] = "_dri.so";
    const size_t suffix = sizeof(SUFFIX) - 1;
    if (length > suffix && std::strcmp(name + length - suffix, SUFFIX) == 0) {
        // Only raises the flag of the loaded library; the handle is never closed.
        dlopen(name, RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE);
    }
    return 0;
}
#endif

/// Whether the rectangle shows any part of a `width` × `height` target.
bool showsPartOf(int x, int y, int w, int h, int width, int height)
{
    return w > 0 && h > 0 && x < width && y < height && x + w > 0 && y + h > 0;
}

/// The whole pixels of a `length`-pixel span from `start` that lie between
/// the fractions `from` and `to` of it: the first and one past the last.
std::pair<int, int> wholePixelsWithin(int start, int length, float from, float to)
{
    const float span = static_cast<float>(length);
    const int first = static_cast<int>(std::ceil(std::clamp(from, 0.0f, 1.0f) * span));
    const int end = static_cast<int>(std::floor(std::clamp(to, 0.0f, 1.0f) * span));
    return {start + first, start + end};
}

/// Starts the depth buffer at the near plane over the whole pixels of the
/// overlay's opaque areas, within the viewport (x, y, w, h): every fragment
/// of the scene there then fails the depth test before it is textured. The
/// overlay paints those pixels over whatever the scene would have left.
void holdOutOpaqueAreas(const Overlay& overlay, int x, int y, int w, int h)
{
    const std::vector<Overlay::Area>& areas = overlay.getOpaqueAreas();
    if (areas.empty()) {
        return;
    }
    glEnable(GL_SCISSOR_TEST);
    glClearDepth(0.0);
    for (const Overlay::Area& area : areas) {
        // Empty, inside out, or not a number.
        if (!(area.xMin < area.xMax && area.yMin < area.yMax)) {
            continue;
        }
        const auto [left, right] = wholePixelsWithin(x, w, area.xMin, area.xMax);
        const auto [bottom, top] = wholePixelsWithin(y, h, area.yMin, area.yMax);
        if (right > left && top > bottom) {
            glScissor(left, bottom, right - left, top - bottom);
            glClear(GL_DEPTH_BUFFER_BIT);
        }
    }
    glClearDepth(1.0);
    glDisable(GL_SCISSOR_TEST);
}

} // namespace

GLRenderEngine::GLRenderEngine() : mCapabilities(std::make_unique<GLCapabilities>()) {}

GLRenderEngine::~GLRenderEngine() = default;

bool GLRenderEngine::initialize()
{
    if (mInitialized) {
        return true;
    }
#ifdef __linux__
    // Only SDL's X11 driver offers OpenGL here. Without a display SDL would
    // otherwise fall back to drawing text on the terminal and fail later, in
    // the middle of the terminal's screen; a driver chosen by the user stays.
    setenv("SDL_VIDEODRIVER", "x11", 0);
#endif
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) < 0) {
        VeltaCore::getLogger("glrendercontext")->error(
            std::string("SDL Error while starting video: ") + SDL_GetError());
        return false;
    }
    mInitialized = true;
    if (SDL_GL_LoadLibrary(nullptr) < 0) {
        VeltaCore::getLogger("glrendercontext")->error(
            std::string("SDL Error while loading OpenGL: ") + SDL_GetError());
        return false;
    }
    return true;
}

RenderWindow* GLRenderEngine::createRenderWindow(int id, const std::string& name, int width, int height,
                                                 bool fullscreen, int offsetX, int offsetY,
                                                 CppLib::LinkedMap<std::string, std::string>* params)
{
    auto* window = new GLSDLRenderWindow(id, name, width, height, fullscreen, offsetX, offsetY, params, *this);
    if (!window->open()) {
        delete window;
        return nullptr;
    }
    return window;
}

std::vector<std::pair<int, int>> GLRenderEngine::getFullscreenSizes() const
{
    std::vector<std::pair<int, int>> sizes;
    if (!SDL_WasInit(SDL_INIT_VIDEO)) {
        return sizes;
    }
    SDL_Rect** modes = SDL_ListModes(nullptr, SDL_OPENGL | SDL_FULLSCREEN);
    // Null: no mode at all; -1: any size.
    if (modes == nullptr || modes == reinterpret_cast<SDL_Rect**>(-1)) {
        return sizes;
    }
    for (int i = 0; modes[i]; ++i) {
        sizes.emplace_back(modes[i]->w, modes[i]->h);
    }
    return sizes;
}

Capabilities* GLRenderEngine::getCapabilities()
{
    return mCapabilities.get();
}

void GLRenderEngine::shutdown()
{
    if (!mInitialized) {
        return;
    }
    // Other SDL parts (input, the timer) may still run: only video stops.
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    mInitialized = false;
    createGeneration();
}

unsigned long long GLRenderEngine::createGeneration()
{
    keepDriverLoaded();
    return ++mGeneration;
}

void GLRenderEngine::keepDriverLoaded()
{
    // Stopping SDL video closes the display, and with it Mesa unloads its
    // driver, whose one-time start-up state (kept for the process) is then
    // lost and made anew by the next window. The driver stays loaded instead.
#ifdef __linux__
    static bool pinned = false;
    if (!pinned) {
        pinned = true;
        dl_iterate_phdr(pinDriver, nullptr);
    }
#endif
}

void GLRenderEngine::renderTarget(RenderTarget& target, GLRenderContext& context, int width, int height)
{
    GLStateCache& state = context.getStateCache();
    state.invalidate();
    const Color& background = target.getBackgroundColor();
    glClearColor(background.r, background.g, background.b, background.a);
    state.setDepthMask(true);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);

    GLViewRenderer& renderer = context.getViewRenderer();
    for (int index = 0; index < target.getViewportCount(); ++index) {
        const CppLib::SharedPtr<Viewport> viewport = target.getViewport(index);
        if (viewport.isNull() || !viewport->isEnabled()) {
            continue;
        }
        const CppLib::SharedPtr<Camera> camera = viewport->getCamera();
        if (camera.isNull()) {
            continue;
        }
        const int x = viewport->getPosX(width);
        const int y = viewport->getPosY(height);
        const int w = viewport->getWidth(width);
        const int h = viewport->getHeight(height);
        if (!showsPartOf(x, y, w, h, width, height)) {
            renderer.reportViewportOutside(*viewport, x, y, w, h, width, height);
            continue;
        }
        const float aspect = static_cast<float>(w) / static_cast<float>(h);
        glViewport(x, y, w, h);

        const CppLib::SharedPtr<View> view = camera->getFrameView(aspect);
        if (view.isNull()) {
            continue;
        }
        // Each view starts without marks (Material::setMarksPixels).
        glClear(GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
        if (camera->useOverlay()) {
            holdOutOpaqueAreas(*camera->getOverlay(), x, y, w, h);
        }
        renderer.render(*view);

        if (camera->useOverlay()) {
            const CppLib::SharedPtr<View> overlay = camera->getFrameOverlayView(aspect);
            if (!overlay.isNull()) {
                glClear(GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
                renderer.render(*overlay);
            }
        }
    }
    glFlush();
}

} // namespace Velta
