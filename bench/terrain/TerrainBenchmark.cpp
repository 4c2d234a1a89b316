// The terrain's tile rebuild and its point queries on the game's valley size
// (one 512-unit tile, 256 × 256 vertices over a 256 × 256 height map).
//
// Rebuild: Tile::updateTile() with colour, base, two layers and a light map,
// against a plain loop that fills raw arrays with the same positions,
// colours, normals and coordinates straight from the bytes.
// Queries: distance and normal asked with a world point (one lookup each)
// and on a handle made once, against a plain read of the raw bytes at the
// same points. Compare ns per query.
#include "core/VeltaCore.h"
#include "cpplib/CowMemPtr.h"
#include "resource/TextureData.h"
#include "terrain/Terrain.h"
#include "terrain/TerrainTile.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <vector>

namespace {

using namespace Velta;

constexpr unsigned int SIZE = 256;
constexpr float TILE = 512.0f;
constexpr float MAX_HEIGHT = 60.0f;
constexpr unsigned int POINTS = 1024;

Velta::VeltaCore& core()
{
    return CppLib::Singleton<Velta::VeltaCore>::getSingleton();
}

/// Starts the core around one benchmark.
struct Core {
    Core() { core().startup(); }
    ~Core() { core().shutdown(); }
};

/// Rolling hills with a river bed: bytes 0 … 255.
std::vector<std::uint8_t> valleyBytes(unsigned int channels)
{
    std::vector<std::uint8_t> bytes(SIZE * SIZE * channels);
    for (unsigned int y = 0; y < SIZE; ++y) {
        for (unsigned int x = 0; x < SIZE; ++x) {
            const float h = 0.5f + 0.25f * std::sin(x * 0.05f) * std::cos(y * 0.07f) +
                            0.2f * std::fabs((float(x) - 128.0f) / 128.0f);
            for (unsigned int c = 0; c < channels; ++c) {
                bytes[(y * SIZE + x) * channels + c] = static_cast<std::uint8_t>(std::fmin(h, 1.0f) * 255.0f);
            }
        }
    }
    return bytes;
}

CppLib::SharedPtr<TextureSource> image(const std::vector<std::uint8_t>& bytes, unsigned int size, Color::Format format)
{
    CppLib::CowMemPtr<void> block;
    block.alloc(static_cast<unsigned int>(bytes.size()));
    std::copy(bytes.begin(), bytes.end(), static_cast<std::uint8_t*>(block.get()));
    return CppLib::SharedPtr<TextureSource>(
        new TextureData(TextureInfo(size, size, 1, format, DataType::UNSIGNED_BYTE), block));
}

/// The valley as the game builds it.
struct Valley {
    Valley() : heights(valleyBytes(1)), terrain(1, 1)
    {
        terrain.initializeTerrain(8, 0, TILE);
        tile = terrain.getTile(0, 0);
        tile->setEnabled(true);
        tile->setMaxHeight(MAX_HEIGHT);
        tile->load(image(heights, SIZE, Color::LUMINANCE), 0, 0);
        tile->setColorMap(image(valleyBytes(4), SIZE, Color::RGBA));
        const std::vector<std::uint8_t> small(64 * 64 * 3, 128);
        tile->setBaseMap(image(small, 64, Color::RGB), 10.0f);
        tile->addTextureLayer(image(small, 64, Color::RGB), image(valleyBytes(1), SIZE, Color::LUMINANCE), 15.0f);
        tile->addTextureLayer(image(small, 64, Color::RGB), image(valleyBytes(1), SIZE, Color::LUMINANCE), 20.0f);
        tile->setLightMap(tile->getSlopeMap(), 0.4f, 0.6f);
        tile->updateTile();
        for (unsigned int i = 0; i < POINTS; ++i) {
            // Scattered over the tile, a few outside it.
            points.push_back(Point(std::fmod(i * 97.31f, 530.0f), 30.0f, std::fmod(i * 53.17f, 515.0f)));
        }
    }

