#include "plugins/Ms3dFixture.h"

#include "core/PluginManager.h"
#include "geometry/GeometryData.h"
#include "geometry/GeometryDataGroup.h"
#include "geometry/GeometryManager.h"
#include "geometry/GeometryObject.h"
#include "geometry/GeometrySubobject.h"
#include "geometry/IndexElementData.h"
#include "geometry/VertexData.h"
#include "plugins/loader/ms3d/Ms3dPlugin.h"
#include "resource/Material.h"
#include "resource/ObjectFactory.h"
#include "resource/Texture2D.h"
#include "scene/BoundingBox.h"
#include "scene/TransformationNode.h"

#include <gtest/gtest.h>

#include <memory>

using CppLib::SharedPtr;
using Velta::GeometryObject;
using VeltaTest::Ms3dLayout;
using VeltaTest::Ms3dSamples;

namespace {

const unsigned int NO_MATERIAL = ~0u;

std::vector<unsigned int> indices(const Velta::GeometryGroup& group)
{
    const auto* element = dynamic_cast<const Velta::IndexElementData*>(
        const_cast<Velta::GeometryGroup&>(group).getElementList(0).get(0));
    if (!element) {
        return {};
    }
    const auto* list = static_cast<const unsigned int*>(element->getIndexList().getIndexList());
    return std::vector<unsigned int>(list, list + element->getIndexList().getCount());
}

void put16(std::vector<unsigned char>& file, std::size_t at, unsigned int value)
{
    file.at(at) = static_cast<unsigned char>(value & 0xFF);
    file.at(at + 1) = static_cast<unsigned char>(value >> 8);
}

} // namespace

class Ms3dLoaderTest : public VeltaTest::Ms3dFixture {
protected:
    void SetUp() override
    {
        Ms3dFixture::SetUp();
        writeImage("wood.png", VeltaTest::ImageFiles::png(2, 2, VeltaTest::ImageFiles::RGB, Bytes(12, 200)));
    }

    /// A new object of the model, owned by the test.
    std::unique_ptr<GeometryObject> place(const std::string& name)
    {
        return std::unique_ptr<GeometryObject>(dynamic_cast<GeometryObject*>(objects().createObject(name)));
    }

    static const Velta::GeometryData* geometryOf(const GeometryObject& object)
    {
        const auto* holder = dynamic_cast<const Velta::TransformationNode*>(object.getAttachedChild(0));
        const Velta::GeometrySubobject* subobject =
            holder && holder->getChild() ? object.getSubobject(holder->getChild()->getNodeId()) : nullptr;
        return subobject ? dynamic_cast<const Velta::GeometryData*>(subobject->getGeometry(0).get()) : nullptr;
    }

    /// The model refused with the loader's `line` and then the manager's.
    void expectRefused(const std::string& name, const std::string& line)
    {
        SCOPED_TRACE(name);
        EXPECT_EQ(objects().createObject(name), nullptr);
        EXPECT_EQ(logged(), (std::vector<std::string>{line, "Could not find an objectloader for " + name}));
    }

    std::string corrupt(const std::string& name, const std::string& problem) const
    {
        return "Error loading ms3d file " + modelFile(name).fileName + ": " + problem;
    }
};

