#include "ContentGenerator.h"
#include "Course.h"
#include "ImageFile.h"

#include "plugins/loader/ms3d/Ms3dModel.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include <unistd.h>

using namespace VeltaTools;

namespace {

using V3 = std::array<float, 3>;

/// What the tests need of a model file, as the engine reads it: triangles
/// (positions and corner normals) and the texture names of the materials.
struct Model {
    std::vector<std::array<V3, 3>> positions;
    std::vector<std::array<V3, 3>> normals;
    std::vector<std::string> textures;
    V3 low{1e9f, 1e9f, 1e9f}, high{-1e9f, -1e9f, -1e9f};
};

Model parse(const std::vector<std::uint8_t>& bytes)
{
    Velta::Ms3dModel file;
    std::string problem;
    EXPECT_EQ(file.read(bytes.data(), bytes.size(), problem), Velta::Ms3dModel::OK) << problem;
    Model model;
    for (const Velta::Ms3dModel::Triangle& triangle : file.getTriangles()) {
        std::array<V3, 3> p{}, n{};
        for (int k = 0; k < 3; ++k) {
            for (int i = 0; i < 3; ++i) {
                p[k][i] = file.getPositions().at(triangle.vertices[k] * 3u + i);
                n[k][i] = triangle.normals[k][i];
                model.low[i] = std::min(model.low[i], p[k][i]);
                model.high[i] = std::max(model.high[i], p[k][i]);
            }
        }
        model.positions.push_back(p);
        model.normals.push_back(n);
    }
    for (const Velta::Ms3dModel::Material& material : file.getMaterials()) {
        model.textures.push_back(material.texture);
    }
    return model;
}

V3 faceNormal(const std::array<V3, 3>& p)
{
    const V3 a{p[1][0] - p[0][0], p[1][1] - p[0][1], p[1][2] - p[0][2]};
    const V3 c{p[2][0] - p[0][0], p[2][1] - p[0][1], p[2][2] - p[0][2]};
    return {a[1] * c[2] - a[2] * c[1], a[2] * c[0] - a[0] * c[2], a[0] * c[1] - a[1] * c[0]};
}

float dot(const V3& a, const V3& b)
{
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}

class ModelsTest : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        // One directory per process: ctest runs each test in its own process,
        // several at a time.
        sRoot = testing::TempDir() + "content_models_" + std::to_string(getpid());
        std::filesystem::remove_all(sRoot);
        Output output(sRoot);
        generateModels(output);
        ASSERT_TRUE(output.isOk());
        for (const Output::Entry& entry : output.getEntries()) {
            if (entry.path.rfind("models/", 0) == 0) {
                sModels.push_back(entry.path.substr(7));
            }
        }
    }
    static void TearDownTestSuite() { std::filesystem::remove_all(sRoot); }

    static Model load(const std::string& name) { return parse(readFileBytes(sRoot + "/models/" + name)); }

    static std::string sRoot;
    static std::vector<std::string> sModels;
};

std::string ModelsTest::sRoot;
std::vector<std::string> ModelsTest::sModels;

} // namespace

TEST_F(ModelsTest, TrianglesFaceTheWayTheirNormalsPointAndHaveTextures)
{
    for (const std::string& name : sModels) {
        SCOPED_TRACE(name);
        const Model model = load(name);
        ASSERT_FALSE(model.positions.empty());
        std::size_t disagreeing = 0;
        for (std::size_t t = 0; t < model.positions.size(); ++t) {
            const V3 face = faceNormal(model.positions[t]);
            for (const V3& corner : model.normals[t]) {
                EXPECT_NEAR(std::sqrt(dot(corner, corner)), 1.0f, 1e-3f);
                disagreeing += dot(face, corner) < 0.0f;
            }
        }
        // Smooth normals may lean past a thin triangle's plane now and then.
        EXPECT_LE(disagreeing, model.positions.size() * 3 / 50);
        // That the files exist shows in loading every model without a log line.
        EXPECT_FALSE(model.textures.empty());
    }
}

