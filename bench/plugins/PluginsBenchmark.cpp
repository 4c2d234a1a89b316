// Loading a model of 10,000 triangles through the MS3D loader (read, check,
// build geometry and materials), against only reading the same file's bytes
// as the baseline: the ratio is the loader's cost over the file's I/O.
#include "Ms3dWriter.h"
#include "core/VeltaCore.h"
#include "plugins/loader/ms3d/Ms3dObjectLoader.h"
#include "resource/ObjectFactory.h"
#include "resource/ResourceFile.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

using VeltaTools::Ms3dWriter;

/// A 100 × 50 grid of quads (10,000 triangles over 5,151 vertices) in two
/// groups with a material each, written to a temporary file; a started
/// core for the geometry's data-set ids. Both live for the whole run.
class Model {
public:
    static const Model& get()
    {
        static const Model model;
        return model;
    }

    const Velta::NameMapper::ResourceInfo& getInfo() const { return mInfo; }

private:
    Model()
    {
        CppLib::Singleton<Velta::VeltaCore>::getSingleton().startup();
        const int columns = 100;
        const int rows = 50;
        Ms3dWriter writer(4);
        for (int y = 0; y <= rows; ++y) {
            for (int x = 0; x <= columns; ++x) {
                const float height = 0.1f * static_cast<float>((x * y) % 7);
                writer.addVertex({static_cast<float>(x), height, static_cast<float>(y)});
            }
        }
        const std::size_t groups[2] = {writer.addGroup("near", writer.addMaterial(Ms3dWriter::Material())),
                                       writer.addGroup("far", writer.addMaterial(Ms3dWriter::Material()))};
        const auto corner = [&](int x, int y) {
            Ms3dWriter::Corner c;
            c.vertex = static_cast<std::uint16_t>(y * (columns + 1) + x);
            c.s = static_cast<float>(x) / columns;
            c.t = static_cast<float>(y) / rows;
            return c;
        };
        for (int y = 0; y < rows; ++y) {
            for (int x = 0; x < columns; ++x) {
                const std::size_t group = groups[y < rows / 2 ? 0 : 1];
                writer.addTriangle(group, corner(x, y), corner(x, y + 1), corner(x + 1, y + 1));
                writer.addTriangle(group, corner(x, y), corner(x + 1, y + 1), corner(x + 1, y));
            }
        }
        const std::string path =
            (std::filesystem::temp_directory_path() / ("velta-bench-" + std::to_string(getpid()) + ".ms3d")).string();
        writer.writeFile(path);
        mInfo = {"grid.ms3d", path, "ms3d"};
    }

    ~Model()
    {
        std::remove(mInfo.fileName.c_str());
        CppLib::Singleton<Velta::VeltaCore>::getSingleton().shutdown();
    }

    Velta::NameMapper::ResourceInfo mInfo;
};

void BM_ReadModelFileBytes(benchmark::State& state)
{
    const Model& model = Model::get();
    std::vector<unsigned char> bytes;
    for (auto _ : state) {
        Velta::ResourceFile::readAll(model.getInfo().fileName, bytes);
        benchmark::DoNotOptimize(bytes.data());
    }
    state.SetBytesProcessed(static_cast<long long>(state.iterations() * bytes.size()));
}
BENCHMARK(BM_ReadModelFileBytes)->Unit(benchmark::kMicrosecond);

void BM_LoadModelFile(benchmark::State& state)
{
    const Model& model = Model::get();
    Velta::Ms3dObjectLoader loader;
    for (auto _ : state) {
        CppLib::SharedPtr<Velta::ObjectFactory> factory = loader.load(model.getInfo());
        benchmark::DoNotOptimize(factory.get());
    }
}
BENCHMARK(BM_LoadModelFile)->Unit(benchmark::kMicrosecond);

} // namespace