TEST_F(Ms3dLoaderTest, VersionThreeAndFourModelsLoadWithTheirCornersGroupsAndMaterials)
{
    for (int version : {3, 4}) {
        SCOPED_TRACE(version);
        const std::string name = "pyramid" + std::to_string(version) + ".ms3d";
        writeModel(name, Ms3dSamples::pyramid(version).toBytes());
        const std::unique_ptr<GeometryObject> object = place(name);
        ASSERT_NE(object, nullptr);
        EXPECT_EQ(object->getSubobjectCount(), 1u);
        const Velta::GeometryData* geometry = geometryOf(*object);
        ASSERT_NE(geometry, nullptr);
        EXPECT_EQ(geometry->getName(), name);

        // Every corner is a vertex of its own, in triangle order.
        const SharedPtr<Velta::VertexData> vertices = geometry->getIndexedData(0);
        ASSERT_EQ(vertices->getCount(), 12u);
        const auto* positions = static_cast<const float*>(vertices->getVertices());
        const auto* normals = static_cast<const float*>(vertices->getNormals());
        const auto* coordinates = static_cast<const float*>(vertices->getTexCoordinates(0));
        const float apex[3] = {0.5f, 0.5f, 2.0f};  // corner 2 of triangle 1
        for (int axis = 0; axis < 3; ++axis) {
            EXPECT_FLOAT_EQ(positions[5 * 3 + axis], apex[axis]);
        }
        EXPECT_FLOAT_EQ(normals[4 * 3 + 1], -0.6f);
        EXPECT_FLOAT_EQ(normals[4 * 3 + 2], 0.8f);
        EXPECT_FLOAT_EQ(coordinates[5 * 2], 1.2f);
        EXPECT_FLOAT_EQ(coordinates[5 * 2 + 1], -2.0f) << "t as stored";

        const auto* bound = dynamic_cast<const Velta::BoundingBox*>(geometry->getBoundingVolume());
        ASSERT_NE(bound, nullptr);
        EXPECT_EQ(bound->getMin(), Velta::Point(0, 0, 0));
        EXPECT_EQ(bound->getMax(), Velta::Point(1, 1, 2));

        const auto& groups = geometry->getElementGroups();
        ASSERT_EQ(groups.getSize(), 3u);
        EXPECT_EQ(indices(*groups[0]), (std::vector<unsigned int>{0, 1, 2, 6, 7, 8}));
        EXPECT_EQ(indices(*groups[1]), (std::vector<unsigned int>{3, 4, 5}));
        EXPECT_EQ(indices(*groups[2]), (std::vector<unsigned int>{9, 10, 11}));
        EXPECT_EQ(groups[0]->getMaterialIndex(), 0u);
        EXPECT_EQ(groups[1]->getMaterialIndex(), 1u);
        EXPECT_EQ(groups[2]->getMaterialIndex(), NO_MATERIAL) << "the byte 0xFF";

        const SharedPtr<Velta::Material> wood = object->getDefaultMaterial(0);
        const SharedPtr<Velta::Material> plain = object->getDefaultMaterial(1);
        ASSERT_FALSE(wood.isNull());
        ASSERT_FALSE(plain.isNull());
        EXPECT_TRUE(object->getDefaultMaterial(2).isNull());
        EXPECT_EQ(wood->getAmbientMaterialColor(), Velta::Color(0.1f, 0.2f, 0.3f, 1.0f));
        EXPECT_EQ(wood->getDiffuseMaterialColor(), Velta::Color(0.4f, 0.5f, 0.6f, 1.0f));
        EXPECT_EQ(wood->getSpecularMaterialColor(), Velta::Color(0.7f, 0.8f, 0.9f, 1.0f));
        const auto texture = SharedPtr<Velta::Texture2D>::dynamicCast(wood->getTexture(0));
        ASSERT_FALSE(texture.isNull());
        EXPECT_EQ(texture->getTextureSource(0, 0), textures().getTextureSource("wood.png"));
        EXPECT_TRUE(texture->doGenerateMipMaps());
        EXPECT_EQ(texture->getMinFilter(), Velta::Texture::MIPMAP);
        EXPECT_EQ(texture->getMipMapFilter(), Velta::Texture::LINEAR);
        EXPECT_TRUE(plain->getTexture(0).isNull());
    }
    // An empty texture name is no texture: nothing is looked up, nothing logged.
    EXPECT_EQ(logged(), std::vector<std::string>());
}

