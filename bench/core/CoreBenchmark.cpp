// The frame update with the engine's five subsystems and nothing to do,
// against an empty loop body as the baseline.
#include "core/ProcessManager.h"
#include "core/VeltaCore.h"

#include <benchmark/benchmark.h>

namespace {

Velta::VeltaCore& core()
{
    return CppLib::Singleton<Velta::VeltaCore>::getSingleton();
}

void BM_EmptyLoop(benchmark::State& state)
{
    int counter = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(++counter);
    }
}
BENCHMARK(BM_EmptyLoop);

void BM_ProcessManagerUpdateIdle(benchmark::State& state)
{
    core().startup();
    core().setup(true);
    Velta::ProcessManager& processes = core().getProcessManager();
    for (auto _ : state) {
        benchmark::DoNotOptimize(processes.update(true));
    }
    core().shutdown();
}
BENCHMARK(BM_ProcessManagerUpdateIdle);

} // namespace
