// The game's frames at 1024 × 768, full screen on the virtual display, drawn
// by Mesa's software renderer.
//
// EmptyFrame: a whole game frame with nothing attached to the window (clear
// and swap only). TitleFrame: the same with the title scene drawn. Compare
// their real times; the variants leave out the on-screen sign or the
// textures.
// EngineLogic: the level update and the engine's input, logic, scene and
// sound passes of a frame; ViewWalk: the walk that collects what the camera
// sees; TargetSubmission: the whole drawing of the target up to the swap, on
// the calling thread (the engine and the driver's submission; the software
// renderer rasterises on threads of its own). Together they are the CPU time
// the engine spends per frame.
// ProfileRun: the game's deterministic profile: 600 frames of 16 ms with the
// pointer circling and a click, frame-time statistics as counters.
#include "core/ProcessManager.h"
#include "core/TimerManager.h"
#include "core/VeltaCore.h"
#include "input/ButtonEventInfo.h"
#include "input/InputEvent.h"
#include "input/InputManager.h"
#include "input/MoveEventInfo.h"
#include "plugins/render/opengl/GLObjectRenderer.h"
#include "plugins/render/opengl/GLRenderContext.h"
#include "plugins/render/opengl/GLSceneManager.h"
#include "plugins/render/opengl/GLTraverserHandler.h"
#include "plugins/render/opengl/GLViewRenderer.h"
#include "plugins/render/opengl/sdl/GLSDLRenderWindow.h"
#include "render/RenderManager.h"
#include "render/RenderTarget.h"
#include "resource/RenderSettings.h"
#include "level/Level.h"
#include "app/LevelManager.h"
#include "app/Menu.h"
#include "app/WindowManager.h"
#include "scene/Camera.h"
#include "scene/View.h"
#include "support/ManualClock.h"
#include "support/ProcessCpuTime.h"
#include "support/SoftwareWindow.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <ctime>
#include <iostream>
#include <memory>
#include <unistd.h>
#include <vector>

namespace {

using namespace Velta;

constexpr int WIDTH = 1024;
constexpr int HEIGHT = 768;
constexpr long long FRAME_MS = 16;

VeltaCore& core()
{
    return CppLib::Singleton<VeltaCore>::getSingleton();
}

/// The game as it runs: the window manager with its window and viewports,
/// the menu and the game's level, started; the clock is the benchmark's.
struct Game {
    Game()
    {
        core().startup();
        core().getTimerManager().registerTimerPlugin(clock);
        core().setup(true);
        core().getRenderManager().initializeRenderer(false);
        windows = std::make_unique<Ripplejet::WindowManager>();
        if (!windows->init()) {
            return;
        }
        menu = std::make_unique<Ripplejet::Menu>();
        windows->setMenu(menu.get());
        level = Ripplejet::LevelManager().createLevel("");
        windows->setLevel(level.get());
        started = windows->startLevel();
        window = dynamic_cast<GLSDLRenderWindow*>(windows->getWindow());
    }

    ~Game()
    {
        windows.reset();
        level.reset();
        menu.reset();
        core().shutdown();
    }

    /// One turn of the game's frame loop, 16 ms after the last.
    void frame()
    {
        clock.advance(FRAME_MS);
        const long long timestamp = core().getTimerManager().getTimestamp();
        level->update(timestamp);
        core().getProcessManager().update(true);
    }

