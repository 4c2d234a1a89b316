#include "MeshBuilder.h"

#include <cassert>
#include <cmath>
#include <utility>

namespace VeltaTools {

namespace {

constexpr float PI = 3.14159265f;

} // namespace

Vec3 normalise(const Vec3& v)
{
    const float length = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
    return length > 1e-12f ? Vec3{v[0] / length, v[1] / length, v[2] / length} : Vec3{0, 1, 0};
}

Vec3 cross(const Vec3& a, const Vec3& b)
{
    return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}

Vec3 subtract(const Vec3& a, const Vec3& b)
{
    return {a[0] - b[0], a[1] - b[1], a[2] - b[2]};
}

Transform Transform::translation(float x, float y, float z)
{
    Transform result;
    result.t = {x, y, z};
    return result;
}

Transform Transform::scaling(float x, float y, float z)
{
    Transform result;
    result.m[0][0] = x;
    result.m[1][1] = y;
    result.m[2][2] = z;
    return result;
}

Transform Transform::rotationX(float angle)
{
    Transform result;
    const float c = std::cos(angle), s = std::sin(angle);
    result.m[1][1] = c;
    result.m[1][2] = -s;
    result.m[2][1] = s;
    result.m[2][2] = c;
    return result;
}

Transform Transform::rotationY(float angle)
{
    Transform result;
    const float c = std::cos(angle), s = std::sin(angle);
    result.m[0][0] = c;
    result.m[0][2] = s;
    result.m[2][0] = -s;
    result.m[2][2] = c;
    return result;
}

Transform Transform::rotationZ(float angle)
{
    Transform result;
    const float c = std::cos(angle), s = std::sin(angle);
    result.m[0][0] = c;
    result.m[0][1] = -s;
    result.m[1][0] = s;
    result.m[1][1] = c;
    return result;
}

Transform Transform::operator*(const Transform& inner) const
{
    Transform result;
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 3; ++c) {
            result.m[r][c] = m[r][0] * inner.m[0][c] + m[r][1] * inner.m[1][c] + m[r][2] * inner.m[2][c];
        }
        result.t[r] = m[r][0] * inner.t[0] + m[r][1] * inner.t[1] + m[r][2] * inner.t[2] + t[r];
    }
    return result;
}

Vec3 Transform::point(const Vec3& p) const
{
    Vec3 out;
    for (int r = 0; r < 3; ++r) {
        out[r] = m[r][0] * p[0] + m[r][1] * p[1] + m[r][2] * p[2] + t[r];
    }
    return out;
}

Vec3 Transform::normal(const Vec3& n) const
{
    // Cofactor matrix = determinant × inverse transpose; the sign of the
    // determinant is removed so normals keep pointing outwards.
    float c[3][3];
    for (int r = 0; r < 3; ++r) {
        for (int k = 0; k < 3; ++k) {
            const int r1 = (r + 1) % 3, r2 = (r + 2) % 3, k1 = (k + 1) % 3, k2 = (k + 2) % 3;
            c[r][k] = m[r1][k1] * m[r2][k2] - m[r1][k2] * m[r2][k1];
        }
    }
    const float sign = mirrors() ? -1.0f : 1.0f;
    Vec3 out;
    for (int r = 0; r < 3; ++r) {
        out[r] = sign * (c[r][0] * n[0] + c[r][1] * n[1] + c[r][2] * n[2]);
    }
    return normalise(out);
}

bool Transform::mirrors() const
{
    const float det = m[0][0] * (m[1][1] * m[2][2] - m[1][2] * m[2][1]) -
                      m[0][1] * (m[1][0] * m[2][2] - m[1][2] * m[2][0]) +
                      m[0][2] * (m[1][0] * m[2][1] - m[1][1] * m[2][0]);
    return det < 0.0f;
}

int MeshBuilder::material(const std::string& name, const std::string& texture)
{
    Ms3dWriter::Material material;
    material.name = name;
    material.ambient = {0.6f, 0.6f, 0.6f, 1.0f};
    material.diffuse = {1.0f, 1.0f, 1.0f, 1.0f};
    material.specular = {0.1f, 0.1f, 0.1f, 1.0f};
    material.texture = texture;
    return mWriter.addMaterial(material);
}

void MeshBuilder::group(const std::string& name, int material)
{
    mGroup = mWriter.addGroup(name, material);
    mHasGroup = true;
}

