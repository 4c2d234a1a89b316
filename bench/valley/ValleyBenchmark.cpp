// Frames of the race's valley in a 1024 × 768 window drawn by Mesa's
// software renderer, seen from behind the player's duck at the start: the
// race as the game loads it (course, items, ducks), with the camera held
// still and the on-screen display off.
//
// EmptyFrame: clear and swap only, the baseline.
// ValleyFrame: the whole valley as the race starts (fog off).
// ValleyFrameFog: the same with the fog the camera gets under water.
// ValleyFrameWithout/<part>: the valley less one part, to see what each costs.
// ValleySubmission: the engine's and the driver's work on the calling thread
// for one frame's drawing (rasterising runs on the renderer's own threads).
//
// The data is read from the directory of the program, where building the
// game_content target writes it.
//
// Options (after Google Benchmark's own):
//   --section=N  looks from behind a duck at the river's cross section N
//                (of 58) instead of the start; a fraction (20.25) looks
//                from that far on toward the next one;
//   --frame=FILE draws one valley frame, writes it to FILE as a binary PPM
//                image and runs no benchmark;
//   --frames=N   draws N valley frames after the warm-up and runs no
//                benchmark: with LP_NUM_THREADS=0, what `valgrind
//                --tool=callgrind --instr-atstart=no --collect-atstart=no`
//                collects is the instructions of those N frames, repeatable
//                on a busy machine (loading runs uninstrumented);
//   --without=P,… leaves the parts named out (terrain, water, sky, scenery,
//                items, ducks) for --frame and --frames.
#include "CourseView.h"

#include "course/CourseBuilder.h"
#include "race/Timerace.h"
#include "testkit/ManualClock.h"
#include "testkit/ProcessCpuTime.h"
#include "testkit/SoftwareWindow.h"

#include "core/ProcessManager.h"
#include "core/TimerManager.h"
#include "core/VeltaCore.h"
#include "plugins/render/opengl/GLRenderContext.h"
#include "plugins/render/opengl/sdl/GLSDLRenderWindow.h"
#include "render/RenderManager.h"
#include "render/RenderTarget.h"
#include "render/Viewport.h"
#include "resource/RenderSettings.h"
#include "scene/Camera.h"

#include <benchmark/benchmark.h>
#if __has_include(<valgrind/callgrind.h>)
#include <valgrind/callgrind.h>
#define VALLEY_START_COUNTING() \
    CALLGRIND_START_INSTRUMENTATION;  \
    CALLGRIND_TOGGLE_COLLECT
#define VALLEY_STOP_COUNTING() CALLGRIND_TOGGLE_COLLECT
#else
#define VALLEY_START_COUNTING()
#define VALLEY_STOP_COUNTING()
#endif

#include <GL/gl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace Velta;

constexpr int WIDTH = 1024;
constexpr int HEIGHT = 768;

VeltaCore& core()
{
    return CppLib::Singleton<VeltaCore>::getSingleton();
}

using RipplejetBench::CourseView;

/// The window, the clock and the race, made once for all benchmarks.
struct Bench {
    Bench()
    {
        window = VeltaTest::startWithWindow(clock, "valley", WIDTH, HEIGHT);
        if (!window) {
            return;
        }
        race = std::make_unique<Ripplejet::Timerace>();
        loaded = race->load();
        if (!loaded) {
            return;
        }
        race->getCamera()->setUseOverlay(false);
        view = std::make_unique<CourseView>(*race);
        target = VeltaTest::wholeWindowTarget(race->getCamera());
        target->setBackgroundColor(Ripplejet::CourseBuilder::getBackgroundColor());
    }

    ~Bench()
    {
        view.reset();
        race.reset();
        core().shutdown();
    }

    void frame()
    {
        clock.advance(16);
        race->update(core().getTimerManager().getTimestamp());
        core().getProcessManager().update(true);
    }

    void setFog(bool fog) { race->getCamera()->getCamSettings().getRenderSettings()->setUseFog(fog); }

    /// Draws a few frames first: uploads and the driver's first-use work
    /// are not part of a frame's cost.
    void warmUp()
    {
        for (int i = 0; i < 3; ++i) {
            frame();
        }
    }

    VeltaTest::ManualClock clock;
    GLSDLRenderWindow* window = nullptr;
    std::unique_ptr<Ripplejet::Timerace> race;
    bool loaded = false;
    std::unique_ptr<CourseView> view;
    CppLib::SharedPtr<RenderTarget> target;
};

Bench* gBench = nullptr;

/// Draws the frames the benchmark asks for and reports the CPU time of all
/// threads per frame: on two idle cores a frame takes about half of it.
void drawFrames(benchmark::State& state)
{
    const double cpu = VeltaTest::processCpuMs();
    for (auto _ : state) {
        gBench->frame();
    }
    state.counters["all threads cpu ms"] = (VeltaTest::processCpuMs() - cpu) / static_cast<double>(state.iterations());
}

void EmptyFrame(benchmark::State& state)
{
    gBench->window->detachRenderTarget();
    gBench->warmUp();
    drawFrames(state);
}
BENCHMARK(EmptyFrame)->Unit(benchmark::kMillisecond)->UseRealTime();