    VeltaTest::ManualClock clock;
    std::unique_ptr<Ripplejet::WindowManager> windows;
    std::unique_ptr<Ripplejet::Menu> menu;
    std::unique_ptr<Ripplejet::Level> level;
    GLSDLRenderWindow* window = nullptr;
    bool started = false;
};

Game* gGame = nullptr;

void EmptyFrame(benchmark::State& state)
{
    gGame->window->detachRenderTarget();
    for (auto _ : state) {
        gGame->frame();
    }
    gGame->window->attachRenderTarget(gGame->windows->getRenderTarget());
}
BENCHMARK(EmptyFrame)->Unit(benchmark::kMillisecond)->UseRealTime();

void TitleFrame(benchmark::State& state)
{
    gGame->frame();
    const GLRenderContext& context = *gGame->window->getRenderContext();
    const unsigned long long uploads = context.getBufferUploadCount() + context.getTextureUploadCount();
    const double cpu = VeltaTest::processCpuMs();
    for (auto _ : state) {
        gGame->frame();
    }
    // On a machine shared with other work the real time says little; the
    // CPU time of all threads does: on two idle cores a frame takes about
    // half of it.
    state.counters["all threads cpu ms"] = (VeltaTest::processCpuMs() - cpu) / static_cast<double>(state.iterations());
    // Everything is uploaded once; only the sparkles move their particles
    // (3 buffers a frame).
    state.counters["uploads per frame"] =
        static_cast<double>(context.getBufferUploadCount() + context.getTextureUploadCount() - uploads) /
        static_cast<double>(state.iterations());
}
BENCHMARK(TitleFrame)->Unit(benchmark::kMillisecond)->UseRealTime();

/// The title scene without its on-screen sign, and without textures: what
/// the blended overlay and the texturing cost.
void TitleFrameWithoutSign(benchmark::State& state)
{
    gGame->level->getCamera()->setUseOverlay(false);
    TitleFrame(state);
    gGame->level->getCamera()->setUseOverlay(true);
}
BENCHMARK(TitleFrameWithoutSign)->Unit(benchmark::kMillisecond)->UseRealTime();

void TitleFrameWithoutTextures(benchmark::State& state)
{
    const CppLib::SharedPtr<RenderSettings> settings = gGame->level->getCamera()->getCamSettings().getRenderSettings();
    settings->setUseTextures(false);
    TitleFrame(state);
    settings->setUseTextures(true);
}
BENCHMARK(TitleFrameWithoutTextures)->Unit(benchmark::kMillisecond)->UseRealTime();

void EngineLogic(benchmark::State& state)
{
    ProcessManager& processes = core().getProcessManager();
    for (auto _ : state) {
        gGame->clock.advance(FRAME_MS);
        gGame->level->update(core().getTimerManager().getTimestamp());
        for (int id : {1, 2, 3, 5}) {
            processes.updateSubsystem(id, true);
        }
    }
}
BENCHMARK(EngineLogic)->Unit(benchmark::kMicrosecond);

void ViewWalk(benchmark::State& state)
{
    gGame->frame();
    GLViewRenderer& renderer = gGame->window->getRenderContext()->getViewRenderer();
    CppLib::SharedPtr<GLTraverserHandler> handler(
        new GLTraverserHandler(renderer.getSceneManager(), renderer.getObjectRenderer()));
    const CppLib::SharedPtr<Camera> camera = gGame->level->getCamera();
    const float aspect = static_cast<float>(WIDTH) / static_cast<float>(HEIGHT);
    for (auto _ : state) {
        CppLib::SharedPtr<View> view = camera->getView(aspect);
        renderer.getSceneManager().begin(view->getRenderSettings());
        renderer.getObjectRenderer().begin(view->getRenderSettings());
        handler->begin(view->getViewFilter());
        view->addHandler(handler);
        view->walk(0, false);
        benchmark::DoNotOptimize(renderer.getObjectRenderer().getOpaqueQueue().size());
    }
    state.counters["drawables"] = static_cast<double>(renderer.getObjectRenderer().getOpaqueQueue().size() +
                                                      renderer.getObjectRenderer().getBlendedQueue().size());
}
BENCHMARK(ViewWalk)->Unit(benchmark::kMicrosecond);

void TargetSubmission(benchmark::State& state)
{
    gGame->frame();
    GLRenderContext& context = *gGame->window->getRenderContext();
    RenderTarget& target = *gGame->windows->getRenderTarget();
    for (auto _ : state) {
        gGame->window->getRenderEngine()->renderTarget(target, context, WIDTH, HEIGHT);
    }
}
BENCHMARK(TargetSubmission)->Unit(benchmark::kMillisecond);

/// The pointer goes round a circle of 300 pixels about the window's centre
/// once every 240 frames (the window manager hands it to the level, which
/// turns its camera); a left click at frame 100 (the "go!").
void feedInput(int frame)
{
    const double angle = 2.0 * 3.141592653589793 * frame / 240.0;
    InputEvent event(core().getTimerManager().getTimestamp());
    event.setEventType(InputEvent::EVENT_MOVE,
                       *new MoveEventInfo(static_cast<float>(WIDTH / 2 + 300 * std::cos(angle)),
                                          static_cast<float>(HEIGHT / 2 + 300 * std::sin(angle))));
    core().getInputManager().triggerInputEvent(event);
    if (frame == 100) {
        event.setEventType(InputEvent::EVENT_BUTTON, *new ButtonEventInfo(ButtonEventInfo::BUTTON_PRESSED, 1));
        core().getInputManager().triggerInputEvent(event);
    }
}

void ProfileRun(benchmark::State& state)
{
    const int frames = static_cast<int>(state.range(0));
    std::vector<double> times;
    times.reserve(static_cast<size_t>(frames));
    const double cpu = VeltaTest::processCpuMs();
    for (auto _ : state) {
        times.clear();
        for (int frame = 0; frame < frames; ++frame) {
            const auto begin = std::chrono::steady_clock::now();
            feedInput(frame);
            gGame->frame();
            times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - begin).count());
        }
    }
    std::vector<double> sorted = times;
    std::sort(sorted.begin(), sorted.end());
    double sum = 0;
    for (double time : times) {
        sum += time;
    }
    const auto at = [&sorted](double fraction) {
        return sorted[std::min(sorted.size() - 1, static_cast<size_t>(fraction * static_cast<double>(sorted.size())))];
    };
    state.counters["mean ms"] = sum / static_cast<double>(times.size());
    state.counters["median ms"] = at(0.5);
    state.counters["p95 ms"] = at(0.95);
    state.counters["max ms"] = sorted.back();
    state.counters["fps"] = 1000.0 * static_cast<double>(times.size()) / sum;
    state.counters["all threads cpu ms"] = (VeltaTest::processCpuMs() - cpu) / static_cast<double>(times.size());
}
BENCHMARK(ProfileRun)->Arg(600)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (!VeltaTest::useVirtualDisplay("ripplejet_bench")) {
        return 1;
    }
    setenv("ALSOFT_DRIVERS", "null", 0);
    // The game reads its data relative to the working directory.
    if (chdir(RIPPLEJET_BIN_DIR) != 0) {
        std::cerr << "ripplejet_bench: cannot change to " << RIPPLEJET_BIN_DIR << "\n";
        return 1;
    }
    Game game;
    if (!game.window || !game.started) {
        std::cerr << "ripplejet_bench: the game did not start\n";
        return 1;
    }
    gGame = &game;
    benchmark::RunSpecifiedBenchmarks();
    gGame = nullptr;
    benchmark::Shutdown();
    return 0;
}
