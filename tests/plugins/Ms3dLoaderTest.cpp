#include "plugins/Ms3dFixture.h"

#include "geometry/GeometryData.h"
#include "geometry/GeometryGroup.h"
#include "geometry/GeometryManager.h"
#include "geometry/GeometryObject.h"
#include "geometry/GeometrySubobject.h"
#include "geometry/IndexElementData.h"
#include "geometry/VertexData.h"
#include "resource/Material.h"
#include "resource/ObjectFactory.h"
#include "resource/Texture2D.h"
#include "scene/BoundingBox.h"
#include "scene/TransformationNode.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

using CppLib::SharedPtr;
using Velta::GeometryObject;
using Lines = std::vector<std::string>;

namespace {

std::vector<unsigned int> indices(Velta::GeometryGroup& group)
{
    const auto& list = dynamic_cast<Velta::IndexElementData&>(*group.getElementList(0).get(0)).getIndexList();
    const auto* first = static_cast<const unsigned int*>(list.getIndexList());
    return std::vector<unsigned int>(first, first + list.getCount());
}

} // namespace

class Ms3dLoaderTest : public VeltaTest::Ms3dFixture {
protected:
    std::unique_ptr<GeometryObject> place(const std::string& name)
    {
        return std::unique_ptr<GeometryObject>(dynamic_cast<GeometryObject*>(objects().createObject(name)));
    }

    static Velta::GeometryData* geometryOf(const GeometryObject& object)
    {
        const auto* holder = dynamic_cast<const Velta::TransformationNode*>(object.getAttachedChild(0));
        Velta::GeometrySubobject* subobject = object.getSubobject(holder->getChild()->getNodeId());
        return dynamic_cast<Velta::GeometryData*>(subobject->getGeometry(0).get());
    }

    /// Refused with the loader's `line`, then the manager's.
    void expectRefused(const std::string& name, const std::string& line)
    {
        SCOPED_TRACE(name);
        EXPECT_EQ(objects().createObject(name), nullptr);
        EXPECT_EQ(logged(), (Lines{line, "Could not find an objectloader for " + name}));
    }

    /// The model file as on disk.
    std::string fileOf(const std::string& name) const { return mFolder + "/models/" + name; }
};

