#include "Course.h"

#include <algorithm>
#include <cmath>

namespace VeltaTools::Course {

float samplePosition(int i)
{
    return static_cast<float>(i) * TILE_SIZE / static_cast<float>(HEIGHTMAP_SIZE - 1);
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
