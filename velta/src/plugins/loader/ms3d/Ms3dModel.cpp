#include "plugins/loader/ms3d/Ms3dModel.h"

#include <cstdint>
#include <cstring>

namespace Velta {

namespace {

const char MAGIC[] = "MS3D000000";
const std::size_t MAGIC_SIZE = 10;
const std::size_t HEADER_SIZE = 14;

// Record sizes of the packed little-endian layout.
const std::size_t VERTEX_SIZE = 15;
const std::size_t TRIANGLE_SIZE = 70;
const std::size_t GROUP_HEAD_SIZE = 1 + 32 + 2; // flags, name, triangle count; then indices, material
const std::size_t MATERIAL_SIZE = 361;
const std::size_t MATERIAL_COLOURS_AT = 32;
const std::size_t MATERIAL_TEXTURE_AT = 105;
const std::size_t TEXTURE_NAME_SIZE = 128;

std::string text(const char* what, std::size_t index)
{
    return what + std::to_string(index);
}

} // namespace

/// Reads the file front to back. Callers ask for room first (has()); the
/// readers themselves only read what was granted.
class Ms3dModel::Cursor {
public:
    Cursor(const unsigned char* data, std::size_t size) : mData(data), mSize(size) {}

    bool has(std::size_t bytes) const { return mSize - mAt >= bytes; }
    /// Room for `count` records of `size` bytes; no overflow for 16-bit counts.
    bool has(std::size_t count, std::size_t size) const { return count <= (mSize - mAt) / size; }

    const unsigned char* here() const { return mData + mAt; }
    void skip(std::size_t bytes) { mAt += bytes; }

    std::uint8_t u8() { return mData[mAt++]; }
    std::uint16_t u16()
    {
        const std::uint16_t value = static_cast<std::uint16_t>(mData[mAt] | (mData[mAt + 1] << 8));
        mAt += 2;
        return value;
    }
    float f32()
    {
        const std::uint32_t bits = static_cast<std::uint32_t>(mData[mAt]) | (mData[mAt + 1] << 8)
            | (mData[mAt + 2] << 16) | (static_cast<std::uint32_t>(mData[mAt + 3]) << 24);
        float value = 0.0f;
        std::memcpy(&value, &bits, sizeof value);
        mAt += 4;
        return value;
    }
    void floats(float* out, int count)
    {
        for (int i = 0; i < count; ++i) {
            out[i] = f32();
        }
    }

