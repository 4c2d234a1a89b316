#pragma once

#include "Ms3dWriter.h"
#include "plugins/ImageFiles.h"
#include "plugins/loader/devil/DevILTextureSourceLoader.h"
#include "plugins/loader/ms3d/Ms3dObjectLoader.h"
#include "resource/FileNameMapper.h"
#include "resource/ObjectManager.h"
#include "resource/ResourceFile.h"
#include "resource/ResourceManager.h"
#include "resource/TextureManager.h"
#include "support/CoreFixture.h"

#include <filesystem>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace VeltaTest {

/// A started core whose object manager reads models with an MS3D loader
/// from the models folder of a fresh directory of its own, and whose
/// texture manager reads images from its textures folder; the log on
/// standard error is captured.
class Ms3dFixture : public CoreFixture {
protected:
    using Bytes = std::vector<unsigned char>;

    void SetUp() override
    {
        CoreFixture::SetUp();
        mFolder = std::filesystem::temp_directory_path()
            / ("velta-models-" + std::to_string(getpid()) + "-"
               + testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(mFolder / "models");
        std::filesystem::create_directories(mFolder / "textures");
        objects().setObjectNameMapper(
            CppLib::SharedPtr<Velta::NameMapper>(new Velta::FileNameMapper((mFolder / "models").string())));
        textures().setTextureSourceNameMapper(
            CppLib::SharedPtr<Velta::NameMapper>(new Velta::FileNameMapper((mFolder / "textures").string())));
        objects().registerObjectLoader(mLoader);
        textures().registerTextureSourceLoader(mImages);
        testing::internal::CaptureStderr();
    }

    void TearDown() override
    {
        testing::internal::GetCapturedStderr();
        CoreFixture::TearDown();
        std::filesystem::remove_all(mFolder);
    }

    static Velta::ObjectManager& objects() { return core().getResourceManager().getObjectManager(); }
    static Velta::TextureManager& textures() { return core().getResourceManager().getTextureManager(); }

    void writeModel(const std::string& name, const Bytes& bytes) const
    {
        ImageFiles::write((mFolder / "models" / name).string(), bytes);
    }
    void writeImage(const std::string& name, const Bytes& bytes) const
    {
        ImageFiles::write((mFolder / "textures" / name).string(), bytes);
    }

    /// What the object manager would open for the model `name`.
    Velta::NameMapper::ResourceInfo modelFile(const std::string& name) const
    {
        return objects().getObjectNameMapper()->map(name);
    }

    /// The lines logged since the last call.
    std::vector<std::string> logged()
    {
        std::istringstream text(testing::internal::GetCapturedStderr());
        testing::internal::CaptureStderr();
        std::vector<std::string> lines;
        for (std::string line; std::getline(text, line);) {
            lines.push_back(line);
        }
        return lines;
    }

    std::filesystem::path mFolder;
    // Both outlive the core, as the plug-ins' do.
    Velta::Ms3dObjectLoader mLoader;
    Velta::DevILTextureSourceLoader mImages;
};

/// Model files for the tests, written with the content tools' writer.
struct Ms3dSamples {
    using Writer = VeltaTools::Ms3dWriter;

    /// A pyramid of five vertices in four triangles over three groups: "floor"
    /// (triangles 0 and 2) with the textured material 0 ("wood.png"), "side"
    /// (triangle 1) with the untextured material 1, "tip" (triangle 3) with no
    /// material. Corner c of triangle t has s = t + c / 10 and t = -c, and
    /// side's normals are (0, -3, 4) before normalising.
    static Writer pyramid(int version = 4)
    {
        Writer model(version);
        for (const Writer::Vec3& p : {Writer::Vec3{0, 0, 0}, Writer::Vec3{1, 0, 0}, Writer::Vec3{1, 1, 0},
                                      Writer::Vec3{0, 1, 0}, Writer::Vec3{0.5f, 0.5f, 2}}) {
            model.addVertex(p);
        }
        Writer::Material wood;
        wood.ambient = {0.1f, 0.2f, 0.3f, 1.0f};
        wood.diffuse = {0.4f, 0.5f, 0.6f, 1.0f};
        wood.specular = {0.7f, 0.8f, 0.9f, 1.0f};
        wood.texture = "wood.png";
        const int textured = model.addMaterial(wood);
        const int plain = model.addMaterial(Writer::Material());
        const std::size_t floor = model.addGroup("floor", textured);
        const std::size_t side = model.addGroup("side", plain);
        const std::size_t tip = model.addGroup("tip", Writer::NO_MATERIAL);
        triangle(model, floor, 0, 1, 2, {0, 0, 1});
        triangle(model, side, 0, 1, 4, {0, -3, 4});
        triangle(model, floor, 0, 2, 3, {0, 0, 1});
        triangle(model, tip, 2, 3, 4, {0, 1, 0});
        return model;
    }

    static void triangle(Writer& model, std::size_t group, std::uint16_t a, std::uint16_t b, std::uint16_t c,
                         const Writer::Vec3& normal)
    {
        const float t = static_cast<float>(model.getTriangleCount());
        Writer::Corner corners[3];
        const std::uint16_t vertices[3] = {a, b, c};
        for (int k = 0; k < 3; ++k) {
            corners[k].vertex = vertices[k];
            corners[k].normal = normal;
            corners[k].s = t + k / 10.0f;
            corners[k].t = -static_cast<float>(k);
        }
        model.addTriangle(group, corners[0], corners[1], corners[2]);
    }
};

/// Where the blocks of a well-formed model file lie (byte offsets).
struct Ms3dLayout {
    explicit Ms3dLayout(const std::vector<unsigned char>& file)
    {
        const auto u16 = [&file](std::size_t at) { return static_cast<std::size_t>(file.at(at) | (file.at(at + 1) << 8)); };
        vertexCount = 14;
        triangleCount = vertexCount + 2 + u16(vertexCount) * 15;
        triangles = triangleCount + 2;
        groupCount = triangles + u16(triangleCount) * 70;
        std::size_t at = groupCount + 2;
        for (std::size_t g = 0; g < u16(groupCount); ++g) {
            groupTriangleCounts.push_back(at + 33);
            groupMaterials.push_back(at + 35 + u16(at + 33) * 2);
            at = groupMaterials.back() + 1;
        }
        materialCount = at;
        materials = at + 2;
        end = materials + u16(materialCount) * 361;
    }

    /// The offsets of every count in the file.
    std::vector<std::size_t> counts() const
    {
        std::vector<std::size_t> all{vertexCount, triangleCount, groupCount, materialCount};
        all.insert(all.end(), groupTriangleCounts.begin(), groupTriangleCounts.end());
        return all;
    }

    std::size_t vertexCount, triangleCount, triangles, groupCount, materialCount, materials;
    std::vector<std::size_t> groupTriangleCounts, groupMaterials;
    /// Just past the material block: the loader reads nothing after it.
    std::size_t end;
};

} // namespace VeltaTest