    std::vector<std::uint8_t> heights;
    Terrain terrain;
    Terrain::Tile* tile = nullptr;
    std::vector<Point> points;
};

/// The byte at (x, y), clamped to the map.
inline float byteAt(const std::vector<std::uint8_t>& bytes, unsigned int x, unsigned int y)
{
    x = x < SIZE ? x : SIZE - 1;
    y = y < SIZE ? y : SIZE - 1;
    return bytes[y * SIZE + x] * (1.0f / 255.0f);
}

/// Bilinear height straight from the bytes: the least a query can do.
inline float plainHeight(const std::vector<std::uint8_t>& bytes, float x, float z)
{
    if (!(x >= 0.0f && x < TILE && z >= 0.0f && z < TILE)) {
        return 0.0f;
    }
    const float px = x / TILE * (SIZE - 1);
    const float py = z / TILE * (SIZE - 1);
    const unsigned int ix = static_cast<unsigned int>(px);
    const unsigned int iy = static_cast<unsigned int>(py);
    const float fx = px - ix;
    const float fy = py - iy;
    const float top = byteAt(bytes, ix, iy) * (1 - fx) + byteAt(bytes, ix + 1, iy) * fx;
    const float bottom = byteAt(bytes, ix, iy + 1) * (1 - fx) + byteAt(bytes, ix + 1, iy + 1) * fx;
    return (top * (1 - fy) + bottom * fy) * MAX_HEIGHT;
}

/// Asks `ask(valley, point)` for every query point of the valley.
template <typename Ask>
void queryEachPoint(benchmark::State& state, Ask ask)
{
    Core running;
    Valley valley;
    for (auto _ : state) {
        for (const Point& p : valley.points) {
            ask(valley, p);
        }
    }
    state.SetItemsProcessed(state.iterations() * POINTS);
}

/// Asks `ask(valley, handle)` with a handle made once for every query point.
template <typename Ask>
void queryEachHandle(benchmark::State& state, Ask ask)
{
    Core running;
    Valley valley;
    std::vector<Terrain::PointHandle> handles;
    for (const Point& p : valley.points) {
        handles.push_back(valley.terrain.getPointHandle(p));
    }
    for (auto _ : state) {
        for (const Terrain::PointHandle& handle : handles) {
            ask(valley, handle);
        }
    }
    state.SetItemsProcessed(state.iterations() * POINTS);
}

void BM_QueryBaselineBilinearBytes(benchmark::State& state)
{
    queryEachPoint(state, [](Valley& valley, const Point& p) {
        benchmark::DoNotOptimize(p.y() - plainHeight(valley.heights, p.x(), p.z()));
    });
}
BENCHMARK(BM_QueryBaselineBilinearBytes);

void BM_QueryPointHandle(benchmark::State& state)
{
    queryEachPoint(state, [](Valley& valley, const Point& p) { benchmark::DoNotOptimize(valley.terrain.getPointHandle(p)); });
}
BENCHMARK(BM_QueryPointHandle);

void BM_QueryDistanceByPoint(benchmark::State& state)
{
    queryEachPoint(state, [](Valley& valley, const Point& p) { benchmark::DoNotOptimize(valley.terrain.getDistance(p)); });
}
BENCHMARK(BM_QueryDistanceByPoint);

void BM_QueryDistanceOnHandle(benchmark::State& state)
{
    queryEachHandle(state, [](Valley& valley, const Terrain::PointHandle& handle) {
        benchmark::DoNotOptimize(valley.terrain.getDistance(handle));
    });
}
BENCHMARK(BM_QueryDistanceOnHandle);

void BM_QueryNormalByPoint(benchmark::State& state)
{
    queryEachPoint(state, [](Valley& valley, const Point& p) { benchmark::DoNotOptimize(valley.terrain.getNormal(p, false)); });
}
BENCHMARK(BM_QueryNormalByPoint);

void BM_QueryNormalOnHandle(benchmark::State& state)
{
    queryEachHandle(state, [](Valley& valley, const Terrain::PointHandle& handle) {
        benchmark::DoNotOptimize(valley.terrain.getNormal(handle, false));
    });
}
BENCHMARK(BM_QueryNormalOnHandle);

/// What the duck asks each frame: distance, surface point and normal.
void BM_QueryDuckFrameByPoint(benchmark::State& state)
{
    queryEachPoint(state, [](Valley& valley, const Point& p) {
        benchmark::DoNotOptimize(valley.terrain.getDistance(p));
        benchmark::DoNotOptimize(valley.terrain.getSurfacePoint(p));
        benchmark::DoNotOptimize(valley.terrain.getNormal(p, false));
    });
}
BENCHMARK(BM_QueryDuckFrameByPoint);

void BM_QueryDuckFrameWithHandle(benchmark::State& state)
{
    queryEachPoint(state, [](Valley& valley, const Point& p) {
        const Terrain::PointHandle handle = valley.terrain.getPointHandle(p);
        benchmark::DoNotOptimize(valley.terrain.getDistance(handle));
        benchmark::DoNotOptimize(valley.terrain.getSurfacePoint(handle));
        benchmark::DoNotOptimize(valley.terrain.getNormal(handle, false));
    });
}
BENCHMARK(BM_QueryDuckFrameWithHandle);

void BM_UpdateTile(benchmark::State& state)
{
    Core running;
    Valley valley;
    for (auto _ : state) {
        valley.tile->updateTile();
    }
    state.SetItemsProcessed(state.iterations() * SIZE * SIZE);
}
BENCHMARK(BM_UpdateTile)->Unit(benchmark::kMillisecond);

/// The same vertex arrays filled by a plain loop: heights and central
/// differences from the bytes, no sampling interface, no vertex setters.
void BM_UpdateTileBaselinePlainArrays(benchmark::State& state)
{
    Core running;
    Valley valley;
    const std::vector<std::uint8_t> colours = valleyBytes(4);
    std::vector<float> positions(SIZE * SIZE * 3), rgba(SIZE * SIZE * 4), normals(SIZE * SIZE * 3);
    std::vector<float> coordinates(SIZE * SIZE * 8);
    for (auto _ : state) {
        for (unsigned int j = 0; j < SIZE; ++j) {
            for (unsigned int i = 0; i < SIZE; ++i) {
                const unsigned int k = j * SIZE + i;
                const float h = byteAt(valley.heights, i, j);
                positions[3 * k] = i * TILE / (SIZE - 1);
                positions[3 * k + 1] = h * MAX_HEIGHT;
                positions[3 * k + 2] = j * TILE / (SIZE - 1);
                for (int c = 0; c < 4; ++c) {
                    rgba[4 * k + c] = colours[4 * k + c] * (1.0f / 255.0f);
                }
                const float gx = byteAt(valley.heights, i ? i - 1 : 0, j) - byteAt(valley.heights, i + 1, j);
                const float gy = byteAt(valley.heights, i, j ? j - 1 : 0) - byteAt(valley.heights, i, j + 1);
                const float length = std::sqrt(gx * gx + 1.0f + gy * gy);
                normals[3 * k] = gx / length;
                normals[3 * k + 1] = 1.0f / length;
                normals[3 * k + 2] = gy / length;
                for (int set = 0; set < 4; ++set) {
                    coordinates[8 * k + 2 * set] = i * 0.01f * (set + 1);
                    coordinates[8 * k + 2 * set + 1] = j * 0.01f * (set + 1);
                }
            }
        }
        benchmark::DoNotOptimize(positions.data());
        benchmark::DoNotOptimize(normals.data());
        benchmark::DoNotOptimize(rgba.data());
        benchmark::DoNotOptimize(coordinates.data());
    }
    state.SetItemsProcessed(state.iterations() * SIZE * SIZE);
}
BENCHMARK(BM_UpdateTileBaselinePlainArrays)->Unit(benchmark::kMillisecond);

} // namespace
