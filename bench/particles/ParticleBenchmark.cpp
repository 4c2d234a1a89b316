// 10,000 particles moved by one frame: the engine (retiring, the force
// model's Euler step through the store's cursor, the point list and the
// bound) against a plain loop doing the same step and bound over arrays of
// positions and velocities. Compare ns per particle.
#include "core/TimerManager.h"
#include "core/VeltaCore.h"
#include "particles/LinearForceModel.h"
#include "particles/ParticleEngine.h"
#include "particles/PointEmitter.h"
#include "particles/RotateForceModel.h"
#include "testkit/ManualClock.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

namespace {

using namespace Velta;
using Vector3 = CppLib::TVector<float, 3>;

Velta::VeltaCore& core()
{
    return CppLib::Singleton<Velta::VeltaCore>::getSingleton();
}

const unsigned int PARTICLES = 10000;

struct Core {
    Core()
    {
        core().startup();
        core().getTimerManager().registerTimerPlugin(clock);
    }
    ~Core() { core().shutdown(); }

    VeltaTest::ManualClock clock; // the engine reads its start time from the timer
};

void runEngine(benchmark::State& state, ParticleEngine::ForceModel* forceModel)
{
    Core running;
    ParticleEngine engine;
    auto* emitter = new PointEmitter();
    emitter->setInitPointCount(PARTICLES);
    emitter->setPointAge(0, 0);
    emitter->setUseRandomForce(true);
    engine.setEmitter(CppLib::SharedPtr<ParticleEngine::Emitter>(emitter));
    engine.setForceModel(CppLib::SharedPtr<ParticleEngine::ForceModel>(forceModel));
    engine.setRandomSeed(1);
    engine.initialize();
    engine.start();
    long long now = 1000;
    for (auto _ : state) {
        now += 16;
        engine.update(now);
    }
    state.SetItemsProcessed(state.iterations() * PARTICLES);
}

void BM_ParticlesLinearForce(benchmark::State& state)
{
    auto* force = new LinearForceModel();
    force->setExtForce(Vector3(0.1f, 0.1f, 0.05f));
    runEngine(state, force);
}
BENCHMARK(BM_ParticlesLinearForce);

void BM_ParticlesRotateForce(benchmark::State& state)
{
    runEngine(state, new RotateForceModel());
}
BENCHMARK(BM_ParticlesRotateForce);

void BM_ParticlesBaselineArrays(benchmark::State& state)
{
    std::vector<float> positions(3 * PARTICLES);
    std::vector<Vector3> velocities(PARTICLES, Vector3(0.01f, 0.02f, 0.03f));
    std::vector<unsigned int> points(PARTICLES);
    for (unsigned int i = 0; i < 3 * PARTICLES; ++i) {
        positions[i] = 0.001f * float(i % 97);
    }
    const Vector3 force(0.1f, 0.1f, 0.05f);
    const float dt = 0.016f;
    for (auto _ : state) {
        float low[3] = {1e30f, 1e30f, 1e30f};
        float high[3] = {-1e30f, -1e30f, -1e30f};
        for (unsigned int i = 0; i < PARTICLES; ++i) {
            float* p = &positions[3 * i];
            const Vector3 v = velocities[i];
            for (int axis = 0; axis < 3; ++axis) {
                p[axis] += v[axis] * dt;
                low[axis] = std::min(low[axis], p[axis]);
                high[axis] = std::max(high[axis], p[axis]);
            }
            velocities[i] = v + force * dt;
            points[i] = i;
        }
        benchmark::DoNotOptimize(low);
        benchmark::DoNotOptimize(high);
        benchmark::DoNotOptimize(points.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * PARTICLES);
}
BENCHMARK(BM_ParticlesBaselineArrays);

} // namespace