TEST_F(Ms3dLoaderTest, AModelIsReadOnceAndItsObjectsShareGeometryAndMaterials)
{
    writeModel("shared.ms3d", Ms3dSamples::pyramid().toBytes());
    const std::unique_ptr<GeometryObject> first = place("shared.ms3d");
    std::filesystem::remove(mFolder / "models" / "shared.ms3d");
    const std::unique_ptr<GeometryObject> second = place("shared.ms3d");
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr) << "the second object comes from the kept factory, not the file";
    EXPECT_NE(first.get(), second.get());
    EXPECT_EQ(geometryOf(*first), geometryOf(*second));
    EXPECT_EQ(first->getDefaultMaterial(0), second->getDefaultMaterial(0));
    EXPECT_TRUE(objects().isLoaded("shared.ms3d"));
    EXPECT_EQ(core().getResourceManager().getGeometryManager().getGeometry("shared.ms3d").get(),
              geometryOf(*first));

    // Unloading drops the factory; the objects keep what they share, and the
    // next request reads the file again.
    EXPECT_TRUE(objects().unloadObjectFactory("shared.ms3d"));
    EXPECT_FALSE(objects().isLoaded("shared.ms3d"));
    EXPECT_EQ(geometryOf(*first)->getIndexedData(0)->getCount(), 12u);
    expectRefused("shared.ms3d", "Error loading ms3d file " + modelFile("shared.ms3d").fileName);
}

TEST_F(Ms3dLoaderTest, FilesThatAreMissingForeignOrOfAnotherVersionAreRefusedOnceWithTheirLines)
{
    const std::string notAModel = "Error loading ms3d file: Not a valid Milkshape3D model file.";
    const std::string version =
        "Error loading ms3d file: Unhandled file version. Only Milkshape3D Version 1.3 and 1.4 is supported.";
    writeModel("empty.ms3d", {});
    writeModel("foreign.ms3d", VeltaTest::ImageFiles::png(1, 1, VeltaTest::ImageFiles::GREY, Bytes(1, 0)));
    writeModel("two.ms3d", Ms3dSamples::pyramid(2).toBytes());
    writeModel("five.ms3d", Ms3dSamples::pyramid(5).toBytes());

    expectRefused("missing.ms3d", "Error loading ms3d file " + modelFile("missing.ms3d").fileName);
    expectRefused("empty.ms3d", notAModel);
    expectRefused("foreign.ms3d", notAModel);
    expectRefused("two.ms3d", version);
    expectRefused("five.ms3d", version);

    // A failed name is remembered: no file is read and nothing is logged again.
    writeModel("missing.ms3d", Ms3dSamples::pyramid().toBytes());
    EXPECT_EQ(objects().createObject("missing.ms3d"), nullptr);
    EXPECT_EQ(objects().createObject("two.ms3d"), nullptr);
    EXPECT_EQ(logged(), std::vector<std::string>());
    EXPECT_FALSE(objects().isLoaded("missing.ms3d"));
    // Until it is unloaded, which asks again.
    objects().unloadObjectFactory("missing.ms3d");
    EXPECT_NE(place("missing.ms3d"), nullptr);

    // The extension decides, case and all; no loader, no loader line.
    writeModel("upper.MS3D", Ms3dSamples::pyramid().toBytes());
    EXPECT_EQ(objects().createObject("upper.MS3D"), nullptr);
    EXPECT_EQ(logged(), (std::vector<std::string>{"Could not find an objectloader for upper.MS3D"}));
}

