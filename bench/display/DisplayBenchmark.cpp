// The head-up display over the game's data, in a 320 × 240 window on the
// virtual display.
//
// GlyphCopy (baseline): one style-1 glyph copied from the character map
// into the time/status image. DisplayUpdate: what the duck does every
// 100 ms: the race time, the speedometer, health and oxygen shown anew
// (only the glyphs that changed are copied); "glyphs" counts the copies.
// UploadPerUpdate: the same with a frame drawn after each update; counters
// give the texture bytes uploaded per update against the size of the two
// images written into, and the bytes of a single time, health and bonus
// change.
#include "core/ProcessManager.h"
#include "display/Hud.h"
#include "display/TimePanel.h"
#include "plugins/render/opengl/GLRenderContext.h"
#include "resource/RenderSettings.h"
#include "resource/TextureProxy.h"
#include "scene/Branch.h"
#include "scene/Camera.h"
#include "scene/Overlay.h"
#include "scene/SceneGraph.h"
#include "scene/SceneManager.h"
#include "testkit/SoftwareWindow.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <iostream>
#include <memory>
#include <unistd.h>

namespace {

using namespace Velta;

VeltaCore& core()
{
    return CppLib::Singleton<VeltaCore>::getSingleton();
}

/// The display on a camera's overlay in a small window.
struct Display {
    Display()
    {
        window = VeltaTest::startWithWindow(clock, "display", 320, 240);
        if (!window) {
            return;
        }
        SceneGraph& scene = core().getSceneManager().createSceneGraph();
        Overlay& overlay = core().getSceneManager().createOverlay();
        camera = CppLib::SharedPtr<Camera>(new Camera("camera"));
        scene.getRoot()->attachChild(*camera);
        CppLib::SharedPtr<RenderSettings> flat(new RenderSettings());
        flat->setShadingMode(RenderSettings::SHADE_FLAT);
        flat->setUseLights(false);
        camera->setOverlay(overlay);
        camera->getOverlaySettings().setRenderSettings(flat);
        window->attachRenderTarget(VeltaTest::wholeWindowTarget(camera));
        hud = std::make_unique<Ripplejet::Hud>();
        overlay.getRoot()->attachChild(hud->build(100, 100));
        frame();
    }

    ~Display()
    {
        hud.reset();
        camera.setNull();
        core().shutdown();
    }

    void frame()
    {
        clock.advance(16);
        core().getProcessManager().update(true);
    }

    unsigned long long uploadedBytes() const { return window->getRenderContext()->getTextureUploadBytes(); }

    VeltaTest::ManualClock clock;
    GLSDLRenderWindow* window = nullptr;
    CppLib::SharedPtr<Camera> camera;
    std::unique_ptr<Ripplejet::Hud> hud;
};

Display* gDisplay = nullptr;

/// Update `i` of a race: 100 ms later each time, the speed wandering about
/// 40 km/h, health slowly falling, oxygen running down and up again.
void update(Ripplejet::Hud& hud, long long i)
{
    hud.showTime(100 * i);
    hud.setSpeedometer(40.0f + 6.0f * std::sin(static_cast<float>(i) * 0.15f));
    hud.showHealth(100 - static_cast<int>(i / 40 % 100));
    hud.showOxygen(static_cast<int>(std::abs(i % 200 - 100)));
}

void GlyphCopy(benchmark::State& state)
{
    TextureProxy& target = gDisplay->hud->getTimePanel().getText();
    int digit = 0;
    for (auto _ : state) {
        gDisplay->hud->drawGlyph(target, 1, digit, 344, 39);
        digit = (digit + 1) % 10;
    }
}
BENCHMARK(GlyphCopy);

void DisplayUpdate(benchmark::State& state)
{
    long long i = 0;
    const long long reads = gDisplay->clock.getReads();
    for (auto _ : state) {
        update(*gDisplay->hud, ++i);
    }
    // Every glyph copy reads the clock once, to stamp the change.
    state.counters["glyphs"] = static_cast<double>(gDisplay->clock.getReads() - reads) /
                               static_cast<double>(state.iterations());
}
BENCHMARK(DisplayUpdate);

unsigned long long bytesOfOneFrameAfter(void (*change)(Ripplejet::Hud&))
{
    gDisplay->frame();
    const unsigned long long before = gDisplay->uploadedBytes();
    change(*gDisplay->hud);
    gDisplay->frame();
    return gDisplay->uploadedBytes() - before;
}

void UploadPerUpdate(benchmark::State& state)
{
    Ripplejet::Hud& hud = *gDisplay->hud;
    long long i = 0;
    const unsigned long long before = gDisplay->uploadedBytes();
    for (auto _ : state) {
        update(hud, ++i);
        gDisplay->frame();
    }
    const double perUpdate =
        static_cast<double>(gDisplay->uploadedBytes() - before) / static_cast<double>(state.iterations());
    // The time/status image (512 × 256) and the speed text (128 × 64), RGBA.
    const double whole = (512.0 * 256.0 + 128.0 * 64.0) * 4.0;
    state.counters["bytes per update"] = perUpdate;
    state.counters["whole images bytes"] = whole;
    state.counters["share of whole"] = perUpdate / whole;

    static long long time = 0;
    static int value = 0;
    hud.showTime(time = 1000);
    hud.showHealth(value = 100);
    hud.showBonus(0);
    state.counters["time change bytes"] =
        static_cast<double>(bytesOfOneFrameAfter([](Ripplejet::Hud& h) { h.showTime(time += 100); }));
    state.counters["health change bytes"] =
        static_cast<double>(bytesOfOneFrameAfter([](Ripplejet::Hud& h) { h.showHealth(value -= 1); }));
    state.counters["bonus change bytes"] =
        static_cast<double>(bytesOfOneFrameAfter([](Ripplejet::Hud& h) { h.showBonus(5); }));
}
BENCHMARK(UploadPerUpdate)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (!VeltaTest::useVirtualDisplay("display_bench")) {
        return 1;
    }
    setenv("ALSOFT_DRIVERS", "null", 0);
    // The display reads its images relative to the working directory.
    if (chdir(RIPPLEJET_BIN_DIR) != 0) {
        std::cerr << "display_bench: cannot change to " << RIPPLEJET_BIN_DIR << "\n";
        return 1;
    }
    Display display;
    if (!display.window) {
        std::cerr << "display_bench: the window did not open\n";
        return 1;
    }
    gDisplay = &display;
    benchmark::RunSpecifiedBenchmarks();
    gDisplay = nullptr;
    benchmark::Shutdown();
    return 0;
}
