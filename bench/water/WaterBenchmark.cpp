// Water queries on a meandering river of 58 cross sections (57 quads).
//
// Each benchmark asks distance, flow and surface point for the same 256
// points spread along the river: by point (a quad search per question), with
// one handle per point (one search), and on handles made beforehand (no
// search). The last is the baseline: compare ns per point.
#include "core/VeltaCore.h"
#include "water/Water.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <vector>

namespace {

using namespace Velta;

Velta::VeltaCore& core()
{
    return CppLib::Singleton<Velta::VeltaCore>::getSingleton();
}

const int SECTIONS = 58;
const int POINTS = 256;

/// The river's centre at `s` sections downstream, and the way across it.
void centre(float s, float& x, float& z, float& acrossX, float& acrossZ)
{
    const float heading = 0.6f * std::sin(s * 0.35f);
    x = 0.0f;
    z = 0.0f;
    for (float t = 0.0f; t < s; t += 0.125f) {
        const float h = 0.6f * std::sin(t * 0.35f);
        x += 8.0f * 0.125f * std::sin(h);
        z += 8.0f * 0.125f * std::cos(h);
    }
    acrossX = std::cos(heading);
    acrossZ = -std::sin(heading);
}

struct River {
    River()
    {
        for (int i = 0; i < SECTIONS; ++i) {
            float x, z, ax, az;
            centre(float(i), x, z, ax, az);
            const float halfWidth = 6.0f + 3.0f * std::sin(i * 0.9f);
            water->addQuad(CppLib::TVector<float, 4>(x - ax * halfWidth, 30.0f - 0.2f * i, z - az * halfWidth, 1.0f),
                           CppLib::TVector<float, 4>(x + ax * halfWidth, 30.0f - 0.2f * i, z + az * halfWidth, 1.0f),
                           2.5f);
        }
        for (int p = 0; p < POINTS; ++p) {
            float x, z, ax, az;
            const float s = (SECTIONS - 1) * (p + 0.5f) / POINTS;
            centre(s, x, z, ax, az);
            const float offset = 4.0f * std::sin(p * 1.7f);
            points.emplace_back(x + ax * offset, 31.0f - 0.2f * s, z + az * offset);
        }
    }

    std::unique_ptr<Water> water = std::make_unique<Water>();
    std::vector<Point> points;
};

struct Core {
    Core() { core().startup(); }
    ~Core() { core().shutdown(); }
};

/// The duck's three questions about the water: distance, flow, surface.
template <typename Where>
void askTheWater(const Water& water, const Where& where)
{
    benchmark::DoNotOptimize(water.getDistance(where));
    benchmark::DoNotOptimize(water.getVelocity(where));
    benchmark::DoNotOptimize(water.getSurfacePoint(where));
}

void BM_WaterQueriesByPoint(benchmark::State& state)
{
    Core running;
    River river;
    for (auto _ : state) {
        for (const Point& p : river.points) {
            askTheWater(*river.water, p);
        }
    }
    state.SetItemsProcessed(state.iterations() * POINTS);
}
BENCHMARK(BM_WaterQueriesByPoint);

void BM_WaterQueriesThroughOneHandle(benchmark::State& state)
{
    Core running;
    River river;
    for (auto _ : state) {
        for (const Point& p : river.points) {
            askTheWater(*river.water, river.water->getPointHandle(p));
        }
    }
    state.SetItemsProcessed(state.iterations() * POINTS);
}
BENCHMARK(BM_WaterQueriesThroughOneHandle);

void BM_WaterQueriesOnReusedHandles(benchmark::State& state)
{
    Core running;
    River river;
    std::vector<Water::PointHandle> handles;
    for (const Point& p : river.points) {
        handles.push_back(river.water->getPointHandle(p));
    }
    for (auto _ : state) {
        for (const Water::PointHandle& handle : handles) {
            askTheWater(*river.water, handle);
        }
    }
    state.SetItemsProcessed(state.iterations() * POINTS);
}
BENCHMARK(BM_WaterQueriesOnReusedHandles);

} // namespace
