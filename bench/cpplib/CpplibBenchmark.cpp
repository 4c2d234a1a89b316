// Foundation types against their baselines in the same run:
// SharedPtr against std::shared_ptr, and the identity shortcut of the matrix
// product against the general product.
#include "cpplib/Matrix.h"
#include "cpplib/SharedPtr.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace {

struct Payload {
    int value = 7;
};

void BM_SharedPtrCopyDestroy(benchmark::State& state)
{
    CppLib::SharedPtr<Payload> original(new Payload());
    for (auto _ : state) {
        CppLib::SharedPtr<Payload> copy(original);
        benchmark::DoNotOptimize(copy.get());
        benchmark::ClobberMemory(); // keep the count's increment and decrement
    }
}
BENCHMARK(BM_SharedPtrCopyDestroy);

void BM_StdSharedPtrCopyDestroy(benchmark::State& state)
{
    auto original = std::make_shared<Payload>();
    for (auto _ : state) {
        std::shared_ptr<Payload> copy(original);
        benchmark::DoNotOptimize(copy.get());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_StdSharedPtrCopyDestroy);

void BM_SharedPtrCreateDestroy(benchmark::State& state)
{
    for (auto _ : state) {
        CppLib::SharedPtr<Payload> owner(new Payload());
        benchmark::DoNotOptimize(owner.get());
    }
}
BENCHMARK(BM_SharedPtrCreateDestroy);

void BM_StdSharedPtrCreateDestroy(benchmark::State& state)
{
    for (auto _ : state) {
        std::shared_ptr<Payload> owner(new Payload());
        benchmark::DoNotOptimize(owner.get());
    }
}
BENCHMARK(BM_StdSharedPtrCreateDestroy);

using Matrix4 = CppLib::Matrix<float, 4>;

const float kElements[16] = {2, 0, 1, 3, 1, 3, 0, 1, 0, 1, 4, 2, 1, 0, 0, 1};

void BM_MatrixProductGeneral(benchmark::State& state)
{
    Matrix4 a(kElements);
    Matrix4 b(kElements);
    for (auto _ : state) {
        benchmark::DoNotOptimize(a);
        benchmark::DoNotOptimize(b);
        Matrix4 c = a * b;
        benchmark::DoNotOptimize(c);
    }
}
BENCHMARK(BM_MatrixProductGeneral);

void BM_MatrixProductIdentity(benchmark::State& state)
{
    Matrix4 a;
    Matrix4 b(kElements);
    for (auto _ : state) {
        benchmark::DoNotOptimize(a);
        benchmark::DoNotOptimize(b);
        Matrix4 c = a * b;
        benchmark::DoNotOptimize(c);
    }
}
BENCHMARK(BM_MatrixProductIdentity);

} // namespace
