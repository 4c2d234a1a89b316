// Frames of a 1024 × 768 window drawn by Mesa's software renderer.
//
// Frame: a small lit, fogged, textured scene (a textured ground filling the
// view, 64 textured quads, a quarter of them blended, two lights) against an
// empty frame (clear and swap only). Compare the times per frame.
// Upload: a frame whose vertex data and textures all changed (everything is
// uploaded again) against the same frame unchanged (nothing is).
// Engine CPU: the view's walk and queueing, and the material and draw calls
// handed to OpenGL, measured apart from the frame. Compare with the frame.
#include "testkit/RenderScene.h"

#include "core/ProcessManager.h"
#include "core/TimerManager.h"
#include "core/VeltaCore.h"
#include "geometry/GeometryObject.h"
#include "geometry/VertexData.h"
#include "plugins/render/opengl/GLObjectRenderer.h"
#include "plugins/render/opengl/GLRenderContext.h"
#include "plugins/render/opengl/GLSceneManager.h"
#include "plugins/render/opengl/GLTraverserHandler.h"
#include "plugins/render/opengl/GLViewRenderer.h"
#include "plugins/render/opengl/sdl/GLSDLRenderWindow.h"
#include "render/RenderManager.h"
#include "render/RenderTarget.h"
#include "render/Viewport.h"
#include "resource/RenderSettings.h"
#include "resource/Texture2D.h"
#include "scene/SceneGraph.h"
#include "scene/SceneManager.h"
#include "scene/View.h"
#include "testkit/ManualClock.h"
#include "testkit/SoftwareWindow.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <iostream>
#include <memory>
#include <vector>

namespace {

using namespace Velta;

constexpr int WIDTH = 1024;
constexpr int HEIGHT = 768;

VeltaCore& core()
{
    return CppLib::Singleton<VeltaCore>::getSingleton();
}

/// A 256 × 256 RGB image of stripes in `tint`.
CppLib::SharedPtr<Texture2D> stripes(unsigned char tint)
{
    std::vector<unsigned char> bytes(256 * 256 * 3);
    for (size_t i = 0; i < bytes.size(); ++i) {
        bytes[i] = static_cast<unsigned char>(((i / 3) % 256 < 128 ? 255 : 96) & (i % 3 == tint % 3 ? 255 : 160));
    }
    CppLib::SharedPtr<Texture2D> texture = RenderTest::makeTexture(256, 256, Color::RGB, bytes);
    texture->setGenerateMipMaps(true);
    texture->setAllFilters(Texture::TRILINEAR);
    return texture;
}

/// The window, the clock and the scene, made once for all benchmarks.
struct Bench {
    Bench()
    {
        window = VeltaTest::startWithWindow(clock, "bench", WIDTH, HEIGHT);
        if (!window) {
            return;
        }
        scene = &core().getSceneManager().createSceneGraph();
        builder = std::make_unique<RenderTest::SceneBuilder>(*scene);
        camera = builder->addCamera();
        CppLib::SharedPtr<RenderSettings> settings(new RenderSettings());
        settings->setUseFog(true);
        camera->getCamSettings().setRenderSettings(settings);
        target = VeltaTest::wholeWindowTarget(camera);

        for (unsigned char tint = 0; tint < 4; ++tint) {
            textures.push_back(stripes(tint));
        }
        addObject(RenderTest::makeQuad(-40, -30, 40, 30, -30, Color(1, 1, 1, 1)), 0, false);
        for (int i = 0; i < 64; ++i) {
            const float x = static_cast<float>(i % 8) * 2.5f - 9.0f;
            const float y = static_cast<float>(i / 8) * 2.0f - 7.0f;
            addObject(RenderTest::makeQuad(x, y, x + 2.0f, y + 1.6f, -10.0f - static_cast<float>(i % 5),
                                           Color(1, 1, 1, 0.6f)),
                      i % 4, i % 4 == 3);
        }
        builder->addLight(Light::DIRECTIONAL);
        builder->addLight(Light::POINT, {0, 0, -5});
    }

    ~Bench()
    {
        builder.reset();
        core().shutdown();
    }

    void addObject(const CppLib::SharedPtr<GeometryData>& geometry, unsigned int texture, bool blended)
    {
        CppLib::SharedPtr<Material> material = RenderTest::makeMaterial(blended);
        material->setTexture(0, textures[texture]);
        builder->addObject(geometry, material);
        geometries.push_back(geometry);
    }

    void frame()
    {
        clock.advance(16);
        core().getProcessManager().update(true);
    }

