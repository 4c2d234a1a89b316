// The race as the game runs it, full screen at 1024 × 768 on the virtual
// display, drawn by Mesa's software renderer, with the autopilot steering
// the player's duck down the river on a clock of 16 ms frames.
//
// EmptyLogic: a frame of the engine's input, logic, scene and sound passes
// before the race is loaded, the baseline of RaceLogic: the race's update
// and the same passes with the ten ducks, the items and the follower.
// DuckRun: one computer duck's frame (one simulation step and its query)
// against DuckBaseline, a call of the same kind that does nothing.
// EmptyFrame: a whole game frame with nothing attached to the window (clear
// and swap only). RaceFrame: the race drawn while the autopilot drives;
// compare their real times. The variants leave out the overlay (the
// display and the sign), the items with the overlay, or the textures.
// ViewWalk: the walk that collects what the camera sees; TargetSubmission:
// the drawing of the target up to the swap on the calling thread (the
// software renderer rasterises on threads of its own).
// ProfileRun: the game's deterministic profile: the click, then 600 frames
// of the autopilot from the start, frame-time statistics as counters.
#include "app/Menu.h"
#include "app/WindowManager.h"
#include "duck/Duck.h"
#include "duck/DuckModifier.h"
#include "input/ButtonEventInfo.h"
#include "items/Item.h"
#include "input/InputEvent.h"
#include "race/Autopilot.h"
#include "race/Timerace.h"

#include "core/ProcessManager.h"
#include "core/TimerManager.h"
#include "core/VeltaCore.h"
#include "plugins/render/opengl/GLObjectRenderer.h"
#include "plugins/render/opengl/GLRenderContext.h"
#include "plugins/render/opengl/GLSceneManager.h"
#include "plugins/render/opengl/GLTraverserHandler.h"
#include "plugins/render/opengl/GLViewRenderer.h"
#include "plugins/render/opengl/sdl/GLSDLRenderWindow.h"
#include "render/RenderManager.h"
#include "render/RenderTarget.h"
#include "resource/RenderSettings.h"
#include "scene/Branch.h"
#include "scene/Camera.h"
#include "scene/Overlay.h"
#include "scene/SceneGraph.h"
#include "scene/TransformationNode.h"
#include "scene/View.h"
#include "testkit/ManualClock.h"
#include "testkit/ProcessCpuTime.h"
#include "testkit/SoftwareWindow.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
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

/// The game as it runs: the window manager with its window and viewports
/// and the menu; the race is loaded on first use, so that the engine's
/// frame can be measured without it. The clock is the benchmark's.
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
        window = dynamic_cast<GLSDLRenderWindow*>(windows->getWindow());
    }

    ~Game()
    {
        pilot.reset();
        windows.reset();
        race.reset();
        menu.reset();
        core().shutdown();
    }

    /// Loads and starts the race, clicks "go" and lets the duck go.
    bool startRace()
    {
        if (race) {
            return started;
        }
        race = std::make_unique<Ripplejet::Timerace>();
        windows->setLevel(race.get());
        started = windows->startLevel();
        if (!started) {
            return false;
        }
        frame();
        InputEvent click(clock.getTimestamp());
        click.setEventType(InputEvent::EVENT_BUTTON, *new ButtonEventInfo(ButtonEventInfo::BUTTON_PRESSED, 1));
        race->processInputEvent(click);
        while (!race->isRunning()) {
            frame();
        }
        pilot = std::make_unique<Ripplejet::Autopilot>(*race, *race->getPlayerModifier(), race.get());
        const Branch& root = *race->getSceneGraph()->getRoot();
        rootOrder.clear();
        for (int i = 0; i < root.getAttachedChildCount(); ++i) {
            rootOrder.push_back(root.getAttachedChild(i));
        }
        return true;
    }

    /// One turn of the game's frame loop, 16 ms after the last, the
    /// autopilot steering once the race runs.
    void frame()
    {
        beginFrame();
        core().getProcessManager().update(true);
    }

    /// The engine's passes but drawing, as a frame runs them.
    void logicOnly()
    {
        beginFrame();
        for (int id : {1, 2, 3, 5}) {
            core().getProcessManager().updateSubsystem(id, true);
        }
    }

    /// 16 ms on; the autopilot steers and the race updates.
    void beginFrame()
    {
        clock.advance(FRAME_MS);
        const long long timestamp = core().getTimerManager().getTimestamp();
        if (pilot) {
            pilot->update(timestamp);
        }
        if (race) {
            race->update(timestamp);
        }
    }

    VeltaTest::ManualClock clock;
    std::unique_ptr<Ripplejet::WindowManager> windows;
    std::unique_ptr<Ripplejet::Menu> menu;
    std::unique_ptr<Ripplejet::Timerace> race;
    std::unique_ptr<Ripplejet::Autopilot> pilot;
    GLSDLRenderWindow* window = nullptr;
    bool started = false;
    /// What the race's scene root holds, in order.
    std::vector<Node*> rootOrder;
};