void ValleyFrame(benchmark::State& state)
{
    gBench->window->attachRenderTarget(gBench->target);
    gBench->warmUp();
    drawFrames(state);
    gBench->window->detachRenderTarget();
}
BENCHMARK(ValleyFrame)->Unit(benchmark::kMillisecond)->UseRealTime();

void ValleyFrameFog(benchmark::State& state)
{
    gBench->setFog(true);
    gBench->window->attachRenderTarget(gBench->target);
    gBench->warmUp();
    drawFrames(state);
    gBench->window->detachRenderTarget();
    gBench->setFog(false);
}
BENCHMARK(ValleyFrameFog)->Unit(benchmark::kMillisecond)->UseRealTime();

void ValleyFrameWithout(benchmark::State& state)
{
    const auto part = static_cast<CourseView::Part>(state.range(0));
    state.SetLabel(CourseView::PART_NAMES[part]);
    gBench->view->setShown(part, false);
    gBench->window->attachRenderTarget(gBench->target);
    gBench->warmUp();
    drawFrames(state);
    gBench->window->detachRenderTarget();
    gBench->view->setShown(part, true);
}
BENCHMARK(ValleyFrameWithout)
    ->DenseRange(0, CourseView::PART_COUNT - 1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

void ValleySubmission(benchmark::State& state)
{
    gBench->window->attachRenderTarget(gBench->target);
    gBench->warmUp();
    GLRenderContext& context = *gBench->window->getRenderContext();
    for (auto _ : state) {
        gBench->window->getRenderEngine()->renderTarget(*gBench->target, context, WIDTH, HEIGHT);
    }
    gBench->window->detachRenderTarget();
}
BENCHMARK(ValleySubmission)->Unit(benchmark::kMillisecond);

/// Draws the valley once and writes the back buffer to `path` (binary PPM,
/// top row first).
bool writeFrame(Bench& bench, const std::string& path)
{
    bench.window->attachRenderTarget(bench.target);
    bench.warmUp();
    std::vector<unsigned char> rgb(static_cast<size_t>(WIDTH) * HEIGHT * 3);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, WIDTH, HEIGHT, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    std::ofstream out(path, std::ios::binary);
    out << "P6\n" << WIDTH << " " << HEIGHT << "\n255\n";
    for (int row = HEIGHT - 1; row >= 0; --row) {
        out.write(reinterpret_cast<const char*>(rgb.data()) + static_cast<size_t>(row) * WIDTH * 3, WIDTH * 3);
    }
    return static_cast<bool>(out);
}

/// Draws `count` valley frames, counted by a profiler that runs the
/// program (callgrind) and nothing else.
void drawCountedFrames(Bench& bench, unsigned int count)
{
    VALLEY_START_COUNTING();
    for (unsigned int i = 0; i < count; ++i) {
        bench.frame();
    }
    VALLEY_STOP_COUNTING();
}

/// Moves into the program's directory, where the generated data lies.
bool findData(const char* program)
{
    std::error_code error;
    std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) {
        self = std::filesystem::absolute(program);
    }
    std::filesystem::current_path(self.parent_path(), error);
    return !error && std::filesystem::exists("textures/heightmap.pcx") && std::filesystem::exists("models/sky.ms3d");
}

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    std::string framePath;
    float section = 0.0f;
    unsigned int frames = 0;
    std::string without;
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "--frame=", 8) == 0) {
            framePath = argv[i] + 8;
        } else if (std::sscanf(argv[i], "--section=%f", &section) == 1) {
        } else if (std::sscanf(argv[i], "--frames=%u", &frames) == 1) {
        } else if (std::strncmp(argv[i], "--without=", 10) == 0) {
            without = argv[i] + 10;
        } else {
            std::cerr << "valley_bench: unknown option " << argv[i] << "\n";
            return 1;
        }
    }
    if (!findData(argv[0])) {
        std::cerr << "valley_bench: no generated data beside the program (build the game_content target)\n";
        return 1;
    }
    if (!VeltaTest::useVirtualDisplay("valley_bench")) {
        return 1;
    }
    // Sound plays into nothing.
    setenv("ALSOFT_DRIVERS", "null", 0);
    Bench bench;
    if (!bench.window || !bench.loaded) {
        std::cerr << "valley_bench: the window did not open or the race did not load\n";
        return 1;
    }
    bench.view->placeCamera(section);
    for (size_t begin = 0; begin < without.size();) {
        const size_t end = std::min(without.find(',', begin), without.size());
        const std::string name = without.substr(begin, end - begin);
        begin = end + 1;
        int part = 0;
        while (part < CourseView::PART_COUNT && name != CourseView::PART_NAMES[part]) {
            ++part;
        }
        if (part == CourseView::PART_COUNT) {
            std::cerr << "valley_bench: no part " << name << "\n";
            return 1;
        }
        bench.view->setShown(static_cast<CourseView::Part>(part), false);
    }
    if (!framePath.empty()) {
        if (!writeFrame(bench, framePath)) {
            std::cerr << "valley_bench: cannot write " << framePath << "\n";
            return 1;
        }
        return 0;
    }
    if (frames > 0) {
        bench.window->attachRenderTarget(bench.target);
        bench.warmUp();
        drawCountedFrames(bench, frames);
        return 0;
    }
    gBench = &bench;
    benchmark::RunSpecifiedBenchmarks();
    gBench = nullptr;
    benchmark::Shutdown();
    return 0;
}
