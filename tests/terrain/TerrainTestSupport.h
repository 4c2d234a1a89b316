#pragma once

#include "cpplib/CowMemPtr.h"
#include "geometry/IndexElementData.h"
#include "resource/TextureData.h"
#include "terrain/Terrain.h"
#include "terrain/TerrainTile.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace TerrainTest {

/// An image held in a block of exactly its bytes, so that the address
/// sanitizer catches any read past it.
inline CppLib::SharedPtr<Velta::TextureSource> makeImage(unsigned int width, unsigned int height,
                                                        const std::vector<unsigned char>& bytes,
                                                        Velta::Color::Format format = Velta::Color::LUMINANCE,
                                                        Velta::DataType::Type type = Velta::DataType::UNSIGNED_BYTE)
{
    CppLib::CowMemPtr<void> block;
    if (!bytes.empty() && block.alloc(static_cast<unsigned int>(bytes.size()))) {
        std::memcpy(block.get(), bytes.data(), bytes.size());
    }
    return CppLib::SharedPtr<Velta::TextureSource>(
        new Velta::TextureData(Velta::TextureInfo(width, height, 1, format, type), block));
}

/// A square luminance map whose pixel (x, y) is value(x, y).
template <typename Function>
CppLib::SharedPtr<Velta::TextureSource> makeHeightMap(unsigned int size, Function value)
{
    std::vector<unsigned char> bytes;
    for (unsigned int y = 0; y < size; ++y) {
        for (unsigned int x = 0; x < size; ++x) {
            bytes.push_back(static_cast<unsigned char>(value(x, y)));
        }
    }
    return makeImage(size, size, bytes);
}

/// Bytes of a 3 × 3 map whose heights the tests work out by hand (maxHeight
/// 60: 51 → 12, 102 → 24, 153 → 36, 204 → 48, 255 → 60).
inline const std::vector<unsigned char> SMALL_MAP = {0, 51, 102, 102, 255, 153, 51, 153, 204};

/// A ramp rising 30 bytes a pixel along x.
inline CppLib::SharedPtr<Velta::TextureSource> makeRamp()
{
    return makeHeightMap(5, [](unsigned int x, unsigned int) { return 30 * x; });
}

/// A one-tile terrain, 2^(patchDetail + patchLevels) vertices per edge, its
/// tile enabled.
struct OneTile {
    OneTile(const CppLib::SharedPtr<Velta::TextureSource>& map, unsigned int patchDetail, float tileSize,
            unsigned int patchLevels = 0)
        : terrain(1, 1)
    {
        terrain.initializeTerrain(patchDetail, patchLevels, tileSize);
        tile = terrain.getTile(0, 0);
        tile->setEnabled(true);
        tile->setMaxHeight(60.0f);
        tile->load(map, 0, 0);
    }

    Velta::Terrain terrain;
    Velta::Terrain::Tile* tile = nullptr;
};

/// Calls triangle(a, b, c) for every triangle a list or strip draws, in its
/// winding; those that repeat a corner (joining rows of a strip) draw nothing
/// and are left out.
template <typename Function>
void forEachTriangle(const Velta::GeometryElement& element, Function triangle)
{
    const Velta::IndexData& list = dynamic_cast<const Velta::IndexElementData&>(element).getIndexList();
    const bool strip = element.getElementType() == Velta::GeometryElement::TRIANGLE_STRIP;
    for (unsigned int k = 0; k + 2 < list.getCount(); k += strip ? 1 : 3) {
        const unsigned int odd = strip ? k % 2 : 0;
        const unsigned int a = list.getIndex(k + odd), b = list.getIndex(k + 1 - odd), c = list.getIndex(k + 2);
        if (a != b && b != c && a != c) {
            triangle(a, b, c);
        }
    }
}

inline void expectVector(const CppLib::TVector<float, 3>& actual, float x, float y, float z)
{
    EXPECT_NEAR(actual.x(), x, 1e-5f);
    EXPECT_NEAR(actual.y(), y, 1e-5f);
    EXPECT_NEAR(actual.z(), z, 1e-5f);
}

} // namespace TerrainTest