    /// A 16-bit count followed by that many records of `size` bytes, all in
    /// the file; false when they are not.
    bool count(std::size_t size, unsigned int& count)
    {
        if (!has(2)) {
            return false;
        }
        count = u16();
        return has(count, size);
    }

private:
    const unsigned char* mData;
    std::size_t mSize;
    std::size_t mAt = 0;
};

Ms3dModel::Status Ms3dModel::read(const unsigned char* data, std::size_t size, std::string& problem)
{
    clear();
    problem.clear();
    if (size < MAGIC_SIZE || std::strncmp(reinterpret_cast<const char*>(data), MAGIC, MAGIC_SIZE) != 0) {
        return NOT_A_MODEL;
    }
    Cursor in(data, size);
    in.skip(MAGIC_SIZE);
    if (!in.has(HEADER_SIZE - MAGIC_SIZE)) {
        problem = "the file ends inside the header";
        return CORRUPT;
    }
    const std::uint16_t low = in.u16();
    const std::uint16_t high = in.u16();
    const std::int32_t version = static_cast<std::int32_t>(low | (static_cast<std::uint32_t>(high) << 16));
    if (version != 3 && version != 4) {
        return UNSUPPORTED_VERSION;
    }
    if (!readVertices(in, problem) || !readTriangles(in, problem) || !readGroups(in, problem)
        || !readMaterials(in, problem) || !checkGroupMaterials(problem)) {
        clear();
        return CORRUPT;
    }
    return OK;
}

bool Ms3dModel::readVertices(Cursor& in, std::string& problem)
{
    unsigned int count = 0;
    if (!in.count(VERTEX_SIZE, count)) {
        problem = "the file ends inside the vertex block";
        return false;
    }
    mPositions.resize(count * 3);
    for (unsigned int i = 0; i < count; ++i) {
        in.skip(1); // flags
        in.floats(&mPositions[i * 3], 3);
        in.skip(2); // bone id, reference count
    }
    return true;
}

bool Ms3dModel::readTriangles(Cursor& in, std::string& problem)
{
    unsigned int count = 0;
    if (!in.count(TRIANGLE_SIZE, count)) {
        problem = "the file ends inside the triangle block";
        return false;
    }
    const unsigned int vertexCount = getVertexCount();
    mTriangles.resize(count);
    for (unsigned int i = 0; i < count; ++i) {
        Triangle& triangle = mTriangles[i];
        in.skip(2); // flags
        for (unsigned short& vertex : triangle.vertices) {
            vertex = in.u16();
            if (vertex >= vertexCount) {
                problem = text("triangle ", i) + text(" uses vertex ", vertex) + text(" of ", vertexCount);
                return false;
            }
        }
        in.floats(&triangle.normals[0][0], 9);
        in.floats(triangle.s, 3);
        in.floats(triangle.t, 3);
        in.skip(2); // smoothing group, group index
    }
    return true;
}

bool Ms3dModel::readGroups(Cursor& in, std::string& problem)
{
    problem = "the file ends inside the group block";
    if (!in.has(2)) {
        return false;
    }
    const unsigned int count = in.u16();
    if (!in.has(count, GROUP_HEAD_SIZE + 1)) {
        return false;
    }
    const unsigned int triangleCount = static_cast<unsigned int>(mTriangles.size());
    mGroups.reserve(count);
    for (unsigned int g = 0; g < count; ++g) {
        if (!in.has(GROUP_HEAD_SIZE)) {
            return false;
        }
        in.skip(GROUP_HEAD_SIZE - 2); // flags, name
        const unsigned int triangles = in.u16();
        if (!in.has(triangles * 2 + 1)) {
            return false;
        }
        mGroups.emplace_back();
        Group& group = mGroups.back();
        group.triangles.resize(triangles);
        for (unsigned short& triangle : group.triangles) {
            triangle = in.u16();
            if (triangle >= triangleCount) {
                problem = text("group ", g) + text(" uses triangle ", triangle) + text(" of ", triangleCount);
                return false;
            }
        }
        group.material = static_cast<std::int8_t>(in.u8());
    }
    problem.clear();
    return true;
}

bool Ms3dModel::readMaterials(Cursor& in, std::string& problem)
{
    unsigned int count = 0;
    if (!in.count(MATERIAL_SIZE, count)) {
        problem = "the file ends inside the material block";
        return false;
    }
    mMaterials.resize(count);
    for (unsigned int i = 0; i < count; ++i) {
        const unsigned char* record = in.here();
        const void* end = std::memchr(record + MATERIAL_TEXTURE_AT, 0, TEXTURE_NAME_SIZE);
        if (!end) {
            problem = text("the texture name of material ", i) + " has no end";
            return false;
        }
        Material& material = mMaterials[i];
        in.skip(MATERIAL_COLOURS_AT);
        in.floats(material.ambient, 4);
        in.floats(material.diffuse, 4);
        in.floats(material.specular, 4);
        material.texture.assign(reinterpret_cast<const char*>(record + MATERIAL_TEXTURE_AT),
                                static_cast<const unsigned char*>(end) - (record + MATERIAL_TEXTURE_AT));
        in.skip(MATERIAL_SIZE - MATERIAL_COLOURS_AT - 48);
    }
    return true;
}

bool Ms3dModel::checkGroupMaterials(std::string& problem) const
{
    const unsigned int count = static_cast<unsigned int>(mMaterials.size());
    for (std::size_t g = 0; g < mGroups.size(); ++g) {
        const int material = mGroups[g].material;
        if (material != NO_MATERIAL && (material < 0 || static_cast<unsigned int>(material) >= count)) {
            problem = text("group ", g) + " uses material " + std::to_string(material) + text(" of ", count);
            return false;
        }
    }
    return true;
}

void Ms3dModel::clear()
{
    mPositions.clear();
    mTriangles.clear();
    mGroups.clear();
    mMaterials.clear();
}

} // namespace Velta
