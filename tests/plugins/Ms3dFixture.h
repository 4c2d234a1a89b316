#pragma once

#include "Ms3dWriter.h"
#include "plugins/ImageFiles.h"
#include "plugins/loader/devil/DevILTextureSourceLoader.h"
#include "plugins/loader/ms3d/Ms3dObjectLoader.h"
#include "resource/FileNameMapper.h"
#include "resource/ObjectManager.h"
#include "resource/ResourceManager.h"
#include "resource/TextureManager.h"
#include "support/CoreFixture.h"

#include <filesystem>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace VeltaTest {

/// A started core whose object manager reads models with an MS3D loader from
/// <fresh folder>/models and whose texture manager reads images from
/// <fresh folder>/textures; the log on standard error is captured.
class Ms3dFixture : public CoreFixture {
protected:
    using Bytes = std::vector<unsigned char>;
    using Writer = VeltaTools::Ms3dWriter;

    void SetUp() override
    {
        CoreFixture::SetUp();
        mFolder = std::filesystem::temp_directory_path()
            / ("velta-models-" + std::to_string(getpid()) + "-"
               + testing::UnitTest::GetInstance()->current_test_info()->name());
        for (const char* folder : {"models", "textures"}) {
            std::filesystem::create_directories(mFolder / folder);
        }
        objects().setObjectNameMapper(mapper("models"));
        textures().setTextureSourceNameMapper(mapper("textures"));
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

    CppLib::SharedPtr<Velta::NameMapper> mapper(const char* folder) const
    {
        return CppLib::SharedPtr<Velta::NameMapper>(new Velta::FileNameMapper((mFolder / folder).string()));
    }
    static Velta::ObjectManager& objects() { return core().getResourceManager().getObjectManager(); }
    static Velta::TextureManager& textures() { return core().getResourceManager().getTextureManager(); }

    /// Writes `relative` ("models/a.ms3d") into the folder.
    void write(const std::string& relative, const Bytes& bytes) const
    {
        ImageFiles::write((mFolder / relative).string(), bytes);
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

    /// Five vertices in four triangles over three groups: "floor" (triangles
    /// 0 and 2) with material 0, textured by "wood.png"; "side" (triangle 1)
    /// with the untextured material 1 and normals (0, -3, 4); "tip"
    /// (triangle 3) with none. Corner k of triangle i has s = i + k / 10 and
    /// t = -k.
    static Bytes pyramid(int version = 4)
    {
        Writer model(version);
        for (const Writer::Vec3& p : {Writer::Vec3{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}, {0.5f, 0.5f, 2}}) {
            model.addVertex(p);
        }
        Writer::Material wood;
        wood.ambient = {0.1f, 0.2f, 0.3f, 1.0f};
        wood.texture = "wood.png";
        const std::size_t floor = model.addGroup("floor", model.addMaterial(wood));
        const std::size_t side = model.addGroup("side", model.addMaterial(Writer::Material()));
        const std::size_t tip = model.addGroup("tip", Writer::NO_MATERIAL);
        const std::size_t groups[4] = {floor, side, floor, tip};
        const std::uint16_t corners[4][3] = {{0, 1, 2}, {0, 1, 4}, {0, 2, 3}, {2, 3, 4}};
        for (int i = 0; i < 4; ++i) {
            Writer::Corner c[3];
            for (int k = 0; k < 3; ++k) {
                c[k].vertex = corners[i][k];
                c[k].normal = i == 1 ? Writer::Vec3{0, -3, 4} : Writer::Vec3{0, 0, 1};
                c[k].s = static_cast<float>(i) + static_cast<float>(k) / 10;
                c[k].t = -static_cast<float>(k);
            }
            model.addTriangle(groups[i], c[0], c[1], c[2]);
        }
        return model.toBytes();
    }

    std::filesystem::path mFolder;
    // Both outlive the core, as the plug-ins' do.
    Velta::Ms3dObjectLoader mLoader;
    Velta::DevILTextureSourceLoader mImages;
};

/// Where the blocks of a well-formed model file lie (byte offsets).
struct Ms3dLayout {
    explicit Ms3dLayout(const std::vector<unsigned char>& file)
    {
        const auto u16 = [&file](std::size_t at) { return std::size_t(file.at(at) | (file.at(at + 1) << 8)); };
        triangles = vertexCount + 2 + u16(vertexCount) * 15 + 2;
        groupCount = triangles + u16(triangles - 2) * 70;
        std::size_t at = groupCount + 2;
        for (std::size_t g = 0; g < u16(groupCount); ++g) {
            groupTriangleCounts.push_back(at + 33);
            at += 35 + u16(at + 33) * 2 + 1;
            groupMaterials.push_back(at - 1);
        }
        materialCount = at;
        materials = at + 2;
        end = materials + u16(materialCount) * 361;
    }

    std::vector<std::size_t> counts() const
    {
        std::vector<std::size_t> all{vertexCount, triangles - 2, groupCount, materialCount};
        all.insert(all.end(), groupTriangleCounts.begin(), groupTriangleCounts.end());
        return all;
    }

    std::size_t vertexCount = 14, triangles, groupCount, materialCount, materials;
    std::vector<std::size_t> groupTriangleCounts, groupMaterials;
    /// Just past the material block, after which nothing is read.
    std::size_t end;
};

} // namespace VeltaTest