TEST_F(Ms3dLoaderTest, ModelsLoadOnceIntoObjectsSharingCornersGroupsAndMaterials)
{
    write("wood.png", VeltaTest::ImageFiles::png(2, 2, VeltaTest::ImageFiles::RGB, Bytes(12, 200)));
    for (int version : {3, 4}) {
        SCOPED_TRACE(version);
        const std::string name = "v" + std::to_string(version) + ".ms3d";
        write("models/" + name, pyramid(version));
        const std::unique_ptr<GeometryObject> object = place(name);
        std::filesystem::remove(mFolder + "/models/" + name);
        const std::unique_ptr<GeometryObject> again = place(name);
        ASSERT_TRUE(object && again) << "the second object comes from the kept factory, not the file";
        Velta::GeometryData& geometry = *geometryOf(*object);
        EXPECT_EQ(&geometry, geometryOf(*again));
        EXPECT_EQ(object->getDefaultMaterial(0), again->getDefaultMaterial(0));
        EXPECT_EQ(core().getResourceManager().getGeometryManager().getGeometry(name).get(), &geometry);

        // Every corner is a vertex of its own, in triangle order.
        const Velta::VertexData& vertices = *geometry.getIndexedData(0);
        ASSERT_EQ(vertices.getCount(), 12u);
        const auto* positions = static_cast<const float*>(vertices.getVertices());
        const auto* normals = static_cast<const float*>(vertices.getNormals());
        const auto* coordinates = static_cast<const float*>(vertices.getTexCoordinates(0));
        EXPECT_EQ(Velta::Point(positions[15], positions[16], positions[17]), Velta::Point(0.5f, 0.5f, 2));
        EXPECT_FLOAT_EQ(normals[13], -0.6f);
        EXPECT_FLOAT_EQ(normals[14], 0.8f);
        EXPECT_FLOAT_EQ(coordinates[10], 1.2f);
        EXPECT_FLOAT_EQ(coordinates[11], -2.0f) << "t as stored";
        const auto& bound = dynamic_cast<const Velta::BoundingBox&>(*geometry.getBoundingVolume());
        EXPECT_EQ(bound.getMax(), Velta::Point(1, 1, 2));

        auto& groups = geometry.getElementGroups();
        ASSERT_EQ(groups.getSize(), 3u);
        EXPECT_EQ(indices(*groups[0]), (std::vector<unsigned int>{0, 1, 2, 6, 7, 8}));
        EXPECT_EQ(indices(*groups[1]), (std::vector<unsigned int>{3, 4, 5}));
        EXPECT_EQ(groups[1]->getMaterialIndex(), 1u);
        EXPECT_EQ(groups[2]->getMaterialIndex(), ~0u) << "the byte 0xFF: no material";

        const SharedPtr<Velta::Material> wood = object->getDefaultMaterial(0);
        EXPECT_EQ(wood->getAmbientMaterialColor(), Velta::Color(0.1f, 0.2f, 0.3f, 1.0f));
        const auto texture = SharedPtr<Velta::Texture2D>::dynamicCast(wood->getTexture(0));
        ASSERT_FALSE(texture.isNull());
        EXPECT_EQ(texture->getTextureSource(0, 0), textures().getTextureSource("wood.png"));
        EXPECT_TRUE(texture->doGenerateMipMaps());
        EXPECT_EQ(texture->getMinFilter(), Velta::Texture::MIPMAP);
        EXPECT_TRUE(object->getDefaultMaterial(1)->getTexture(0).isNull());
        EXPECT_TRUE(object->getDefaultMaterial(2).isNull());
    }
    // Material 1 names no image: nothing is looked up, nothing logged.
    EXPECT_EQ(logged(), Lines());

    // Unloading drops the factory; objects keep what they share, and the
    // next request reads the file again.
    const std::unique_ptr<GeometryObject> kept = place("v4.ms3d");
    EXPECT_TRUE(objects().unloadObjectFactory("v4.ms3d"));
    EXPECT_FALSE(objects().isLoaded("v4.ms3d"));
    EXPECT_EQ(geometryOf(*kept)->getIndexedData(0)->getCount(), 12u);
    expectRefused("v4.ms3d", "Error loading ms3d file " + fileOf("v4.ms3d"));
}

