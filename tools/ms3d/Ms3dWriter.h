#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace VeltaTools {

/// Builds a model file in the binary MS3D layout (versions 3 and 4) in memory.
/// Vertices are shared positions; each triangle carries its own corner normals
/// and texture coordinates. Groups list triangles and name one material (or
/// none); materials may name a texture image, which the engine resolves in its
/// textures directory exactly as written here.
///
/// The file ends after the material block with an empty animation block
/// (frame rate, current time, frame count, no joints), as modelling tools write
/// it. Counts are 16 bit in the format: adding more than 65535 vertices,
/// triangles or groups, or more than 127 materials, is a programming error and
/// asserts.
class Ms3dWriter {
public:
    using Vec3 = std::array<float, 3>;
    using Rgba = std::array<float, 4>;

    /// Group material index that means "no material" (written as the byte 0xFF).
    static constexpr int NO_MATERIAL = -1;

    struct Corner {
        std::uint16_t vertex = 0;
        Vec3 normal{0.0f, 1.0f, 0.0f};
        float s = 0.0f;
        float t = 0.0f; ///< 0 is the top row of the image
    };

    struct Material {
        std::string name;
        Rgba ambient{0.2f, 0.2f, 0.2f, 1.0f};
        Rgba diffuse{0.8f, 0.8f, 0.8f, 1.0f};
        Rgba specular{0.0f, 0.0f, 0.0f, 1.0f};
        Rgba emissive{0.0f, 0.0f, 0.0f, 1.0f};
        float shininess = 0.0f;
        float transparency = 1.0f; ///< 1 is opaque
        std::string texture;       ///< image name, empty for none (at most 127 bytes)
        std::string alphaMap;
    };

    /// Version 3 or 4; anything else is written as asked (tests use that to
    /// build files a reader must reject).
    explicit Ms3dWriter(std::int32_t version = 4);

    std::uint16_t addVertex(const Vec3& position);
    /// Adds a triangle to `group` (which must exist) and returns its index.
    std::uint16_t addTriangle(std::size_t group, const Corner& a, const Corner& b, const Corner& c);
    /// Returns the new group's index. `material` is an index returned by
    /// addMaterial or NO_MATERIAL.
    std::size_t addGroup(const std::string& name, int material = NO_MATERIAL);
    int addMaterial(const Material& material);

    std::size_t getVertexCount() const { return mVertices.size(); }
    std::size_t getTriangleCount() const { return mTriangles.size(); }
    std::size_t getGroupCount() const { return mGroups.size(); }
    std::size_t getMaterialCount() const { return mMaterials.size(); }

    /// The whole file.
    std::vector<std::uint8_t> toBytes() const;
    /// Writes toBytes() to `path`; false when the file cannot be written.
    bool writeFile(const std::string& path) const;

private:
    struct Triangle {
        std::array<Corner, 3> corners;
        std::uint8_t group = 0;
    };
    struct Group {
        std::string name;
        std::vector<std::uint16_t> triangles;
        int material = NO_MATERIAL;
    };

    std::int32_t mVersion;
    std::vector<Vec3> mVertices;
    std::vector<Triangle> mTriangles;
    std::vector<Group> mGroups;
    std::vector<Material> mMaterials;
};

} // namespace VeltaTools
