#pragma once

#include "cpplib/CowMemPtr.h"
#include "cpplib/SharedPtr.h"
#include "resource/TextureData.h"
#include "terrain/Terrain.h"
#include "terrain/TerrainTile.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

namespace TerrainTest {

/// An image of `width` × `height` pixels held in a block of exactly its
/// size, so that a read past it is caught by the address sanitizer.
inline CppLib::SharedPtr<Velta::TextureSource> makeImage(unsigned int width, unsigned int height,
                                                        const std::vector<unsigned char>& bytes,
                                                        Velta::Color::Format format = Velta::Color::LUMINANCE,
                                                        Velta::DataType::Type type = Velta::DataType::UNSIGNED_BYTE)
{
    const Velta::TextureInfo info(width, height, 1, format, type);
    CppLib::CowMemPtr<void> block;
    if (!bytes.empty()) {
        block.alloc(static_cast<unsigned int>(bytes.size()));
        std::memcpy(block.get(), bytes.data(), bytes.size());
    }
    return CppLib::SharedPtr<Velta::TextureSource>(new Velta::TextureData(info, block));
}

/// A luminance map whose pixel (x, y) is value(x, y).
template <typename Function>
CppLib::SharedPtr<Velta::TextureSource> makeHeightMap(unsigned int width, unsigned int height, Function value)
{
    std::vector<unsigned char> bytes;
    for (unsigned int y = 0; y < height; ++y) {
        for (unsigned int x = 0; x < width; ++x) {
            bytes.push_back(static_cast<unsigned char>(value(x, y)));
        }
    }
    return makeImage(width, height, bytes);
}

/// A 3 × 3 map with heights worked out by hand in the tests (maxHeight 60:
/// 51 → 12, 102 → 24, 153 → 36, 204 → 48, 255 → 60).
inline CppLib::SharedPtr<Velta::TextureSource> makeSmallMap()
{
    return makeImage(3, 3, {0, 51, 102, 102, 255, 153, 51, 153, 204});
}

/// A one-tile terrain of N = 2^patchDetail vertices per edge, its tile
/// enabled with the given map and height scale.
struct OneTile {
    OneTile(const CppLib::SharedPtr<Velta::TextureSource>& map, unsigned int patchDetail, float tileSize,
            float maxHeight = 60.0f)
        : terrain(1, 1)
    {
        terrain.initializeTerrain(patchDetail, 0, tileSize);
        tile = terrain.getTile(0, 0);
        tile->setEnabled(true);
        tile->setMaxHeight(maxHeight);
        tile->load(map, 0, 0);
    }

    Velta::Terrain terrain;
    Velta::Terrain::Tile* tile = nullptr;
};

inline void expectVector(const CppLib::TVector<float, 3>& actual, float x, float y, float z, float tolerance = 1e-5f)
{
    EXPECT_NEAR(actual.x(), x, tolerance);
    EXPECT_NEAR(actual.y(), y, tolerance);
    EXPECT_NEAR(actual.z(), z, tolerance);
}

} // namespace TerrainTest
