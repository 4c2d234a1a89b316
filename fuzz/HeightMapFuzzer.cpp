// Any bytes as a height-map file: decoded by the image loader and, when it
// decodes, read by a terrain tile, built into the tile's vertex grid and
// queried across and beyond the tile. The channel and slice read (some of
// them not in the image) follow from the input's length, so that every
// byte of a seed stays part of the image.
#include "FuzzSupport.h"
#include "plugins/loader/devil/DevILTextureSourceLoader.h"
#include "resource/TextureSource.h"
#include "terrain/Terrain.h"
#include "terrain/TerrainTile.h"

#include <cmath>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    VeltaFuzz::startedCore();
    static Velta::DevILTextureSourceLoader loader;
    loader.initialize();
    std::string problem;
    const CppLib::SharedPtr<Velta::TextureSource> map = loader.decode(VeltaFuzz::bytesOf(data, size), problem);
    if (map.isNull()) {
        return 0;
    }
    Velta::Terrain terrain(1, 1);
    // 8 × 8 vertices in 2 × 2 patches: every part of the build, cheaply.
    terrain.initializeTerrain(2, 1, 64.0f);
    Velta::Terrain::Tile* tile = terrain.getTile(0, 0);
    tile->setEnabled(true);
    tile->load(map, static_cast<unsigned int>(size % 5), static_cast<unsigned int>(size / 5 % 2));
    tile->updateTile();
    for (int i = -1; i <= 9; ++i) {
        for (int j = -1; j <= 9; ++j) {
            const float u = static_cast<float>(i) / 8.0f;
            const float v = static_cast<float>(j) / 8.0f;
            const float height = tile->getHeight(u, v);
            const float length = tile->getNormal(u, v).length();
            if (!std::isfinite(height) || !(std::fabs(length - 1.0f) < 1e-3f)) {
                std::abort();
            }
        }
    }
    return 0;
}