Game* gGame = nullptr;

bool needRace(benchmark::State& state)
{
    if (!gGame->startRace()) {
        state.SkipWithError("the race did not start");
        return false;
    }
    return true;
}

void EmptyLogic(benchmark::State& state)
{
    for (auto _ : state) {
        gGame->logicOnly();
    }
}
BENCHMARK(EmptyLogic)->Unit(benchmark::kMicrosecond);

void RaceLogic(benchmark::State& state)
{
    if (!needRace(state)) {
        return;
    }
    for (auto _ : state) {
        gGame->logicOnly();
    }
}
BENCHMARK(RaceLogic)->Unit(benchmark::kMicrosecond);

/// A stand-in with the call's shape that does nothing: the baseline of one
/// duck's frame.
class IdleProcess : public Process {
public:
    int run(long long timestamp) override
    {
        benchmark::DoNotOptimize(timestamp);
        return 0;
    }
};

void DuckBaseline(benchmark::State& state)
{
    IdleProcess idle;
    Process* process = &idle;
    benchmark::DoNotOptimize(process);
    long long timestamp = 1;
    for (auto _ : state) {
        process->run(timestamp += FRAME_MS);
    }
}
BENCHMARK(DuckBaseline)->Unit(benchmark::kNanosecond);

/// The duck modifier of a computer duck drifting down the river: one
/// simulation step of 16 ms, the query of what it touches, its update.
void DuckRun(benchmark::State& state)
{
    if (!needRace(state)) {
        return;
    }
    const Ripplejet::Duck* drifter = gGame->race->getDucks().front().get();
    Ripplejet::DuckModifier modifier(const_cast<Ripplejet::Duck*>(drifter), gGame->race->getTerrain(),
                                     gGame->race->getWater(), *gGame->race->getSceneGraph());
    modifier.setState(LogicElement::ACTIVE);
    long long timestamp = gGame->clock.getTimestamp();
    modifier.run(timestamp);
    for (auto _ : state) {
        modifier.run(timestamp += FRAME_MS);
    }
}
BENCHMARK(DuckRun)->Unit(benchmark::kNanosecond);

/// Draws the frames the benchmark asks for; reports the CPU time of all
/// threads and the uploads per frame.
void drawFrames(benchmark::State& state)
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
    state.counters["uploads per frame"] =
        static_cast<double>(context.getBufferUploadCount() + context.getTextureUploadCount() - uploads) /
        static_cast<double>(state.iterations());
}

void EmptyFrame(benchmark::State& state)
{
    if (!needRace(state)) {
        return;
    }
    gGame->window->detachRenderTarget();
    drawFrames(state);
    gGame->window->attachRenderTarget(gGame->windows->getRenderTarget());
}
BENCHMARK(EmptyFrame)->Unit(benchmark::kMillisecond)->UseRealTime();

void RaceFrame(benchmark::State& state)
{
    if (needRace(state)) {
        drawFrames(state);
    }
}
BENCHMARK(RaceFrame)->Unit(benchmark::kMillisecond)->UseRealTime();

void RaceFrameWithoutOverlay(benchmark::State& state)
{
    if (!needRace(state)) {
        return;
    }
    gGame->race->getCamera()->setUseOverlay(false);
    drawFrames(state);
    gGame->race->getCamera()->setUseOverlay(true);
}
BENCHMARK(RaceFrameWithoutOverlay)->Unit(benchmark::kMillisecond)->UseRealTime();

