#include "Textures.h"

#include "Course.h"
#include "Noise.h"

#include <algorithm>
#include <cmath>

namespace VeltaTools {

namespace {

constexpr int TILE = 256;

float smoothstep(float edge0, float edge1, float x)
{
    const float t = std::clamp((x - edge0) / (edge1 - edge0), 0.0f, 1.0f);
    return t * t * (3.0f - 2.0f * t);
}

/// Tileable fractal noise over a TILE-pixel texture with `cells` lattice
/// cells across it.
float tiled(float x, float y, int cells, std::uint32_t seed, int octaves)
{
    return fractalNoise(x * cells / TILE, y * cells / TILE, seed, octaves, cells);
}

Image rocks()
{
    Image image(TILE, TILE);
    image.shade([](float x, float y) {
        const float base = tiled(x, y, 4, 101u, 5);
        const float grain = tiled(x, y, 32, 102u, 2);
        const float crack = std::abs(tiled(x, y, 6, 103u, 3) - 0.5f);
        float shade = 0.35f + base * 0.45f + (grain - 0.5f) * 0.18f;
        shade *= 0.55f + 0.45f * smoothstep(0.0f, 0.04f, crack);
        const float warm = tiled(x, y, 3, 104u, 2);
        return Rgba{shade * (0.95f + warm * 0.15f), shade * (0.9f + warm * 0.06f), shade * 0.82f, 1.0f};
    });
    return image;
}

Image grass()
{
    Image image(TILE, TILE);
    image.shade([](float x, float y) {
        const float patches = tiled(x, y, 4, 201u, 4);
        const float blades = tiled(x, y, 64, 202u, 2);
        const float dry = tiled(x, y, 8, 203u, 3);
        const float light = 0.65f + patches * 0.35f + (blades - 0.5f) * 0.35f;
        const Rgba lush = rgb(70, 128, 44);
        const Rgba straw = rgb(142, 146, 66);
        return mix(lush, straw, smoothstep(0.55f, 0.8f, dry)).scaled(light);
    });
    return image;
}

Image grassMask()
{
    Image image(TILE, TILE);
    image.shade([](float x, float y) {
        const float n = tiled(x, y, 8, 301u, 4);
        const float v = smoothstep(0.28f, 0.5f, n);
        return Rgba{v, v, v, v};
    });
    return image;
}

/// Light sand with darker silt in its hollows, strewn with pebbles: seen
/// through the water, it is what makes the river read as clear.
Image riverBed()
{
    Image image(TILE, TILE);
    const Rgba sand = rgb(206, 184, 140);
    const Rgba silt = rgb(164, 146, 108);
    image.shade([&](float x, float y) {
        const float n = tiled(x, y, 6, 401u, 4);
        const float fine = tiled(x, y, 48, 402u, 2);
        Rgba c = mix(silt, sand, smoothstep(0.3f, 0.7f, n)).scaled(0.92f + (fine - 0.5f) * 0.22f);
        return c;
    });
    // Pebbles: small rounded stones in greys and browns, some lighter and
    // some darker than the sand, lit from one side with darker rims,
    // scattered on a grid and wrapped at the edges.
    const Rgba grey = rgb(160, 156, 148);
    const Rgba brown = rgb(150, 118, 88);
    for (int cell = 0; cell < 16 * 16; ++cell) {
        const int cx = cell % 16;
        const int cy = cell / 16;
        if (hashUnit(cx, cy, 403u) < 0.45f) {
            continue;
        }
        const float px = (cx + hashUnit(cx, cy, 404u)) * 16.0f;
        const float py = (cy + hashUnit(cx, cy, 405u)) * 16.0f;
        const float r = 2.0f + hashUnit(cx, cy, 406u) * 3.5f;
        const Rgba stone = mix(grey, brown, hashUnit(cx, cy, 408u)).scaled(0.7f + hashUnit(cx, cy, 407u) * 0.55f);
        for (int ox = -1; ox <= 1; ++ox) {
            for (int oy = -1; oy <= 1; ++oy) {
                const float sx = px + ox * TILE;
                const float sy = py + oy * TILE;
                image.fillEllipse(sx, sy, r * 1.2f, r, [=](float x, float y) {
                    const float dx = (x - sx) / (r * 1.2f);
                    const float dy = (y - sy) / r;
                    const float dome = std::sqrt(std::max(0.0f, 1.0f - dx * dx - dy * dy));
                    const float side = std::clamp((dx + dy) * 0.5f, -0.6f, 0.6f);
                    return stone.scaled((0.7f + 0.35f * dome) * (1.0f - 0.4f * side));
                });
            }
        }
    }
    return image;
}

/// Where the river bed shows: the river and a strip of sand along its banks.
Image riverMask(const Valley& valley)
{
    Image image(TILE, TILE);
    image.shade([&](float x, float y) {
        const std::size_t k = static_cast<std::size_t>(y) * TILE + static_cast<std::size_t>(x);
        const float sand = 1.0f - smoothstep(0.5f, 4.0f, valley.riverDistance[k]);
        const float aboveWater = valley.height[k] - valley.waterLevel[k];
        const float v = std::max(sand, 1.0f - smoothstep(0.3f, 1.5f, aboveWater)) *
                        (valley.riverDistance[k] < 12.0f ? 1.0f : 0.0f);
        return Rgba{v, v, v, v};
    });
    return image;
}

/// Colour map: a tint over the rock (lighter and colder up high, darker and
/// warmer by the water) and, in its alpha, where the grass grows: on gentle
/// ground above the banks and below the peaks.
Image colourMap(const Valley& valley)
{
    Image image(TILE, TILE);
    const auto heightAt = [&valley](int i, int j) {
        i = std::clamp(i, 0, TILE - 1);
        j = std::clamp(j, 0, TILE - 1);
        return valley.height[static_cast<std::size_t>(j) * TILE + i];
    };
    const float spacing = Course::TILE_SIZE / (TILE - 1);
    image.shade([&](float x, float y) {
        const int i = static_cast<int>(x);
        const int j = static_cast<int>(y);
        const float gx = (heightAt(i + 1, j) - heightAt(i - 1, j)) / (2.0f * spacing);
        const float gz = (heightAt(i, j + 1) - heightAt(i, j - 1)) / (2.0f * spacing);
        const float slope = std::sqrt(gx * gx + gz * gz);
        const std::size_t k = static_cast<std::size_t>(j) * TILE + i;
        const float above = valley.height[k] - valley.waterLevel[k];
        const float altitude = valley.height[k] / Course::MAX_HEIGHT;
        const float patchy = fractalNoise(x / 12.0f, y / 12.0f, 501u, 3);

        float grassWeight = (1.0f - smoothstep(0.55f, 1.25f, slope)) * smoothstep(0.8f, 2.2f, above) *
                            (1.0f - smoothstep(0.78f, 0.95f, altitude));
        grassWeight *= 0.75f + 0.5f * patchy;
        grassWeight = std::clamp(grassWeight, 0.0f, 1.0f);

        const Rgba low = rgb(236, 214, 186);
        const Rgba high = rgb(240, 242, 250);
        Rgba tint = mix(low, high, smoothstep(0.35f, 0.85f, altitude));
        tint = tint.scaled(0.86f + 0.14f * patchy);
        tint.a = grassWeight;
        return tint;
    });
    return image;
}

} // namespace

void writeTerrainTextures(Output& output, const Valley& valley)
{
    output.writePng("textures/primcolor.png", colourMap(valley));
    output.writePng("textures/rockscolor.png", rocks(), false);
    output.writePng("textures/grasscolor.png", grass(), false);
    output.writePng("textures/grassalpha.png", grassMask());
    output.writePng("textures/rivercolor.png", riverBed(), false);
    output.writePng("textures/riveralpha.png", riverMask(valley));
}

} // namespace VeltaTools
