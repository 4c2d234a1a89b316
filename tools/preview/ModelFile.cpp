#include "ModelFile.h"

#include "ImageFile.h"

#include <cstring>

namespace VeltaTools {

namespace {

class Reader {
public:
    explicit Reader(const std::vector<std::uint8_t>& bytes) : mBytes(bytes) {}

    bool has(std::size_t count) const { return mPos + count <= mBytes.size(); }
    std::uint8_t u8() { return mBytes[mPos++]; }
    std::uint16_t u16()
    {
        const std::uint16_t value = static_cast<std::uint16_t>(mBytes[mPos] | (mBytes[mPos + 1] << 8));
        mPos += 2;
        return value;
    }
    float f32()
    {
        std::uint32_t bits = 0;
        for (int i = 0; i < 4; ++i) {
            bits |= static_cast<std::uint32_t>(mBytes[mPos + i]) << (8 * i);
        }
        mPos += 4;
        float value = 0.0f;
        std::memcpy(&value, &bits, sizeof value);
        return value;
    }
    std::string text(std::size_t size)
    {
        std::string value(reinterpret_cast<const char*>(&mBytes[mPos]), size);
        mPos += size;
        return value.substr(0, value.find('\0'));
    }
    void skip(std::size_t count) { mPos += count; }

private:
    const std::vector<std::uint8_t>& mBytes;
    std::size_t mPos = 0;
};

} // namespace

bool readModelFile(const std::string& path, ModelFile& model)
{
    const std::vector<std::uint8_t> bytes = readFileBytes(path);
    Reader in(bytes);
    if (!in.has(16) || std::memcmp(bytes.data(), "MS3D000000", 10) != 0) {
        return false;
    }
    in.skip(14);
    const std::uint16_t vertexCount = in.u16();
    if (!in.has(vertexCount * 15u + 2)) {
        return false;
    }
    std::vector<Vec3f> positions(vertexCount);
    for (auto& p : positions) {
        in.skip(1);
        p = {in.f32(), in.f32(), in.f32()};
        in.skip(2);
    }
    const std::uint16_t triangleCount = in.u16();
    if (!in.has(triangleCount * 70u + 2)) {
        return false;
    }
    model.triangles.assign(triangleCount, {});
    std::vector<std::uint8_t> groupOf(triangleCount, 0);
    for (std::size_t i = 0; i < triangleCount; ++i) {
        ModelFile::Triangle& triangle = model.triangles[i];
        in.skip(2);
        std::uint16_t index[3] = {in.u16(), in.u16(), in.u16()};
        for (int k = 0; k < 3; ++k) {
            triangle.corners[k].position = index[k] < vertexCount ? positions[index[k]] : Vec3f{0, 0, 0};
        }
        for (auto& corner : triangle.corners) {
            corner.normal = {in.f32(), in.f32(), in.f32()};
        }
        for (auto& corner : triangle.corners) {
            corner.s = in.f32();
        }
        for (auto& corner : triangle.corners) {
            corner.t = in.f32();
        }
        in.skip(1);
        groupOf[i] = in.u8();
    }
    const std::uint16_t groupCount = in.u16();
    std::vector<int> groupMaterial(groupCount, -1);
    for (auto& material : groupMaterial) {
        if (!in.has(35)) {
            return false;
        }
        in.skip(33);
        const std::uint16_t count = in.u16();
        if (!in.has(count * 2u + 1)) {
            return false;
        }
        in.skip(count * 2u);
        material = static_cast<std::int8_t>(in.u8());
    }
    if (!in.has(2)) {
        return false;
    }
    const std::uint16_t materialCount = in.u16();
    std::vector<std::string> textures(materialCount);
    std::vector<Rgba> diffuse(materialCount);
    for (std::size_t m = 0; m < materialCount; ++m) {
        if (!in.has(361)) {
            return false;
        }
        in.skip(32 + 16);
        diffuse[m] = {in.f32(), in.f32(), in.f32(), in.f32()};
        in.skip(16 + 16 + 4 + 4 + 1);
        textures[m] = in.text(128);
        in.skip(128);
    }
    for (std::size_t i = 0; i < triangleCount; ++i) {
        const int group = groupOf[i];
        const int material = group < groupCount ? groupMaterial[group] : -1;
        if (material >= 0 && material < materialCount) {
            model.triangles[i].texture = textures[material];
            model.triangles[i].diffuse = diffuse[material];
        }
    }
    return true;
}

} // namespace VeltaTools