/// The scene shaded under the display's opaque panels too, as before they
/// were held out of it.
void RaceFrameShadedUnderTheDisplay(benchmark::State& state)
{
    if (!needRace(state)) {
        return;
    }
    Overlay& display = *gGame->race->getCamera()->getOverlay();
    const std::vector<Overlay::Area> areas = display.getOpaqueAreas();
    display.setOpaqueAreas({});
    drawFrames(state);
    display.setOpaqueAreas(areas);
}
BENCHMARK(RaceFrameShadedUnderTheDisplay)->Unit(benchmark::kMillisecond)->UseRealTime();

/// Takes the items (their models and sparkles) out of the course, or puts
/// them back: every node comes off the scene's root and goes back in its
/// order, since opaque surfaces are drawn in the order attached.
void showItems(bool shown)
{
    Branch& root = *gGame->race->getSceneGraph()->getRoot();
    const std::vector<Node*>& all = gGame->rootOrder;
    for (Node* node : all) {
        if (node->getParent() == &root) {
            root.detachChild(node->getNodeId());
        }
    }
    for (Node* node : all) {
        const auto* holder = dynamic_cast<TransformationNode*>(node);
        const bool item = holder && dynamic_cast<Ripplejet::Item*>(holder->getChild());
        if (shown || !item) {
            root.attachChild(*node);
        }
    }
}

/// The race without its items and without its display: what they cost.
void RaceFrameWithoutItemsAndOverlay(benchmark::State& state)
{
    if (!needRace(state)) {
        return;
    }
    showItems(false);
    gGame->race->getCamera()->setUseOverlay(false);
    drawFrames(state);
    gGame->race->getCamera()->setUseOverlay(true);
    showItems(true);
}
BENCHMARK(RaceFrameWithoutItemsAndOverlay)->Unit(benchmark::kMillisecond)->UseRealTime();

void RaceFrameWithoutTextures(benchmark::State& state)
{
    if (!needRace(state)) {
        return;
    }
    const CppLib::SharedPtr<RenderSettings> settings = gGame->race->getCamera()->getCamSettings().getRenderSettings();
    settings->setUseTextures(false);
    drawFrames(state);
    settings->setUseTextures(true);
}
BENCHMARK(RaceFrameWithoutTextures)->Unit(benchmark::kMillisecond)->UseRealTime();

void ViewWalk(benchmark::State& state)
{
    if (!needRace(state)) {
        return;
    }
    gGame->frame();
    GLViewRenderer& renderer = gGame->window->getRenderContext()->getViewRenderer();
    CppLib::SharedPtr<GLTraverserHandler> handler(
        new GLTraverserHandler(renderer.getSceneManager(), renderer.getObjectRenderer()));
    const CppLib::SharedPtr<Camera> camera = gGame->race->getCamera();
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
    if (!needRace(state)) {
        return;
    }
    gGame->frame();
    GLRenderContext& context = *gGame->window->getRenderContext();
    RenderTarget& target = *gGame->windows->getRenderTarget();
    for (auto _ : state) {
        gGame->window->getRenderEngine()->renderTarget(target, context, WIDTH, HEIGHT);
    }
}
BENCHMARK(TargetSubmission)->Unit(benchmark::kMillisecond);

/// A fresh race from the click: `frames` frames of the autopilot, each
/// timed on the wall clock.
void ProfileRun(benchmark::State& state)
{
    const int frames = static_cast<int>(state.range(0));
    std::vector<double> times;
    times.reserve(static_cast<size_t>(frames));
    double cpu = 0.0;
    for (auto _ : state) {
        state.PauseTiming();
        gGame->pilot.reset();
        gGame->windows->setLevel(nullptr);
        gGame->race.reset();
        if (!needRace(state)) {
            return;
        }
        state.ResumeTiming();
        times.clear();
        cpu = VeltaTest::processCpuMs();
        for (int frame = 0; frame < frames; ++frame) {
            const auto begin = std::chrono::steady_clock::now();
            gGame->frame();
            times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - begin).count());
        }
        cpu = VeltaTest::processCpuMs() - cpu;
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
    state.counters["all threads cpu ms"] = cpu / static_cast<double>(times.size());
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
    if (!game.window) {
        std::cerr << "ripplejet_bench: the window did not open\n";
        return 1;
    }
    gGame = &game;
    benchmark::RunSpecifiedBenchmarks();
    gGame = nullptr;
    benchmark::Shutdown();
    return 0;
}
