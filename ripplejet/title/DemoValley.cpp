#include "title/DemoValley.h"

#include "core/VeltaCore.h"
#include "cpplib/CowMemPtr.h"
#include "cpplib/TVector.h"
#include "resource/Material.h"
#include "resource/ResourceManager.h"
#include "resource/Texture.h"
#include "resource/TextureData.h"
#include "resource/TextureInfo.h"
#include "resource/TextureManager.h"
#include "scene/Branch.h"
#include "scene/TransformationNode.h"
#include "terrain/Terrain.h"
#include "terrain/TerrainTile.h"
#include "water/Water.h"

#include <algorithm>
#include <cmath>

namespace Ripplejet {

namespace {

/// The valley's edge length, and its samples (and vertices) per edge.
constexpr float SIZE = 256.0f;
constexpr unsigned int SAMPLES = 128;
/// Heights stored as bytes from LOWEST to LOWEST + RANGE.
constexpr float BED_HEIGHT = -1.0f;
constexpr float LOWEST = BED_HEIGHT;
constexpr float RANGE = 36.0f;
/// Cross sections of the water, this far apart along x; flow speed.
constexpr float SECTION_STEP = 8.0f;
constexpr float FLOW = 2.0f;

float smoothstep(float t)
{
    t = std::clamp(t, 0.0f, 1.0f);
    return t * t * (3.0f - 2.0f * t);
}

/// World x (or z) of sample i along an edge.
float sampleToWorld(unsigned int i)
{
    return (static_cast<float>(i) / static_cast<float>(SAMPLES - 1) - 0.5f) * SIZE;
}

/// An image of `SAMPLES` × `SAMPLES` bytes, `channels` a pixel, made by
/// `fill` (row by row, z growing down the rows, x along them).
template <typename Fill>
CppLib::SharedPtr<Velta::TextureSource> makeMap(Velta::Color::Format format, unsigned int channels, Fill fill)
{
    CppLib::CowMemPtr<void> block;
    block.alloc(SAMPLES * SAMPLES * channels);
    auto* bytes = static_cast<unsigned char*>(block.get());
    for (unsigned int row = 0; row < SAMPLES; ++row) {
        for (unsigned int column = 0; column < SAMPLES; ++column) {
            fill(sampleToWorld(column), sampleToWorld(row), bytes + (row * SAMPLES + column) * channels);
        }
    }
    const Velta::TextureInfo info(SAMPLES, SAMPLES, 1, format, Velta::DataType::UNSIGNED_BYTE);
    return CppLib::SharedPtr<Velta::TextureSource>(new Velta::TextureData(info, block));
}

unsigned char toByte(float value)
{
    return static_cast<unsigned char>(std::lround(std::clamp(value, 0.0f, 1.0f) * 255.0f));
}

/// How far (x, z) lies from the river's centre line, across the river.
float distanceFromRiver(float x, float z)
{
    return std::fabs(z - DemoValley::getRiverCentre(x));
}

CppLib::SharedPtr<Velta::TextureSource> image(const char* name)
{
    return Velta::VeltaCore::getSingleton().getResourceManager().getTextureManager().getTextureSource(name);
}

} // namespace

DemoValley::DemoValley() = default;

DemoValley::~DemoValley() = default;

float DemoValley::getRiverCentre(float x)
{
    // A gentle bend through the middle; towards both ends the river turns
    // hard into the hills, which hide where the valley stops.
    const float t = x / (SIZE / 2.0f);
    return 7.0f * std::sin(x / 45.0f) + 54.0f * t * t * t * t;
}

float DemoValley::getGroundHeight(float x, float z)
{
    const float d = distanceFromRiver(x, z);
    if (d < BANK_TOP) {
        return BED_HEIGHT + (BANK_HEIGHT - BED_HEIGHT) * smoothstep((d - BED_HALF_WIDTH) / (BANK_TOP - BED_HALF_WIDTH));
    }
    const float away = d - BANK_TOP;
    const float sides = 0.22f * away + 0.004f * away * away;
    const float hills = (1.2f * std::sin(x * 0.11f + 1.3f) * std::sin(z * 0.13f) +
                         0.7f * std::sin(x * 0.29f) * std::cos(z * 0.23f + 0.5f)) *
                        std::min(1.0f, away / 12.0f);
    return std::min(BANK_HEIGHT + sides + std::max(hills, -sides), LOWEST + RANGE);
}

void DemoValley::build(Velta::Branch& root)
{
    buildTerrain(root);
    buildWater(root);
}

void DemoValley::buildTerrain(Velta::Branch& root)
{
    mTerrain = std::make_unique<Velta::Terrain>(1, 1);
    // 2^5 × 2^2 = 128 vertices per edge in 4 × 4 patches, so the view
    // leaves out the patches behind the camera.
    mTerrain->initializeTerrain(5, 2, SIZE);
    Velta::Terrain::Tile* tile = mTerrain->getTile(0, 0);
    if (!tile) {
        return;
    }
    const CppLib::SharedPtr<Velta::TextureSource> heights =
        makeMap(Velta::Color::LUMINANCE, 1, [](float x, float z, unsigned char* pixel) {
            pixel[0] = toByte((getGroundHeight(x, z) - LOWEST) / RANGE);
        });
    // Grass tinted lighter up the hills and earthy down the banks and on the
    // river bed, and shaded by the slope (steeper is darker). All of it is
    // in the vertex colours: every texture unit more costs the software
    // renderer another pass over the ground's pixels.
    const CppLib::SharedPtr<Velta::TextureSource> colours =
        makeMap(Velta::Color::RGBA, 4, [](float x, float z, unsigned char* pixel) {
            const float d = distanceFromRiver(x, z);
            const float up = std::clamp((getGroundHeight(x, z) - BANK_HEIGHT) / 20.0f, 0.0f, 1.0f);
            const float earth = 1.0f - smoothstep((d - BANK_TOP) / 4.0f);
            const float step = SIZE / static_cast<float>(SAMPLES - 1);
            const float gx = (getGroundHeight(x + step, z) - getGroundHeight(x - step, z)) / (2.0f * step);
            const float gz = (getGroundHeight(x, z + step) - getGroundHeight(x, z - step)) / (2.0f * step);
            const float light = 0.6f + 0.4f / std::sqrt(1.0f + gx * gx + gz * gz);
            pixel[0] = toByte(light * (0.84f + 0.16f * up - 0.12f * earth));
            pixel[1] = toByte(light * (0.88f + 0.1f * up - 0.3f * earth));
            pixel[2] = toByte(light * (0.74f + 0.1f * up - 0.34f * earth));
            pixel[3] = 255;
        });
    tile->setEnabled(true);
    tile->setOffset(LOWEST);
    tile->setMaxHeight(RANGE);
    tile->load(heights, 0, 0);
    tile->setColorMap(colours);
    tile->setBaseMap(image("grasscolor.png"), 8.0f);
    tile->updateTile();
    // One mip-map level a sample, as the software renderer likes it.
    const CppLib::SharedPtr<Velta::Material> material = tile->getMaterial();
    const CppLib::SharedPtr<Velta::Texture> base =
        material.isNull() ? CppLib::SharedPtr<Velta::Texture>() : material->getTexture(0);
    if (!base.isNull()) {
        base->setMinFilter(Velta::Texture::MIPMAP);
        base->setMipMapFilter(Velta::Texture::NEAREST, Velta::Texture::LINEAR);
    }

    // The tile starts at the terrain's origin: centred on the world's.
    mTerrainPlace = std::make_unique<Velta::TransformationNode>("valley");
    mTerrainPlace->setChild(*mTerrain);
    mTerrainPlace->translate(-SIZE / 2.0f, 0.0f, -SIZE / 2.0f, false);
    root.attachChild(*mTerrainPlace);
}

void DemoValley::buildWater(Velta::Branch& root)
{
    mWater = std::make_unique<Velta::Water>();
    if (mTerrain) {
        mWater->setTerrain(*mTerrain);
    }
    // From upstream down, each section from the far bank (−z) to the near
    // one, so the flow runs along +x.
    for (float x = -SIZE / 2.0f; x <= SIZE / 2.0f; x += SECTION_STEP) {
        const float centre = getRiverCentre(x);
        mWater->addQuad(CppLib::TVector<float, 4>(x, WATER_LEVEL, centre - BANK_TOP, 1.0f),
                        CppLib::TVector<float, 4>(x, WATER_LEVEL, centre + BANK_TOP, 1.0f), FLOW);
    }
    mWater->initialize();
    root.attachChild(*mWater);
}

} // namespace Ripplejet
