#pragma once

#include "VeltaExport.h"

#include <cstddef>
#include <string>
#include <vector>

namespace Velta {

/// The parts of a model file (versions 3 and 4 of the binary MS3D layout)
/// that the engine draws: positions, triangles with corner normals and
/// texture coordinates, groups of triangles naming a material, and the
/// materials' colours and texture names. Animation and everything else after
/// the material block is not read.
///
/// read() checks every block against the bytes before it reads it and every
/// index against the list it points into, so a model it accepts can be built
/// without further checks, and no file, however damaged, is read past its
/// end.
class VELTA_EXPORT Ms3dModel {
public:
    /// A group's material when it has none (the byte 0xFF in the file).
    static constexpr int NO_MATERIAL = -1;

    struct Triangle {
        unsigned short vertices[3];
        float normals[3][3];
        float s[3];
        float t[3];
    };

    struct Group {
        std::vector<unsigned short> triangles;
        /// Index into the materials, or NO_MATERIAL.
        int material = NO_MATERIAL;
    };

    struct Material {
        float ambient[4];
        float diffuse[4];
        float specular[4];
        /// The image name as stored; empty for none.
        std::string texture;
    };

    enum Status {
        OK,
        NOT_A_MODEL,         ///< the file does not start with the format's id
        UNSUPPORTED_VERSION, ///< a version other than 3 or 4
        CORRUPT              ///< cut short or inconsistent; see the problem text
    };

    /// Reads `size` bytes at `data`. Anything but OK leaves the model empty;
    /// for CORRUPT, `problem` says what is wrong in a few words.
    Status read(const unsigned char* data, std::size_t size, std::string& problem);

    /// Positions, x y z per vertex.
    const std::vector<float>& getPositions() const { return mPositions; }
    unsigned int getVertexCount() const { return static_cast<unsigned int>(mPositions.size() / 3); }
    const std::vector<Triangle>& getTriangles() const { return mTriangles; }
    const std::vector<Group>& getGroups() const { return mGroups; }
    const std::vector<Material>& getMaterials() const { return mMaterials; }

private:
    class Cursor;

    bool readVertices(Cursor& in, std::string& problem);
    bool readTriangles(Cursor& in, std::string& problem);
    bool readGroups(Cursor& in, std::string& problem);
    bool readMaterials(Cursor& in, std::string& problem);
    bool checkGroupMaterials(std::string& problem) const;
    void clear();

    std::vector<float> mPositions;
    std::vector<Triangle> mTriangles;
    std::vector<Group> mGroups;
    std::vector<Material> mMaterials;
};

} // namespace Velta
