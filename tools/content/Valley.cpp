#include "Valley.h"

#include "Course.h"
#include "Noise.h"

#include <algorithm>
#include <cmath>

namespace VeltaTools {

namespace {

using Course::samplePosition;

constexpr int SIZE = Course::HEIGHTMAP_SIZE;

/// Height of the ground at the river outline above the water.
constexpr float BANK_LIFT = 0.8f;
/// Deepest river bed below the water.
constexpr float RIVER_DEPTH = 3.5f;
/// Fall of the bed per unit of distance from the outline.
constexpr float BED_SLOPE = 0.5f;

/// Length of the pool above the first section.
constexpr float SOURCE_POOL = 5.0f;

/// Cell size of the fine grid on which the river's inside distance is found.
constexpr float FINE_CELL = 0.5f;
constexpr int FINE_SIZE = static_cast<int>(Course::TILE_SIZE / FINE_CELL);

float smoothstep(float edge0, float edge1, float x)
{
    const float t = std::clamp((x - edge0) / (edge1 - edge0), 0.0f, 1.0f);
    return t * t * (3.0f - 2.0f * t);
}

/// The river comes out of a short pool above its first section, so the
/// first section's middle lies as deep as the others. The pool is carved
/// like the river at the first section's level.
Course::WaterQuad sourcePool()
{
    const std::vector<Course::CrossSection>& sections = Course::crossSections();
    const Course::CrossSection& first = sections.front();
    const Course::CrossSection& second = sections[1];
    const float flowX = (second.left.x + second.right.x - first.left.x - first.right.x) * 0.5f;
    const float flowZ = (second.left.z + second.right.z - first.left.z - first.right.z) * 0.5f;
    const float flowLength = std::sqrt(flowX * flowX + flowZ * flowZ);
    Course::CrossSection pool = first;
    for (Course::Point3* p : {&pool.left, &pool.right}) {
        p->x -= flowX / flowLength * SOURCE_POOL;
        p->z -= flowZ / flowLength * SOURCE_POOL;
    }
    return Course::WaterQuad(pool, first);
}

/// Distance of every fine cell inside the river to the nearest cell outside
/// it (0 outside), by a two-pass chamfer transform.
std::vector<float> insideDistance(const std::vector<Course::WaterQuad>& quads)
{
    const auto index = [](int i, int j) { return static_cast<std::size_t>(j) * FINE_SIZE + i; };
    std::vector<float> distance(static_cast<std::size_t>(FINE_SIZE) * FINE_SIZE, 0.0f);
    const std::vector<Course::CrossSection>& sections = Course::crossSections();
    for (std::size_t q = 0; q < quads.size(); ++q) {
        const Course::CrossSection& a = sections[q];
        const Course::CrossSection& b = sections[q + 1];
        const float minX = std::min({a.left.x, a.right.x, b.left.x, b.right.x});
        const float maxX = std::max({a.left.x, a.right.x, b.left.x, b.right.x});
        const float minZ = std::min({a.left.z, a.right.z, b.left.z, b.right.z});
        const float maxZ = std::max({a.left.z, a.right.z, b.left.z, b.right.z});
        const int i0 = std::max(0, static_cast<int>(minX / FINE_CELL) - 1);
        const int i1 = std::min(FINE_SIZE - 1, static_cast<int>(maxX / FINE_CELL) + 1);
        const int j0 = std::max(0, static_cast<int>(minZ / FINE_CELL) - 1);
        const int j1 = std::min(FINE_SIZE - 1, static_cast<int>(maxZ / FINE_CELL) + 1);
        for (int j = j0; j <= j1; ++j) {
            for (int i = i0; i <= i1; ++i) {
                if (quads[q].contains((i + 0.5f) * FINE_CELL, (j + 0.5f) * FINE_CELL)) {
                    distance[index(i, j)] = 1e9f;
                }
            }
        }
    }
    const Course::WaterQuad source = sourcePool();
    for (int j = 0; j < FINE_SIZE; ++j) {
        for (int i = 0; i < FINE_SIZE; ++i) {
            if (source.contains((i + 0.5f) * FINE_CELL, (j + 0.5f) * FINE_CELL)) {
                distance[index(i, j)] = 1e9f;
            }
        }
    }

    const float straight = FINE_CELL;
    const float diagonal = FINE_CELL * 1.41421356f;
    // Cells beyond the map's edge count as inside, so the river runs off the
    // map where it reaches the edge instead of ending at a wall.
    const auto get = [&](int i, int j) {
        if (i < 0 || j < 0 || i >= FINE_SIZE || j >= FINE_SIZE) {
            return 1e9f;
        }
        return distance[index(i, j)];
    };
    for (int j = 0; j < FINE_SIZE; ++j) {
        for (int i = 0; i < FINE_SIZE; ++i) {
            float& d = distance[index(i, j)];
            if (d > 0.0f) {
                d = std::min({d, get(i - 1, j) + straight, get(i, j - 1) + straight, get(i - 1, j - 1) + diagonal,
                              get(i + 1, j - 1) + diagonal});
            }
        }
    }
    for (int j = FINE_SIZE - 1; j >= 0; --j) {
        for (int i = FINE_SIZE - 1; i >= 0; --i) {
            float& d = distance[index(i, j)];
            if (d > 0.0f) {
                d = std::min({d, get(i + 1, j) + straight, get(i, j + 1) + straight, get(i + 1, j + 1) + diagonal,
                              get(i - 1, j + 1) + diagonal});
            }
        }
    }
    return distance;
}

float sampleFine(const std::vector<float>& fine, float x, float z)
{
    const int i = std::clamp(static_cast<int>(x / FINE_CELL), 0, FINE_SIZE - 1);
    const int j = std::clamp(static_cast<int>(z / FINE_CELL), 0, FINE_SIZE - 1);
    return fine[static_cast<std::size_t>(j) * FINE_SIZE + i];
}

/// Water level inside the river: the lowest surface of the quads over the point.
float waterInside(const std::vector<Course::WaterQuad>& quads, float x, float z, bool& found)
{
    float level = 1e9f;
    found = false;
    for (const Course::WaterQuad& quad : quads) {
        if (!quad.contains(x, z)) {
            continue;
        }
        float u = 0.0f, v = 0.0f;
        const float height = quad.locate(x, z, u, v) ? quad.surfaceHeight(u, v) : quad.nearestSurfaceHeight(x, z);
        level = std::min(level, height);
        found = true;
    }
    return level;
}

/// Water level seen from a point on land, and its distance to the river: a
/// blend of the nearby quads' levels, so ridges between two reaches of the
/// river at different levels stay smooth.
float waterNearby(const std::vector<Course::WaterQuad>& quads, float x, float z, float& nearest)
{
    nearest = 1e9f;
    float weighted = 0.0f;
    float total = 0.0f;
    for (const Course::WaterQuad& quad : quads) {
        const float d = quad.distance(x, z);
        nearest = std::min(nearest, d);
        const float weight = std::exp(-d / 6.0f) + 1e-12f;
        weighted += quad.nearestSurfaceHeight(x, z) * weight;
        total += weight;
    }
    return weighted / total;
}

/// Rise of a bank over its water at `distance` from the river.
float bankRise(float distance)
{
    return 2.2f * (1.0f - std::exp(-distance / 2.5f)) + 0.08f * distance;
}

/// The lowest ground a point on land may have: above the water of every
/// reach of the river nearby. Where two reaches at different levels run
/// close together, the higher one's bank wins and the ground falls steeply
/// to the lower one.
float bankFloor(const std::vector<Course::WaterQuad>& quads, float x, float z)
{
    float floor = 0.0f;
    for (const Course::WaterQuad& quad : quads) {
        const float d = quad.distance(x, z);
        if (d < 20.0f) {
            floor = std::max(floor, quad.nearestSurfaceHeight(x, z) + BANK_LIFT + bankRise(d));
        }
    }
    return floor;
}

/// Land height above the nearby water at `distance` from the river.
float landRise(float x, float z, float distance)
{
    const float bank = bankRise(distance);
    const float bumps = (fractalNoise(x / 9.0f, z / 9.0f, 11u, 3) - 0.5f) * 1.2f * smoothstep(2.0f, 10.0f, distance);
    const float wallHeight = 8.0f + 44.0f * fractalNoise(x / 120.0f, z / 120.0f, 7u, 4);
    const float wall = wallHeight * smoothstep(3.0f, 38.0f, distance);
    const float edge = std::min({x, z, Course::TILE_SIZE - x, Course::TILE_SIZE - z});
    const float rim = 22.0f * smoothstep(70.0f, 0.0f, edge) * smoothstep(8.0f, 40.0f, distance);
    return BANK_LIFT + bank + bumps + wall + rim;
}

/// Levels the ground under each house to just below its base, fading back
/// to the natural ground over a few units.
void levelPads(std::vector<float>& height)
{
    for (const Course::Prop& prop : Course::props()) {
        if (prop.model != "finishhouse.ms3d") {
            continue;
        }
        const float pad = prop.position.y - 0.3f;
        const float inner = 0.75f * prop.scaleX;
        const float outer = inner + 6.0f;
        for (int j = 0; j < SIZE; ++j) {
            for (int i = 0; i < SIZE; ++i) {
                const float dx = samplePosition(i) - prop.position.x;
                const float dz = samplePosition(j) - prop.position.z;
                const float d = std::sqrt(dx * dx + dz * dz);
                if (d >= outer) {
                    continue;
                }
                float& h = height[static_cast<std::size_t>(j) * SIZE + i];
                const float weight = smoothstep(outer, inner, d);
                // Only lower ground that stands above the pad; ground below it
                // is met by the house's foundation.
                if (h > pad) {
                    h = h + (pad - h) * weight;
                }
            }
        }
    }
}

} // namespace

Valley carveValley()
{
    const std::vector<Course::WaterQuad> quads = Course::waterQuads();
    const std::vector<float> fine = insideDistance(quads);
    const Course::WaterQuad source = sourcePool();
    const float sourceLevel = Course::crossSections().front().left.y;

    Valley valley;
    const std::size_t count = static_cast<std::size_t>(SIZE) * SIZE;
    valley.height.assign(count, 0.0f);
    valley.waterLevel.assign(count, 0.0f);
    valley.riverDistance.assign(count, 0.0f);

    for (int j = 0; j < SIZE; ++j) {
        for (int i = 0; i < SIZE; ++i) {
            const float x = samplePosition(i);
            const float z = samplePosition(j);
            const std::size_t k = static_cast<std::size_t>(j) * SIZE + i;
            bool inside = false;
            float level = waterInside(quads, x, z, inside);
            if (!inside && source.contains(x, z)) {
                inside = true;
                level = sourceLevel;
            }
            if (inside) {
                const float e = sampleFine(fine, x, z);
                valley.waterLevel[k] = level;
                valley.riverDistance[k] = -e;
                valley.height[k] = level + BANK_LIFT - std::min(RIVER_DEPTH, e * BED_SLOPE);
            } else {
                float distance = 0.0f;
                const float nearby = waterNearby(quads, x, z, distance);
                valley.waterLevel[k] = nearby;
                valley.riverDistance[k] = distance;
                valley.height[k] = std::max(nearby + landRise(x, z, distance), bankFloor(quads, x, z));
            }
        }
    }
    levelPads(valley.height);

    valley.heightMap.resize(count);
    for (std::size_t k = 0; k < count; ++k) {
        const float byte = std::round(valley.height[k] / Course::MAX_HEIGHT * 255.0f);
        valley.heightMap[k] = static_cast<std::uint8_t>(std::clamp(byte, 0.0f, 255.0f));
        valley.height[k] = valley.heightMap[k] / 255.0f * Course::MAX_HEIGHT;
    }
    return valley;
}

} // namespace VeltaTools
