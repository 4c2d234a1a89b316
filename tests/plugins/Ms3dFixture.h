#pragma once

#include "Ms3dWriter.h"
#include "plugins/DevILFixture.h"
#include "plugins/loader/ms3d/Ms3dObjectLoader.h"
#include "resource/ObjectManager.h"

namespace VeltaTest {

/// The image loader's fixture whose object manager also reads models, with
/// an MS3D loader, from the folder's "models" subfolder.
class Ms3dFixture : public DevILFixture {
protected:
    using Bytes = std::vector<unsigned char>;
    using Writer = VeltaTools::Ms3dWriter;

    void SetUp() override
    {
        DevILFixture::SetUp();
        objects().setObjectNameMapper(
            CppLib::SharedPtr<Velta::NameMapper>(new Velta::FileNameMapper(mFolder + "/models")));
        objects().registerObjectLoader(mModels);
    }

    static Velta::ObjectManager& objects() { return core().getResourceManager().getObjectManager(); }

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

    Velta::Ms3dObjectLoader mModels;  // outlives the core, as the plug-in's does
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
