#include "Ms3dWriter.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

using VeltaTools::Ms3dWriter;

namespace {

template <typename T> T get(const std::vector<std::uint8_t>& b, std::size_t at)
{
    T value{};
    static_cast<void>(b.at(at + sizeof(T) - 1)); // throws when the field runs past the end
    std::memcpy(&value, &b[at], sizeof(T));
    return value;
}

std::uint16_t u16(const std::vector<std::uint8_t>& b, std::size_t at) { return get<std::uint16_t>(b, at); }
std::int32_t i32(const std::vector<std::uint8_t>& b, std::size_t at) { return get<std::int32_t>(b, at); }
float f32(const std::vector<std::uint8_t>& b, std::size_t at) { return get<float>(b, at); }

std::string text(const std::vector<std::uint8_t>& b, std::size_t at, std::size_t size)
{
    std::string value(reinterpret_cast<const char*>(&b.at(at)), size);
    return value.substr(0, value.find('\0'));
}

Ms3dWriter::Corner corner(std::uint16_t vertex, float s, float t)
{
    Ms3dWriter::Corner c;
    c.vertex = vertex;
    c.normal = {0.0f, 0.0f, 1.0f};
    c.s = s;
    c.t = t;
    return c;
}

/// A quad of two triangles in a textured group plus one triangle in a group
/// without material.
Ms3dWriter quadModel(std::int32_t version)
{
    Ms3dWriter writer(version);
    Ms3dWriter::Material material;
    material.name = "skin";
    material.diffuse = {0.5f, 0.25f, 1.0f, 1.0f};
    material.texture = "mallardskin.png";
    const int skin = writer.addMaterial(material);
    for (const auto& p : {Ms3dWriter::Vec3{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}}) {
        writer.addVertex(p);
    }
    const std::size_t quad = writer.addGroup("quad", skin);
    const std::size_t bare = writer.addGroup("bare");
    writer.addTriangle(quad, corner(0, 0, 1), corner(1, 1, 1), corner(2, 1, 0));
    writer.addTriangle(quad, corner(0, 0, 1), corner(2, 1, 0), corner(3, 0, 0));
    writer.addTriangle(bare, corner(1, 0, 0), corner(2, 0, 0), corner(3, 0, 0));
    return writer;
}

} // namespace

TEST(Ms3dWriter, WritesTheBlocksWithTheirRecordSizesAndCounts)
{
    const std::vector<std::uint8_t> b = quadModel(4).toBytes();

    EXPECT_EQ(std::string(reinterpret_cast<const char*>(b.data()), 10), "MS3D000000");
    EXPECT_EQ(i32(b, 10), 4);

    std::size_t at = 14;
    ASSERT_EQ(u16(b, at), 4);
    at += 2;
    EXPECT_EQ(b[at], 0);                 // flags
    EXPECT_FLOAT_EQ(f32(b, at + 1 + 15), 1.0f); // x of the second vertex
    EXPECT_EQ(static_cast<std::int8_t>(b[at + 13]), -1); // not bound to a bone
    EXPECT_EQ(b[at + 14], 2);            // vertex 0 is used by two triangles
    at += 4 * 15;

    ASSERT_EQ(u16(b, at), 3);
    at += 2;
    const std::size_t second = at + 70;
    EXPECT_EQ(u16(b, second + 2), 0);
    EXPECT_EQ(u16(b, second + 4), 2);
    EXPECT_EQ(u16(b, second + 6), 3);
    EXPECT_FLOAT_EQ(f32(b, second + 8 + 8), 1.0f);  // z of the first corner's normal
    EXPECT_FLOAT_EQ(f32(b, second + 44 + 4), 1.0f); // s of the second corner
    EXPECT_FLOAT_EQ(f32(b, second + 56 + 8), 0.0f); // t of the third corner
    EXPECT_EQ(b[second + 69], 0);                   // group of the triangle
    EXPECT_EQ(b[at + 2 * 70 + 69], 1);
    at += 3 * 70;

    ASSERT_EQ(u16(b, at), 2);
    at += 2;
    EXPECT_EQ(text(b, at + 1, 32), "quad");
    ASSERT_EQ(u16(b, at + 33), 2);
    EXPECT_EQ(u16(b, at + 35), 0);
    EXPECT_EQ(u16(b, at + 37), 1);
    EXPECT_EQ(b[at + 39], 0); // material 0
    at += 1 + 32 + 2 + 2 * 2 + 1;
    EXPECT_EQ(text(b, at + 1, 32), "bare");
    ASSERT_EQ(u16(b, at + 33), 1);
    EXPECT_EQ(u16(b, at + 35), 2);
    EXPECT_EQ(b[at + 37], 0xFF); // no material
    at += 1 + 32 + 2 + 2 + 1;

    ASSERT_EQ(u16(b, at), 1);
    at += 2;
    EXPECT_EQ(text(b, at, 32), "skin");
    EXPECT_FLOAT_EQ(f32(b, at + 48 + 4), 0.25f); // diffuse green
    EXPECT_EQ(text(b, at + 105, 128), "mallardskin.png");
    EXPECT_EQ(text(b, at + 233, 128), "");
    at += 361;

    // An empty animation block ends the file: frame rate, time, frames, joints.
    EXPECT_EQ(b.size(), at + 4 + 4 + 4 + 2);
    EXPECT_EQ(u16(b, at + 12), 0);

    // Other versions are written as asked, so tests can build files to reject.
    EXPECT_EQ(i32(quadModel(3).toBytes(), 10), 3);
    EXPECT_EQ(i32(quadModel(5).toBytes(), 10), 5);
}

TEST(Ms3dWriter, CutsLongNamesSoEveryFieldStaysTerminated)
{
    Ms3dWriter writer;
    Ms3dWriter::Material material;
    material.name = std::string(40, 'm');
    material.texture = std::string(200, 't');
    writer.addMaterial(material);
    writer.addVertex({0, 0, 0});
    writer.addGroup(std::string(50, 'g'), 0);
    const std::vector<std::uint8_t> b = writer.toBytes();

    const std::size_t group = 14 + 2 + 15 + 2 + 2;
    EXPECT_EQ(text(b, group + 1, 32), std::string(31, 'g'));
    EXPECT_EQ(b[group + 1 + 31], 0);
    const std::size_t material0 = group + 1 + 32 + 2 + 1 + 2;
    EXPECT_EQ(text(b, material0, 32), std::string(31, 'm'));
    EXPECT_EQ(text(b, material0 + 105, 128), std::string(127, 't'));
    EXPECT_EQ(b[material0 + 105 + 127], 0);
}
