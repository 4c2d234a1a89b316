#include "Ms3dWriter.h"

#include <cassert>
#include <cstring>
#include <fstream>

namespace VeltaTools {

namespace {

/// Little-endian byte sink for the packed records of the format.
class ByteSink {
public:
    explicit ByteSink(std::vector<std::uint8_t>& bytes) : mBytes(bytes) {}

    void u8(std::uint8_t value) { mBytes.push_back(value); }
    void u16(std::uint16_t value)
    {
        u8(static_cast<std::uint8_t>(value & 0xFF));
        u8(static_cast<std::uint8_t>(value >> 8));
    }
    void u32(std::uint32_t value)
    {
        for (int shift = 0; shift < 32; shift += 8) {
            u8(static_cast<std::uint8_t>((value >> shift) & 0xFF));
        }
    }
    void f32(float value)
    {
        std::uint32_t bits = 0;
        std::memcpy(&bits, &value, sizeof bits);
        u32(bits);
    }
    /// A zero-padded field of `size` bytes; the text is cut to size - 1 so the
    /// field stays zero-terminated.
    void text(const std::string& value, std::size_t size)
    {
        const std::size_t length = value.size() < size ? value.size() : size - 1;
        for (std::size_t i = 0; i < size; ++i) {
            u8(i < length ? static_cast<std::uint8_t>(value[i]) : 0);
        }
    }
    void rgba(const Ms3dWriter::Rgba& colour)
    {
        for (float component : colour) {
            f32(component);
        }
    }

private:
    std::vector<std::uint8_t>& mBytes;
};

} // namespace

Ms3dWriter::Ms3dWriter(std::int32_t version) : mVersion(version) {}

std::uint16_t Ms3dWriter::addVertex(const Vec3& position)
{
    assert(mVertices.size() < 0xFFFF && "too many vertices for the format");
    mVertices.push_back(position);
    return static_cast<std::uint16_t>(mVertices.size() - 1);
}

std::uint16_t Ms3dWriter::addTriangle(std::size_t group, const Corner& a, const Corner& b, const Corner& c)
{
    assert(group < mGroups.size() && "triangle added to a group that does not exist");
    assert(mTriangles.size() < 0xFFFF && "too many triangles for the format");
    assert(a.vertex < mVertices.size() && b.vertex < mVertices.size() && c.vertex < mVertices.size());
    Triangle triangle;
    triangle.corners = {a, b, c};
    triangle.group = static_cast<std::uint8_t>(group);
    mTriangles.push_back(triangle);
    const auto index = static_cast<std::uint16_t>(mTriangles.size() - 1);
    mGroups[group].triangles.push_back(index);
    return index;
}

std::size_t Ms3dWriter::addGroup(const std::string& name, int material)
{
    assert(mGroups.size() < 0xFF && "too many groups for the format");
    assert(material == NO_MATERIAL || (material >= 0 && static_cast<std::size_t>(material) < mMaterials.size()));
    mGroups.push_back(Group{name, {}, material});
    return mGroups.size() - 1;
}

int Ms3dWriter::addMaterial(const Material& material)
{
    assert(mMaterials.size() < 127 && "material index must fit a signed byte");
    mMaterials.push_back(material);
    return static_cast<int>(mMaterials.size() - 1);
}

std::vector<std::uint8_t> Ms3dWriter::toBytes() const
{
    std::vector<std::uint8_t> bytes;
    ByteSink out(bytes);

    out.text("MS3D000000", 11); // 10 characters; the 11th (zero) is dropped below
    bytes.pop_back();
    out.u32(static_cast<std::uint32_t>(mVersion));

    std::vector<std::uint8_t> references(mVertices.size(), 0);
    for (const Triangle& triangle : mTriangles) {
        for (const Corner& corner : triangle.corners) {
            if (references[corner.vertex] < 0xFF) {
                ++references[corner.vertex];
            }
        }
    }

    out.u16(static_cast<std::uint16_t>(mVertices.size()));
    for (std::size_t i = 0; i < mVertices.size(); ++i) {
        out.u8(0); // flags
        for (float coordinate : mVertices[i]) {
            out.f32(coordinate);
        }
        out.u8(0xFF); // bone id -1: not skinned
        out.u8(references[i]);
    }

    out.u16(static_cast<std::uint16_t>(mTriangles.size()));
    for (const Triangle& triangle : mTriangles) {
        out.u16(0); // flags
        for (const Corner& corner : triangle.corners) {
            out.u16(corner.vertex);
        }
        for (const Corner& corner : triangle.corners) {
            for (float component : corner.normal) {
                out.f32(component);
            }
        }
        for (const Corner& corner : triangle.corners) {
            out.f32(corner.s);
        }
        for (const Corner& corner : triangle.corners) {
            out.f32(corner.t);
        }
        out.u8(1); // smoothing group
        out.u8(triangle.group);
    }

    out.u16(static_cast<std::uint16_t>(mGroups.size()));
    for (const Group& group : mGroups) {
        out.u8(0); // flags
        out.text(group.name, 32);
        out.u16(static_cast<std::uint16_t>(group.triangles.size()));
        for (std::uint16_t triangle : group.triangles) {
            out.u16(triangle);
        }
        out.u8(group.material == NO_MATERIAL ? 0xFF : static_cast<std::uint8_t>(group.material));
    }

    out.u16(static_cast<std::uint16_t>(mMaterials.size()));
    for (const Material& material : mMaterials) {
        out.text(material.name, 32);
        out.rgba(material.ambient);
        out.rgba(material.diffuse);
        out.rgba(material.specular);
        out.rgba(material.emissive);
        out.f32(material.shininess);
        out.f32(material.transparency);
        out.u8(0); // mode
        out.text(material.texture, 128);
        out.text(material.alphaMap, 128);
    }

    // No animation: 24 frames a second, at frame 0 of 1, no joints.
    out.f32(24.0f);
    out.f32(0.0f);
    out.u32(1);
    out.u16(0);
    return bytes;
}

bool Ms3dWriter::writeFile(const std::string& path) const
{
    const std::vector<std::uint8_t> bytes = toBytes();
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    if (!file) {
        return false;
    }
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(file);
}

} // namespace VeltaTools
