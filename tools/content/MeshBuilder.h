#pragma once

#include "Ms3dWriter.h"

#include <array>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace VeltaTools {

using Vec3 = std::array<float, 3>;

/// An affine transformation of model space (3 × 3 linear part and a translation).
struct Transform {
    float m[3][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    Vec3 t{0, 0, 0};

    static Transform translation(float x, float y, float z);
    static Transform scaling(float x, float y, float z);
    static Transform rotationX(float angle);
    static Transform rotationY(float angle);
    static Transform rotationZ(float angle);
    /// This transformation applied after `inner`.
    Transform operator*(const Transform& inner) const;

    Vec3 point(const Vec3& p) const;
    /// Normal transformed by the inverse transpose and normalised.
    Vec3 normal(const Vec3& n) const;
    /// True when the transformation mirrors (triangles must flip to keep facing out).
    bool mirrors() const;
};

/// A region of a texture in coordinates 0 to 1 (t = 0 is the top row).
struct UvRect {
    float s0 = 0, t0 = 0, s1 = 1, t1 = 1;
    float s(float u) const { return s0 + (s1 - s0) * u; }
    float t(float v) const { return t0 + (t1 - t0) * v; }
};

/// Collects triangles into groups and hands them to the model writer.
/// Shapes are emitted with outward normals and counter-clockwise winding
/// seen from outside; positions shared by several corners become one vertex.
class MeshBuilder {
public:
    struct Corner {
        Vec3 position;
        Vec3 normal;
        float s = 0, t = 0;
    };

    explicit MeshBuilder(int version = 4) : mWriter(version) {}

    /// A material with a texture (white colours, so the texture shows as painted).
    int material(const std::string& name, const std::string& texture);
    /// Starts a group; following shapes go into it.
    void group(const std::string& name, int material);

    void triangle(const Corner& a, const Corner& b, const Corner& c);

    /// A box of the given size centred at the origin, each face mapped to `uv`.
    void box(const Transform& transform, const Vec3& size, const UvRect& uv);
    /// A box with its own region per face: +x, -x, +y, -y, +z, -z.
    void box(const Transform& transform, const Vec3& size, const std::array<UvRect, 6>& faces);
    /// A surface of revolution about the y axis through the (radius, y) profile
    /// points (bottom to top), `segments` around. s runs around, t along the
    /// profile. Smooth normals around; `smoothProfile` also smooths along it.
    void lathe(const Transform& transform, const std::vector<std::array<float, 2>>& profile, int segments,
               const UvRect& uv, bool smoothProfile = true);
    /// A sphere of radius 1 (scale it for ellipsoids); s around, t from top to bottom.
    void sphere(const Transform& transform, int rings, int segments, const UvRect& uv);
    /// A closed grid surface: `point(u, v)` for u around (0..1, wrapping) and
    /// v from one pole (0) to the other (1); normals are averaged from faces.
    void surface(const Transform& transform, int rings, int segments, const UvRect& uv,
                 const std::function<Vec3(float, float)>& point);
    /// A flat quad with corners a, b, c, d (counter-clockwise seen from the
    /// front), the texture's rectangle spread over it.
    void quad(const Transform& transform, const Vec3& a, const Vec3& b, const Vec3& c, const Vec3& d,
              const UvRect& uv);

    Ms3dWriter& finish();

private:
    std::uint16_t vertex(const Vec3& position);

    Ms3dWriter mWriter;
    std::map<std::array<float, 3>, std::uint16_t> mVertexIndex;
    std::size_t mGroup = 0;
    bool mHasGroup = false;
};

Vec3 normalise(const Vec3& v);
Vec3 cross(const Vec3& a, const Vec3& b);
Vec3 subtract(const Vec3& a, const Vec3& b);

} // namespace VeltaTools