    VeltaTest::ManualClock clock;
    GLSDLRenderWindow* window = nullptr;
    SceneGraph* scene = nullptr;
    std::unique_ptr<RenderTest::SceneBuilder> builder;
    CppLib::SharedPtr<Camera> camera;
    CppLib::SharedPtr<RenderTarget> target;
    std::vector<CppLib::SharedPtr<Texture2D>> textures;
    std::vector<CppLib::SharedPtr<GeometryData>> geometries;
};

Bench* gBench = nullptr;

void EmptyFrame(benchmark::State& state)
{
    gBench->window->detachRenderTarget();
    for (auto _ : state) {
        gBench->frame();
    }
}
BENCHMARK(EmptyFrame)->Unit(benchmark::kMillisecond)->UseRealTime();

void SceneFrame(benchmark::State& state)
{
    gBench->window->attachRenderTarget(gBench->target);
    gBench->frame();
    for (auto _ : state) {
        gBench->frame();
    }
    gBench->window->detachRenderTarget();
}
BENCHMARK(SceneFrame)->Unit(benchmark::kMillisecond)->UseRealTime();

void SceneFrameEverythingChanged(benchmark::State& state)
{
    gBench->window->attachRenderTarget(gBench->target);
    gBench->frame();
    const unsigned long long buffers = gBench->window->getRenderContext()->getBufferUploadCount();
    for (auto _ : state) {
        gBench->clock.advance(1);
        for (const auto& geometry : gBench->geometries) {
            geometry->getIndexedData(0)->setModified();
        }
        for (const auto& texture : gBench->textures) {
            texture->setTextureSource(texture->getTextureSource(0, 0));
        }
        gBench->frame();
    }
    state.counters["buffer uploads per frame"] = static_cast<double>(
        gBench->window->getRenderContext()->getBufferUploadCount() - buffers) / static_cast<double>(state.iterations());
    gBench->window->detachRenderTarget();
}
BENCHMARK(SceneFrameEverythingChanged)->Unit(benchmark::kMillisecond)->UseRealTime();

/// The engine's own work on the CPU for one view: the walk that collects
/// lights and drawables, without drawing.
void ViewWalk(benchmark::State& state)
{
    gBench->window->attachRenderTarget(gBench->target);
    gBench->frame();
    GLViewRenderer& renderer = gBench->window->getRenderContext()->getViewRenderer();
    CppLib::SharedPtr<GLTraverserHandler> handler(
        new GLTraverserHandler(renderer.getSceneManager(), renderer.getObjectRenderer()));
    const float aspect = static_cast<float>(WIDTH) / static_cast<float>(HEIGHT);
    for (auto _ : state) {
        CppLib::SharedPtr<View> view = gBench->camera->getView(aspect);
        renderer.getSceneManager().begin(view->getRenderSettings());
        renderer.getObjectRenderer().begin(view->getRenderSettings());
        handler->begin(view->getViewFilter());
        view->addHandler(handler);
        view->walk(0, false);
        benchmark::DoNotOptimize(renderer.getObjectRenderer().getOpaqueQueue().size());
    }
    state.counters["drawables"] = static_cast<double>(renderer.getObjectRenderer().getOpaqueQueue().size() +
                                                      renderer.getObjectRenderer().getBlendedQueue().size());
    gBench->window->detachRenderTarget();
}
BENCHMARK(ViewWalk)->Unit(benchmark::kMicrosecond);

/// The engine's drawing of one frame's target up to the swap: the walk,
/// the state changes and draw calls. Its CPU time is the calling thread's
/// (the engine's and the driver's submission; rasterising runs on the
/// renderer's own threads).
void TargetSubmission(benchmark::State& state)
{
    gBench->window->attachRenderTarget(gBench->target);
    gBench->frame();
    GLRenderContext& context = *gBench->window->getRenderContext();
    for (auto _ : state) {
        gBench->window->getRenderEngine()->renderTarget(*gBench->target, context, WIDTH, HEIGHT);
    }
    gBench->window->detachRenderTarget();
}
BENCHMARK(TargetSubmission)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (!VeltaTest::useVirtualDisplay("render_bench")) {
        return 1;
    }
    Bench bench;
    if (!bench.window) {
        std::cerr << "render_bench: the window did not open\n";
        return 1;
    }
    gBench = &bench;
    benchmark::RunSpecifiedBenchmarks();
    gBench = nullptr;
    benchmark::Shutdown();
    return 0;
}
