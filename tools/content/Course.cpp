#include "Course.h"

#include <algorithm>
#include <cmath>

namespace VeltaTools::Course {

const std::vector<CrossSection>& crossSections()
{
    static const std::vector<CrossSection> sections = {
        {{78, 35.4f, 91}, {97, 35.4f, 102}, 3.5f},    {{53, 33, 121}, {83, 33, 121}, 2.8f},
        {{72, 32.4f, 158}, {99, 32.4f, 142}, 2.5f},   {{72, 32.4f, 188}, {104, 32.4f, 185}, 2.2f},
        {{65, 31.8f, 256}, {105, 31.8f, 247}, 2},     {{87, 31.8f, 275}, {108, 31.8f, 250}, 2},
        {{112, 31.8f, 278}, {122, 31.8f, 250}, 2.1f}, {{121, 31.8f, 284}, {134, 31.8f, 262}, 2.1f},
        {{136, 31.8f, 302}, {140, 31.8f, 266}, 2.1f}, {{156, 31.8f, 283}, {146, 31.8f, 264}, 2.1f},
        {{161, 33.6f, 282}, {166, 33.6f, 252}, 2.5f}, {{176, 33.6f, 296}, {191, 33.6f, 264}, 3},
        {{204, 32.4f, 298}, {219, 32.4f, 280}, 2.5f}, {{212, 31.2f, 313}, {248, 31.2f, 306}, 2},
        {{212, 31.2f, 317}, {246, 31.2f, 325}, 2},    {{216, 30.6f, 353}, {244, 30.6f, 331}, 2.2f},
        {{247, 30.6f, 364}, {281, 30.6f, 345}, 1.6f}, {{247, 30.6f, 369}, {291, 30.6f, 362}, 1.6f},
        {{273, 29.4f, 407}, {293, 29.4f, 370}, 2},    {{332, 28.2f, 396}, {319, 28.2f, 360}, 2.5f},
        {{394, 27, 353}, {340, 27, 350}, 2.5f},       {{347, 25.8f, 294}, {319, 25.8f, 325}, 1.3f},
        {{321, 25.2f, 286}, {274, 25.2f, 327}, 1.2f}, {{319, 25.2f, 283}, {251, 25.2f, 286}, 1.2f},
        {{302, 25.2f, 221}, {229, 25.2f, 270}, 1.1f}, {{288, 25.2f, 212}, {213, 25.2f, 224}, 3},
        {{276, 24.6f, 181}, {231, 24.6f, 192}, 2.5f}, {{228, 24, 107}, {205, 24, 182}, 2.5f},
        {{205, 24, 127}, {188, 24, 145}, 2.5f},       {{178, 23.4f, 92}, {112, 23.4f, 94}, 2.5f},
        {{198, 22.2f, 62}, {118, 22.2f, 14}, 2.5f},   {{241, 20.4f, 35}, {238, 20.4f, 3}, 2.6f},
        {{285, 18.9f, 85}, {330, 18.9f, 42}, 2.7f},   {{309, 18, 140}, {337, 18, 103}, 3},
        {{374, 18.6f, 122}, {410, 18.6f, 20}, 2.9f},  {{392, 19.2f, 145}, {485, 19.2f, 82}, 2.8f},
        {{361, 19.2f, 169}, {438, 19.2f, 162}, 3.5f}, {{357, 19.2f, 235}, {466, 19.2f, 180}, 2.7f},
        {{421, 19.2f, 258}, {464, 19.2f, 249}, 3},    {{431, 19.2f, 278}, {487, 19.2f, 298}, 3.3f},
        {{415, 19.2f, 303}, {445, 19.2f, 306}, 3.6f}, {{426, 19.2f, 331}, {474, 19.2f, 334}, 3.7f},
        {{413, 18.6f, 353}, {455, 18.6f, 354}, 3.5f}, {{420, 18.6f, 370}, {471, 18.6f, 372}, 3.5f},
        {{404, 18.6f, 384}, {456, 18.6f, 395}, 2.5f}, {{438, 18.6f, 422}, {474, 18.6f, 438}, 2.5f},
        {{389, 18.6f, 421}, {483, 18.6f, 489}, 2.5f}, {{372, 18.6f, 433}, {380, 18.6f, 477}, 2.5f},
        {{326, 18.6f, 415}, {340, 18.6f, 470}, 2.5f}, {{273, 18.6f, 418}, {271, 18.6f, 493}, 2.5f},
        {{188, 17.4f, 411}, {225, 17.4f, 451}, 2.5f}, {{149, 16.8f, 422}, {147, 16.8f, 478}, 2.5f},
        {{101, 16.5f, 374}, {88, 16.5f, 421}, 2.5f},  {{95, 15.9f, 370}, {59, 15.9f, 418}, 3},
        {{99, 15.3f, 351}, {34, 15.3f, 373}, 3},      {{86, 15.3f, 341}, {32, 15.3f, 331}, 0},
        {{54, 15.3f, 245}, {8, 15.3f, 298}, -0.8f},   {{0, 16.2f, 240}, {0, 16.2f, 250}, -1.5f},
    };
    return sections;
}

const std::vector<Prop>& props()
{
    static const std::vector<Prop> list = {
        {"sky.ms3d", {250, 0, 250}, 1000, 1000, 1000, 0},
        {"finishhouse.ms3d", {82, 37.8f, 122.5f}, 6, 6, 6, 3.8f},
        {"bumper.ms3d", {69.3f, 33.7f, 115}, 11, 11, 11, 0},
        {"banner.ms3d", {71.2f, 33.7f, 110.5f}, 9, 6.5f, 7, 0},
        {"traffic.ms3d", {67.4f, 33.7f, 109.8f}, 4, 4, 4, 3.14f},
        {"traffic.ms3d", {75, 33.7f, 109.8f}, 4, 4, 4, 3.14f},
        {"bumper.ms3d", {169, 23, 76}, 14, 14, 14, -0.1f},
        {"bumper.ms3d", {383, 18, 116}, 14, 14, 14, 0.345f},
        {"bumper.ms3d", {418, 19, 185}, 14, 14, 14, 1.047f},
        {"finishhouse.ms3d", {465, 23.5f, 354.5f}, 6, 6, 6, 4.712f},
        {"finishhouse.ms3d", {433.1f, 21.3f, 419.5f}, 6, 6, 6, 0.9424778f},
        {"finishbanner.ms3d", {445, 18.4f, 414}, 7, 5.5f, 5.5f, 0},
        {"bumper.ms3d", {445, 18.4f, 416}, 7, 7, 7, 0},
        {"catchmesh.ms3d", {445, 18.4f, 418.5f}, 6, 6, 6, 3.1415927f},
    };
    return list;
}

const std::vector<Stone>& stones()
{
    static const std::vector<Stone> list = {
        {5, 6, 5, 0.1f, 228, 137}, {10, 6, 7, 2.1f, 184, 122}, {3, 7, 1, 1.9f, 205, 30},
        {3, 8, 3, 0.6f, 297, 64},  {4, 3, 2, 2.6f, 412, 180},  {2, 3, 2, 3, 358, 109},
        {7, 4, 4, 2.8f, 451, 423}, {1, 2, 3, 0, 449, 369},     {1, 2, 4, 0.2f, 448, 332},
        {2, 5, 2, 1.7f, 445, 288}, {3, 2, 5, 0.6f, 448, 337},  {2, 1, 1, 1.2f, 411, 100},
    };
    return list;
}

float samplePosition(int i)
{
    return static_cast<float>(i) * TILE_SIZE / static_cast<float>(HEIGHTMAP_SIZE - 1);
}

bool onTerrain(float x, float z)
{
    return x >= 0.0f && z >= 0.0f && x < TILE_SIZE && z < TILE_SIZE;
}

float terrainHeight(const std::vector<std::uint8_t>& heightMap, float x, float z)
{
    if (!onTerrain(x, z)) {
        return -1.0f;
    }
    const int size = HEIGHTMAP_SIZE;
    const auto value = [&heightMap, size](int i, int j) {
        i = std::min(i, size - 1);
        j = std::min(j, size - 1);
        return heightMap[static_cast<std::size_t>(j) * size + i] / 255.0f;
    };
    const float u = std::clamp(x / TILE_SIZE, 0.0f, 1.0f);
    const float v = std::clamp(z / TILE_SIZE, 0.0f, 1.0f);
    const float px = u * static_cast<float>(size - 1);
    const float py = v * static_cast<float>(size - 1);
    const int ix = static_cast<int>(px);
    const int iy = static_cast<int>(py);
    const float fx = px - static_cast<float>(ix);
    const float fy = py - static_cast<float>(iy);
    const float h00 = value(ix, iy);
    float dx = 0.0f;
    float dy = 0.0f;
    if (fx > fy) {
        dx = value(ix + 1, iy) - h00;
        dy = value(ix + 1, iy + 1) - h00 - dx;
    } else {
        dy = value(ix, iy + 1) - h00;
        dx = value(ix + 1, iy + 1) - h00 - dy;
    }
    return (dx * fx + dy * fy + h00) * MAX_HEIGHT;
}

namespace {

float cross2(float ax, float az, float bx, float bz)
{
    return ax * bz - az * bx;
}

float segmentDistance(float px, float pz, const Point3& a, const Point3& b, float& t)
{
    const float dx = b.x - a.x;
    const float dz = b.z - a.z;
    const float lengthSquared = dx * dx + dz * dz;
    t = lengthSquared > 0.0f ? std::clamp(((px - a.x) * dx + (pz - a.z) * dz) / lengthSquared, 0.0f, 1.0f) : 0.0f;
    const float ex = a.x + dx * t - px;
    const float ez = a.z + dz * t - pz;
    return std::sqrt(ex * ex + ez * ez);
}

} // namespace

WaterQuad::WaterQuad(const CrossSection& upstream, const CrossSection& downstream)
    : mA(upstream.left), mB(upstream.right), mC(downstream.left), mD(downstream.right)
{
    float s3 = 0.0f, t3 = 0.0f;
    map(mD.x, mD.z, s3, t3);
    mValid = s3 > 0.0f && t3 > 0.0f;
    if (s3 != 0.0f) {
        mK1 = (t3 - 1.0f) / s3;
    }
    if (t3 != 0.0f) {
        mK2 = (s3 - 1.0f) / t3;
    }
}

void WaterQuad::map(float x, float z, float& s, float& t) const
{
    // The affine map taking A to (0, 0), B to (1, 0) and C to (0, 1).
    const float bx = mB.x - mA.x, bz = mB.z - mA.z;
    const float cx = mC.x - mA.x, cz = mC.z - mA.z;
    const float px = x - mA.x, pz = z - mA.z;
    const float det = cross2(bx, bz, cx, cz);
    if (det == 0.0f) {
        s = t = -1.0f;
        return;
    }
    s = cross2(px, pz, cx, cz) / det;
    t = cross2(bx, bz, px, pz) / det;
}

bool WaterQuad::locate(float x, float z, float& u, float& v) const
{
    float s = 0.0f, t = 0.0f;
    map(x, z, s, t);
    u = s / (mK2 * t + 1.0f);
    v = t / (mK1 * s + 1.0f);
    return u >= 0.0f && u <= 1.0f && v >= 0.0f && v <= 1.0f;
}

float WaterQuad::surfaceHeight(float u, float v) const
{
    const float near = mA.y + u * (mB.y - mA.y);
    const float far = mC.y + u * (mD.y - mC.y);
    return near + v * (far - near);
}

bool WaterQuad::contains(float x, float z) const
{
    const Point3* outline[4] = {&mA, &mB, &mD, &mC};
    bool inside = false;
    for (int i = 0, j = 3; i < 4; j = i++) {
        const Point3& a = *outline[i];
        const Point3& b = *outline[j];
        if ((a.z > z) != (b.z > z) && x < (b.x - a.x) * (z - a.z) / (b.z - a.z) + a.x) {
            inside = !inside;
        }
    }
    return inside;
}

float WaterQuad::distance(float x, float z) const
{
    if (contains(x, z)) {
        return 0.0f;
    }
    const Point3* outline[4] = {&mA, &mB, &mD, &mC};
    float best = 1e30f;
    for (int i = 0; i < 4; ++i) {
        float t = 0.0f;
        best = std::min(best, segmentDistance(x, z, *outline[i], *outline[(i + 1) % 4], t));
    }
    return best;
}

float WaterQuad::nearestSurfaceHeight(float x, float z) const
{
    // Banks are level across each section, so the height only changes along
    // the river: upstream line A-B, downstream line C-D, banks A-C and B-D.
    float t = 0.0f;
    float best = segmentDistance(x, z, mA, mB, t);
    float height = mA.y;
    const float down = segmentDistance(x, z, mC, mD, t);
    if (down < best) {
        best = down;
        height = mC.y;
    }
    const float left = segmentDistance(x, z, mA, mC, t);
    if (left < best) {
        best = left;
        height = mA.y + (mC.y - mA.y) * t;
    }
    const float right = segmentDistance(x, z, mB, mD, t);
    if (right < best) {
        height = mB.y + (mD.y - mB.y) * t;
    }
    return height;
}

std::vector<WaterQuad> waterQuads()
{
    std::vector<WaterQuad> quads;
    const std::vector<CrossSection>& sections = crossSections();
    for (std::size_t i = 1; i < sections.size(); ++i) {
        quads.emplace_back(sections[i - 1], sections[i]);
    }
    return quads;
}

} // namespace VeltaTools::Course