TEST_F(Ms3dLoaderTest, BadModelsAreRefusedWithOneLineOnceAndBadImagesLeaveMaterialsBare)
{
    const std::string notAModel = "Error loading ms3d file: Not a valid Milkshape3D model file.";
    const std::string version =
        "Error loading ms3d file: Unhandled file version. Only Milkshape3D Version 1.3 and 1.4 is supported.";
    const Bytes good = pyramid();
    const VeltaTest::Ms3dLayout at(good);
    const auto put16 = [](Bytes& f, std::size_t offset, unsigned int value) {
        f.at(offset) = static_cast<unsigned char>(value);
        f.at(offset + 1) = static_cast<unsigned char>(value >> 8);
    };
    struct Damage {
        const char* problem;
        std::function<void(Bytes&)> change;
    };
    const Damage damages[] = {
        {"the file ends inside the header", [](Bytes& f) { f.resize(12); }},
        {"the file ends inside the triangle block", [&](Bytes& f) { f.resize(at.triangles + 100); }},
        {"the file ends inside the vertex block", [&](Bytes& f) { put16(f, at.vertexCount, 600); }},
        {"the file ends inside the triangle block", [&](Bytes& f) { put16(f, at.triangles - 2, 0xFFFF); }},
        {"the file ends inside the group block", [&](Bytes& f) { put16(f, at.groupCount, 40); }},
        {"the file ends inside the group block", [&](Bytes& f) { put16(f, at.groupTriangleCounts[2], 0x7FFF); }},
        {"the file ends inside the material block", [&](Bytes& f) { put16(f, at.materialCount, 3); }},
        {"triangle 3 uses vertex 5 of 5", [&](Bytes& f) { put16(f, at.triangles + 3 * 70 + 6, 5); }},
        {"group 1 uses triangle 4 of 4", [&](Bytes& f) { put16(f, at.groupTriangleCounts[1] + 2, 4); }},
        {"group 0 uses material 2 of 2", [&](Bytes& f) { f.at(at.groupMaterials[0]) = 2; }},
        {"group 1 uses material -2 of 2", [&](Bytes& f) { f.at(at.groupMaterials[1]) = 0xFE; }},
        {"the texture name of material 0 has no end",
         [&](Bytes& f) { std::fill_n(f.begin() + static_cast<long>(at.materials + 105), 128, 'x'); }},
    };
    int number = 0;
    for (const Damage& damage : damages) {
        const std::string name = "damaged" + std::to_string(++number) + ".ms3d";
        Bytes file = good;
        damage.change(file);
        write("models/" + name, file);
        expectRefused(name, "Error loading ms3d file " + fileOf(name) + ": " + damage.problem);
    }
    write("models/empty.ms3d", {});
    write("models/foreign.ms3d", VeltaTest::ImageFiles::png(1, 1, VeltaTest::ImageFiles::GREY, Bytes(1, 0)));
    write("models/two.ms3d", pyramid(2));
    write("models/five.ms3d", pyramid(5));
    expectRefused("missing.ms3d", "Error loading ms3d file " + fileOf("missing.ms3d"));
    expectRefused("empty.ms3d", notAModel);
    expectRefused("foreign.ms3d", notAModel);
    expectRefused("two.ms3d", version);
    expectRefused("five.ms3d", version);

    // A failed name is neither read nor reported again, until it is unloaded.
    write("models/missing.ms3d", good);
    EXPECT_EQ(objects().createObject("missing.ms3d"), nullptr);
    EXPECT_EQ(objects().createObject("two.ms3d"), nullptr);
    EXPECT_EQ(logged(), Lines());
    objects().unloadObjectFactory("missing.ms3d");
    // wood.png is missing: the image loader's line, and an untextured material.
    const std::unique_ptr<GeometryObject> bare = place("missing.ms3d");
    ASSERT_NE(bare, nullptr);
    EXPECT_TRUE(bare->getDefaultMaterial(0)->getTexture(0).isNull());
    ASSERT_EQ(logged().size(), 1u);

    // What follows the material block is not read; the extension decides,
    // case and all.
    write("models/short.ms3d", Bytes(good.begin(), good.begin() + static_cast<long>(at.end)));
    write("models/upper.MS3D", good);
    EXPECT_NE(place("short.ms3d"), nullptr);
    EXPECT_EQ(objects().createObject("upper.MS3D"), nullptr);
    EXPECT_EQ(logged(), (Lines{"Could not find an objectloader for upper.MS3D"}));
}

namespace {

class UnstartableLoader : public Velta::ObjectLoader {
public:
    bool isInitialized() const override { return false; }
    bool initialize() override { return false; }
    bool shutdown() override { return true; }
    bool canLoad(const Velta::NameMapper::ResourceInfo&) const override { return true; }
    SharedPtr<Velta::ObjectFactory> load(const Velta::NameMapper::ResourceInfo&) override { return {}; }
};

} // namespace

TEST_F(Ms3dLoaderTest, ALoaderThatCannotStartIsNotRegistered)
{
    UnstartableLoader loader;
    EXPECT_EQ(objects().registerObjectLoader(loader), 0u);
    EXPECT_EQ(objects().getObjectLoaders().getSize(), 1u);
}