TEST_F(ModelsTest, SkyIsSeenFromInsideAndTheCourseTurnsItUpright)
{
    const Model sky = load("sky.ms3d");
    for (std::size_t t = 0; t < sky.positions.size(); ++t) {
        const auto& p = sky.positions[t];
        const V3 centre{(p[0][0] + p[1][0] + p[2][0]) / 3, (p[0][1] + p[1][1] + p[2][1]) / 3,
                        (p[0][2] + p[1][2] + p[2][2]) / 3};
        ASSERT_LT(dot(faceNormal(p), centre), 0.0f) << "triangle " << t << " faces away from the centre";
    }
    // Half a turn about x puts the dome's top at +y: in the file it hangs below.
    EXPECT_NEAR(sky.low[1], -1.0f, 1e-3f);
    EXPECT_LT(sky.high[1], 0.5f);
}

TEST_F(ModelsTest, DucksFaceForwardAndFloatAtTheirWaterline)
{
    for (const char* name : {"mallard.ms3d", "rallye.ms3d", "rallye2.ms3d", "meister.ms3d", "velta.ms3d"}) {
        SCOPED_TRACE(name);
        const Model duck = load(name);
        // The beak is the most forward part: the duck swims along +z.
        float beakZ = -1e9f, tailZ = 1e9f;
        float beakY = 0;
        for (const auto& triangle : duck.positions) {
            for (const V3& p : triangle) {
                if (p[2] > beakZ) {
                    beakZ = p[2];
                    beakY = p[1];
                }
                tailZ = std::min(tailZ, p[2]);
            }
        }
        EXPECT_GT(beakZ, 0.5f);
        EXPECT_GT(beakY, 0.2f); // the head, not the chest, is in front
        EXPECT_NEAR(beakZ - tailZ, 1.3f, 0.2f);
        // The hull settles with its origin about 0.07 above the water: the
        // keel lies below the surface, the back above it.
        EXPECT_LT(duck.low[1], -0.15f);
        EXPECT_GT(duck.low[1], -0.4f);
        EXPECT_NEAR(duck.high[0], -duck.low[0], 1e-3f); // symmetric
    }
}

TEST_F(ModelsTest, BannersSpanTheRiverHighEnoughToPassUnder)
{
    const auto quads = Course::waterQuads();
    for (const Course::Prop& prop : Course::props()) {
        if (prop.model != "banner.ms3d" && prop.model != "finishbanner.ms3d") {
            continue;
        }
        SCOPED_TRACE(prop.model);
        const Model banner = load(prop.model);
        const float left = prop.position.x + banner.low[0] * prop.scaleX;
        const float right = prop.position.x + banner.high[0] * prop.scaleX;
        // The water across the banner's line.
        float waterLeft = 1e9f, waterRight = -1e9f;
        for (float x = prop.position.x - 60; x <= prop.position.x + 60; x += 0.25f) {
            for (const auto& quad : quads) {
                if (quad.contains(x, prop.position.z)) {
                    waterLeft = std::min(waterLeft, x);
                    waterRight = std::max(waterRight, x);
                }
            }
        }
        ASSERT_LT(waterLeft, waterRight);
        EXPECT_LE(left, waterLeft + 1.0f);
        EXPECT_GE(right, waterRight - 1.0f);
        // The cloth's lower edge (the lowest point above the post tops' half)
        // leaves room for a duck on the water.
        float clothBottom = 1e9f;
        for (const auto& triangle : banner.positions) {
            for (const V3& p : triangle) {
                if (std::abs(p[0]) < 1.0f) {
                    clothBottom = std::min(clothBottom, p[1]);
                }
            }
        }
        EXPECT_GT(prop.position.y + clothBottom * prop.scaleY, prop.position.y + 2.0f);
    }
}