TEST_F(Ms3dLoaderTest, DamagedModelsAreRefusedWithOneLineSayingWhatIsWrong)
{
    const Bytes good = Ms3dSamples::pyramid().toBytes();
    const Ms3dLayout layout(good);
    struct Damage {
        const char* name;
        const char* problem;
        Bytes file;
    };
    std::vector<Damage> damages;
    const auto damage = [&](const char* name, const char* problem, auto change) {
        Bytes file = good;
        change(file);
        damages.push_back({name, problem, file});
    };
    damage("header.ms3d", "the file ends inside the header", [](Bytes& f) { f.resize(12); });
    damage("cut.ms3d", "the file ends inside the triangle block", [&](Bytes& f) { f.resize(layout.triangles + 100); });
    damage("vertices.ms3d", "the file ends inside the vertex block", [&](Bytes& f) { put16(f, layout.vertexCount, 600); });
    damage("triangles.ms3d", "the file ends inside the triangle block",
           [&](Bytes& f) { put16(f, layout.triangleCount, 0xFFFF); });
    damage("groups.ms3d", "the file ends inside the group block", [&](Bytes& f) { put16(f, layout.groupCount, 40); });
    damage("grouplist.ms3d", "the file ends inside the group block",
           [&](Bytes& f) { put16(f, layout.groupTriangleCounts[2], 0x7FFF); });
    damage("materials.ms3d", "the file ends inside the material block",
           [&](Bytes& f) { put16(f, layout.materialCount, 3); });
    damage("corner.ms3d", "triangle 3 uses vertex 5 of 5", [&](Bytes& f) { put16(f, layout.triangles + 3 * 70 + 6, 5); });
    damage("member.ms3d", "group 1 uses triangle 4 of 4",
           [&](Bytes& f) { put16(f, layout.groupTriangleCounts[1] + 2, 4); });
    damage("material.ms3d", "group 0 uses material 2 of 2", [&](Bytes& f) { f.at(layout.groupMaterials[0]) = 2; });
    damage("negative.ms3d", "group 1 uses material -2 of 2", [&](Bytes& f) { f.at(layout.groupMaterials[1]) = 0xFE; });
    damage("texture.ms3d", "the texture name of material 0 has no end", [&](Bytes& f) {
        std::fill_n(f.begin() + static_cast<long>(layout.materials + 105), 128, 'x');
    });

    for (const Damage& d : damages) {
        writeModel(d.name, d.file);
        expectRefused(d.name, corrupt(d.name, d.problem));
    }
    // What follows the material block is not read.
    writeModel("short.ms3d", Bytes(good.begin(), good.begin() + static_cast<long>(layout.end)));
    EXPECT_NE(place("short.ms3d"), nullptr);
    EXPECT_EQ(logged(), std::vector<std::string>());
}

TEST_F(Ms3dLoaderTest, AnImageThatCannotBeLoadedLeavesItsMaterialUntextured)
{
    std::filesystem::remove(mFolder / "textures" / "wood.png");
    writeModel("bare.ms3d", Ms3dSamples::pyramid().toBytes());
    const std::unique_ptr<GeometryObject> object = place("bare.ms3d");
    ASSERT_NE(object, nullptr);
    EXPECT_TRUE(object->getDefaultMaterial(0)->getTexture(0).isNull());
    const std::vector<std::string> lines = logged();
    ASSERT_EQ(lines.size(), 1u) << "the image loader's line only";
    EXPECT_EQ(lines[0].rfind("Error opening ", 0), 0u) << lines[0];
}

namespace {

class RefusingLoader : public Velta::ObjectLoader {
public:
    bool isInitialized() const override { return false; }
    bool initialize() override { return false; }
    bool shutdown() override { return true; }
    bool canLoad(const Velta::NameMapper::ResourceInfo&) const override { return true; }
    SharedPtr<Velta::ObjectFactory> load(const Velta::NameMapper::ResourceInfo&) override { return {}; }
};

} // namespace

TEST_F(Ms3dLoaderTest, LoadersThatCannotStartAreNotRegisteredAndWithoutAMapperNothingIsLoaded)
{
    RefusingLoader refusing;
    EXPECT_EQ(objects().registerObjectLoader(refusing), 0u);
    EXPECT_EQ(objects().getObjectLoaders().getSize(), 1u);

    writeModel("unmapped.ms3d", Ms3dSamples::pyramid().toBytes());
    objects().setObjectNameMapper(SharedPtr<Velta::NameMapper>());
    EXPECT_EQ(objects().createObject("unmapped.ms3d"), nullptr);
    EXPECT_EQ(logged(), std::vector<std::string>());
}

using Ms3dPluginTest = VeltaTest::SetUpCoreFixture;

TEST_F(Ms3dPluginTest, SetupRegistersThePluginsLoaderWithTheObjectManager)
{
    const auto& loaders = core().getResourceManager().getObjectManager().getObjectLoaders();
    ASSERT_EQ(loaders.getSize(), 1u);
    Velta::Ms3dPlugin* plugin = nullptr;
    for (Velta::Plugin* installed : core().getPluginManager().getPlugins()) {
        plugin = plugin ? plugin : dynamic_cast<Velta::Ms3dPlugin*>(installed);
    }
    ASSERT_NE(plugin, nullptr);
    EXPECT_EQ(loaders.get(0), plugin->getLoader());
    EXPECT_TRUE(loaders.get(0)->isInitialized());
}
