#include "GeometryTestSupport.h"

#include "geometry/GeometryManager.h"
#include "geometry/IndexedQuads.h"
#include "geometry/InterleavedVertexData.h"
#include "scene/SceneProbe.h"
#include "support/CoreFixture.h"

using namespace Velta;
using GeometryTest::makeGeometry;
using SceneTest::expectBox;

namespace {

using GeometryDataTest = VeltaTest::CoreFixture;

IndexData& indicesOf(const GeometryData& geometry)
{
    return dynamic_cast<IndexElementData&>(*geometry.getGroup(0)->getElementList(0).get(0)).getIndexList();
}

} // namespace

TEST_F(GeometryDataTest, GroupsAreNumberedInCreationOrderAndOwnTheirElements)
{
    GeometryData geometry("rock");
    for (unsigned int i = 0; i < 3; ++i) {
        EXPECT_EQ(geometry.createGroup().getGroupIndex(), i);
    }
    EXPECT_EQ(geometry.getGroup(3), nullptr);

    IndexedQuads* quads = new IndexedQuads(4);
    geometry.getGroup(1)->addElement(*quads);
    geometry.getGroup(1)->addElement(*quads); // kept once, so deleted once
    EXPECT_EQ(geometry.getGroup(1)->getElementList(0).getSize(), 1u);
    geometry.clearGroups();
    EXPECT_EQ(geometry.createGroup().getGroupIndex(), 0u);
}

TEST_F(GeometryDataTest, ACopySharesStorageUntilChangedAndNeverChangesTheOriginal)
{
    CppLib::SharedPtr<GeometryData> original = makeGeometry("duck", Point(-1, 0, -1), Point(1, 2, 1), 4);
    GeometryData copy(*original);

    // A vertex data set of its own, so writes go through its copy-on-write.
    EXPECT_NE(copy.getIndexedData(0)->getId(), original->getIndexedData(0)->getId());
    EXPECT_EQ(copy.getIndexedDataSet(0)->getVertices(), original->getIndexedDataSet(0)->getVertices());
    EXPECT_NE(dynamic_cast<IndexedTriangles*>(copy.getGroup(0)->getElementList(0).get(0)), nullptr)
        << "elements are copied as their own kind";
    EXPECT_EQ(copy.getGroup(0)->getMaterialIndex(), 4u);
    expectBox(*copy.getBoundingVolume(), Point(-1, 0, -1), Point(1, 2, 1));

    copy.getGroup(0)->setMaterialIndex(7);
    indicesOf(copy).setIndex(0, 1);
    copy.setBoundingVolume(new BoundingBox(Point(-5, 0, -1), Point(1, 2, 1)));

    EXPECT_EQ(original->getGroup(0)->getMaterialIndex(), 4u);
    EXPECT_EQ(indicesOf(*original).getIndex(0), 0u);
    expectBox(*original->getBoundingVolume(), Point(-1, 0, -1), Point(1, 2, 1));

    GeometryData interleaved;
    interleaved.setIndexedVertexData(CppLib::SharedPtr<VertexData>(new InterleavedVertexData()));
    EXPECT_NE(dynamic_cast<InterleavedVertexData*>(GeometryData(interleaved).getIndexedData(0).get()), nullptr);
}

TEST_F(GeometryDataTest, TheManagerSharesGeometryByNameAndAnswersEmptyForUnknownNames)
{
    GeometryManager manager;
    CppLib::SharedPtr<Geometry> rock(new GeometryData("rock"));
    manager.registerGeometry("rock.ms3d", rock);
    EXPECT_EQ(manager.getGeometry("rock.ms3d").get(), rock.get());
    EXPECT_TRUE(manager.getGeometry("tree.ms3d").isNull());
    EXPECT_FALSE(manager.isLoaded("tree.ms3d")) << "asking stores nothing";
    EXPECT_FALSE(manager.unloadGeometry("rock.ms3d"));
    EXPECT_EQ(manager.getGeometry("rock.ms3d").get(), rock.get()) << "unloading by name keeps it";

    manager.registerGeometry("rock.ms3d", CppLib::SharedPtr<Geometry>());
    EXPECT_FALSE(manager.isLoaded("rock.ms3d"));
    EXPECT_EQ(rock.getUseCount(), 1u);
}