std::uint16_t MeshBuilder::vertex(const Vec3& position)
{
    const auto found = mVertexIndex.find(position);
    if (found != mVertexIndex.end()) {
        return found->second;
    }
    const std::uint16_t index = mWriter.addVertex(position);
    mVertexIndex.emplace(position, index);
    return index;
}

void MeshBuilder::triangle(const Corner& a, const Corner& b, const Corner& c)
{
    assert(mHasGroup && "start a group before adding shapes");
    const auto corner = [this](const Corner& in) {
        Ms3dWriter::Corner out;
        out.vertex = vertex(in.position);
        out.normal = in.normal;
        out.s = in.s;
        out.t = in.t;
        return out;
    };
    mWriter.addTriangle(mGroup, corner(a), corner(b), corner(c));
}

void MeshBuilder::quad(const Transform& transform, const Vec3& a, const Vec3& b, const Vec3& c, const Vec3& d,
                       const UvRect& uv)
{
    Corner k[4] = {{transform.point(a), {}, uv.s(0), uv.t(1)},
                   {transform.point(b), {}, uv.s(1), uv.t(1)},
                   {transform.point(c), {}, uv.s(1), uv.t(0)},
                   {transform.point(d), {}, uv.s(0), uv.t(0)}};
    if (transform.mirrors()) {
        std::swap(k[1], k[3]);
    }
    const Vec3 n = normalise(cross(subtract(k[1].position, k[0].position), subtract(k[2].position, k[0].position)));
    for (Corner& corner : k) {
        corner.normal = n;
    }
    triangle(k[0], k[1], k[2]);
    triangle(k[0], k[2], k[3]);
}

void MeshBuilder::box(const Transform& transform, const Vec3& size, const UvRect& uv)
{
    box(transform, size, {uv, uv, uv, uv, uv, uv});
}

void MeshBuilder::box(const Transform& transform, const Vec3& size, const std::array<UvRect, 6>& faces)
{
    const float x = size[0] / 2, y = size[1] / 2, z = size[2] / 2;
    quad(transform, {x, -y, z}, {x, -y, -z}, {x, y, -z}, {x, y, z}, faces[0]);
    quad(transform, {-x, -y, -z}, {-x, -y, z}, {-x, y, z}, {-x, y, -z}, faces[1]);
    quad(transform, {-x, y, z}, {x, y, z}, {x, y, -z}, {-x, y, -z}, faces[2]);
    quad(transform, {-x, -y, -z}, {x, -y, -z}, {x, -y, z}, {-x, -y, z}, faces[3]);
    quad(transform, {-x, -y, z}, {x, -y, z}, {x, y, z}, {-x, y, z}, faces[4]);
    quad(transform, {x, -y, -z}, {-x, -y, -z}, {-x, y, -z}, {x, y, -z}, faces[5]);
}

