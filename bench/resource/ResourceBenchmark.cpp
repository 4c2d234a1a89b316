// Reading every pixel of a 256 × 256 RGBA image as colours through the
// image interface (bounds-checked address, then conversion), against a plain
// loop over the bytes as the baseline.
#include "cpplib/CowMemPtr.h"
#include "resource/TextureData.h"

#include <benchmark/benchmark.h>

#include <cstring>

namespace {

constexpr unsigned int SIZE = 256;

CppLib::CowMemPtr<void> pixels()
{
    CppLib::CowMemPtr<void> block;
    block.alloc(SIZE * SIZE * 4);
    unsigned char* bytes = static_cast<unsigned char*>(block.get());
    for (unsigned int i = 0; i < SIZE * SIZE * 4; ++i) {
        bytes[i] = static_cast<unsigned char>(i * 7);
    }
    return block;
}

void BM_PlainByteLoop(benchmark::State& state)
{
    const CppLib::CowMemPtr<void> block = pixels();
    const unsigned char* bytes = static_cast<const unsigned char*>(block.get());
    for (auto _ : state) {
        float sum = 0.0f;
        for (unsigned int i = 0; i < SIZE * SIZE; ++i) {
            const unsigned char* p = bytes + i * 4;
            sum += p[0] / 255.0f + p[1] / 255.0f + p[2] / 255.0f + p[3] / 255.0f;
        }
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * SIZE * SIZE);
}
BENCHMARK(BM_PlainByteLoop);

void BM_TextureSourcePixelColor(benchmark::State& state)
{
    const Velta::TextureInfo info(SIZE, SIZE, 1, Velta::Color::RGBA, Velta::DataType::UNSIGNED_BYTE);
    const Velta::TextureData image(info, pixels());
    const Velta::TextureSource& source = image;
    for (auto _ : state) {
        float sum = 0.0f;
        for (unsigned int y = 0; y < SIZE; ++y) {
            for (unsigned int x = 0; x < SIZE; ++x) {
                const Velta::Color c = source.getPixelColor(x, y, 0);
                sum += c.r + c.g + c.b + c.a;
            }
        }
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * SIZE * SIZE);
}
BENCHMARK(BM_TextureSourcePixelColor);

} // namespace