void MeshBuilder::surface(const Transform& transform, int rings, int segments, const UvRect& uv,
                          const std::function<Vec3(float, float)>& point)
{
    const int columns = segments + 1;
    std::vector<Vec3> positions(static_cast<std::size_t>(rings + 1) * columns);
    for (int r = 0; r <= rings; ++r) {
        for (int c = 0; c <= segments; ++c) {
            const int wrapped = c == segments ? 0 : c;
            positions[static_cast<std::size_t>(r) * columns + c] =
                point(static_cast<float>(wrapped) / segments, static_cast<float>(r) / rings);
        }
    }
    // Face normals summed into the corners, wrapping around.
    std::vector<Vec3> normals(positions.size(), Vec3{0, 0, 0});
    const auto at = [columns](int r, int c) { return static_cast<std::size_t>(r) * columns + c; };
    for (int r = 0; r < rings; ++r) {
        for (int c = 0; c < segments; ++c) {
            const Vec3& a = positions[at(r, c)];
            const Vec3& b = positions[at(r, c + 1)];
            const Vec3& d = positions[at(r + 1, c)];
            const Vec3& e = positions[at(r + 1, c + 1)];
            Vec3 n = cross(subtract(d, b), subtract(e, a));
            for (std::size_t k : {at(r, c), at(r, c + 1), at(r + 1, c), at(r + 1, c + 1)}) {
                for (int i = 0; i < 3; ++i) {
                    normals[k][i] += n[i];
                }
            }
        }
    }
    for (int r = 0; r <= rings; ++r) {
        for (int i = 0; i < 3; ++i) {
            normals[at(r, 0)][i] += normals[at(r, segments)][i];
        }
        normals[at(r, segments)] = normals[at(r, 0)];
    }
    // At a pole every column meets in one point: give them one shared normal.
    for (int r : {0, rings}) {
        Vec3 sum{0, 0, 0};
        bool pole = true;
        for (int c = 0; c <= segments; ++c) {
            const Vec3 d = subtract(positions[at(r, c)], positions[at(r, 0)]);
            pole = pole && std::abs(d[0]) + std::abs(d[1]) + std::abs(d[2]) < 1e-6f;
            for (int i = 0; i < 3; ++i) {
                sum[i] += normals[at(r, c)][i];
            }
        }
        if (pole) {
            for (int c = 0; c <= segments; ++c) {
                normals[at(r, c)] = sum;
            }
        }
    }
    const bool flip = transform.mirrors();
    for (int r = 0; r < rings; ++r) {
        for (int c = 0; c < segments; ++c) {
            Corner k[4];
            const int rr[4] = {r, r, r + 1, r + 1};
            const int cc[4] = {c, c + 1, c + 1, c};
            for (int i = 0; i < 4; ++i) {
                const std::size_t index = at(rr[i], cc[i]);
                k[i].position = transform.point(positions[index]);
                k[i].normal = transform.normal(normalise(normals[index]));
                k[i].s = uv.s(static_cast<float>(cc[i]) / segments);
                k[i].t = uv.t(static_cast<float>(rr[i]) / rings);
            }
            // Outside is the side of (along v) × (around u); the corners
            // a, d, e and a, e, b are counter-clockwise seen from there.
            const auto emit = [&](const Corner& a, const Corner& b, const Corner& d) {
                const Vec3 area = cross(subtract(b.position, a.position), subtract(d.position, a.position));
                const float length = area[0] * area[0] + area[1] * area[1] + area[2] * area[2];
                if (length < 1e-14f) {
                    return; // degenerate at a pole
                }
                if (flip) {
                    triangle(a, d, b);
                } else {
                    triangle(a, b, d);
                }
            };
            emit(k[0], k[3], k[2]);
            emit(k[0], k[2], k[1]);
        }
    }
}

void MeshBuilder::sphere(const Transform& transform, int rings, int segments, const UvRect& uv)
{
    surface(transform, rings, segments, uv, [](float u, float v) {
        const float polar = v * PI;
        const float around = u * 2.0f * PI;
        return Vec3{std::sin(polar) * std::cos(around), std::cos(polar), -std::sin(polar) * std::sin(around)};
    });
}

void MeshBuilder::lathe(const Transform& transform, const std::vector<std::array<float, 2>>& profile, int segments,
                        const UvRect& uv, bool smoothProfile)
{
    const int last = static_cast<int>(profile.size()) - 1;
    if (smoothProfile) {
        // Profile from the top down, so v = 0 is the top like a sphere.
        surface(transform, last, segments, uv, [&profile, last](float u, float v) {
            const int index = last - static_cast<int>(std::lround(v * last));
            const float around = u * 2.0f * PI;
            const float r = profile[static_cast<std::size_t>(index)][0];
            return Vec3{r * std::cos(around), profile[static_cast<std::size_t>(index)][1], -r * std::sin(around)};
        });
        return;
    }
    // Texture t follows the length of the profile from the top, so labels
    // keep their proportions.
    std::vector<float> along(profile.size(), 0.0f);
    for (int i = last - 1; i >= 0; --i) {
        const auto& a = profile[static_cast<std::size_t>(i)];
        const auto& b = profile[static_cast<std::size_t>(i + 1)];
        along[static_cast<std::size_t>(i)] =
            along[static_cast<std::size_t>(i + 1)] + std::hypot(a[0] - b[0], a[1] - b[1]);
    }
    const float total = along[0] > 0.0f ? along[0] : 1.0f;
    for (int i = last; i > 0; --i) {
        const std::vector<std::array<float, 2>> band = {profile[static_cast<std::size_t>(i - 1)],
                                                         profile[static_cast<std::size_t>(i)]};
        UvRect part = uv;
        part.t0 = uv.t(along[static_cast<std::size_t>(i)] / total);
        part.t1 = uv.t(along[static_cast<std::size_t>(i - 1)] / total);
        lathe(transform, band, segments, part, true);
    }
}

Ms3dWriter& MeshBuilder::finish()
{
    return mWriter;
}

} // namespace VeltaTools
