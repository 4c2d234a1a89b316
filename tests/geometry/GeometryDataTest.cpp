#include "GeometryTestSupport.h"

#include "geometry/GeometryManager.h"
#include "geometry/IndexedQuads.h"
#include "geometry/InterleavedVertexData.h"
#include "geometry/VertexDataSet.h"
#include "support/CoreFixture.h"

#include <cstring>

using namespace Velta;
using GeometryTest::expectBox;
using GeometryTest::makeGeometry;

namespace {

using GeometryDataTest = VeltaTest::CoreFixture;

const IndexElementData& elementOf(const GeometryData& geometry, unsigned int group, int element)
{
    const GeometryElement* found = geometry.getGroup(group)->getElementList(0).get(element);
    return dynamic_cast<const IndexElementData&>(*found);
}

float firstX(const VertexDataSet& data)
{
    float x = 0.0f;
    std::memcpy(&x, data.getVertices(), sizeof x);
    return x;
}

} // namespace

TEST_F(GeometryDataTest, GroupsAreNumberedInCreationOrderAndOwnTheirElements)
{
    GeometryData geometry("rock");
    EXPECT_EQ(geometry.getIndexedDataSet(0), nullptr);
    for (unsigned int i = 0; i < 3; ++i) {
        GeometryDataGroup& group = geometry.createGroup();
        EXPECT_EQ(group.getGroupIndex(), i);
        EXPECT_EQ(group.getMaterialIndex(), 0u);
        EXPECT_EQ(geometry.getGroup(i), &group);
    }
    EXPECT_EQ(geometry.getGroup(3), nullptr);
    EXPECT_EQ(geometry.getGroup(0xFFFFFFFFu), nullptr);

    // Adding one element twice keeps it once, so it is deleted once.
    IndexedQuads* quads = new IndexedQuads(4);
    geometry.getGroup(1)->addElement(*quads);
    geometry.getGroup(1)->addElement(*quads);
    EXPECT_EQ(geometry.getGroup(1)->getElementList(0).getSize(), 1u);

    geometry.clearGroups();
    EXPECT_EQ(geometry.getElementGroups().getSize(), 0u);
    EXPECT_EQ(geometry.createGroup().getGroupIndex(), 0u);
}

TEST_F(GeometryDataTest, ACopySharesStorageUntilChangedAndNeverChangesTheOriginal)
{
    CppLib::SharedPtr<GeometryData> original = makeGeometry("duck", Point(-1, 0, -1), Point(1, 2, 1), 4);
    GeometryData copy(*original);

    EXPECT_EQ(copy.getName(), "duck");
    const VertexData& copiedVertices = *copy.getIndexedData(0);
    EXPECT_NE(&copiedVertices, original->getIndexedData(0).get());
    EXPECT_NE(copiedVertices.getId(), original->getIndexedData(0)->getId()) << "uploaded as a data set of its own";
    EXPECT_EQ(copiedVertices.getVertices(), original->getIndexedData(0)->getVertices()) << "shared until written";

    ASSERT_EQ(copy.getElementGroups().getSize(), 1u);
    EXPECT_NE(copy.getGroup(0), original->getGroup(0));
    EXPECT_EQ(copy.getGroup(0)->getMaterialIndex(), 4u);
    const IndexElementData& copiedElement = elementOf(copy, 0, 0);
    EXPECT_NE(&copiedElement, &elementOf(*original, 0, 0));
    EXPECT_EQ(copiedElement.getElementType(), GeometryElement::TRIANGLES);
    EXPECT_NE(dynamic_cast<const IndexedTriangles*>(&copiedElement), nullptr) << "copied as its own kind";
    EXPECT_EQ(copiedElement.getIndexList().getCount(), 3u);
    expectBox(copy.getBoundingVolume(), Point(-1, 0, -1), Point(1, 2, 1));
    EXPECT_NE(copy.getBoundingVolume(), original->getBoundingVolume());

    copy.getGroup(0)->setMaterialIndex(7);
    const_cast<IndexElementData&>(copiedElement).getIndexList().setIndex(0, 1);
    copy.getIndexedData(0)->setCurrentVertex(0);
    copy.getIndexedData(0)->setVertex(-5, 0, 0);
    copy.setBoundingVolume(new BoundingBox(Point(-5, 0, -1), Point(1, 2, 1)));
    copy.createGroup();

    EXPECT_EQ(original->getGroup(0)->getMaterialIndex(), 4u);
    EXPECT_EQ(elementOf(*original, 0, 0).getIndexList().getIndex(0), 0u);
    EXPECT_FLOAT_EQ(firstX(*original->getIndexedDataSet(0)), -1.0f);
    EXPECT_FLOAT_EQ(firstX(*copy.getIndexedDataSet(0)), -5.0f);
    expectBox(original->getBoundingVolume(), Point(-1, 0, -1), Point(1, 2, 1));
    EXPECT_EQ(original->getElementGroups().getSize(), 1u);
}

TEST_F(GeometryDataTest, ACopyOfInterleavedVertexDataStaysInterleaved)
{
    GeometryData original;
    original.setIndexedVertexData(CppLib::SharedPtr<VertexData>(new InterleavedVertexData()));
    GeometryData copy(original);
    EXPECT_NE(dynamic_cast<const InterleavedVertexData*>(copy.getIndexedData(0).get()), nullptr);
    EXPECT_EQ(copy.getBoundingVolume(), nullptr);
}

TEST_F(GeometryDataTest, TheManagerSharesGeometryByNameAndAnswersEmptyForUnknownNames)
{
    GeometryManager manager;
    EXPECT_EQ(manager.createDataSetId(), 1u);
    EXPECT_EQ(manager.createDataSetId(), 2u);

    CppLib::SharedPtr<Geometry> rock(new GeometryData("rock"));
    manager.registerGeometry("rock.ms3d", rock);
    EXPECT_TRUE(manager.isLoaded("rock.ms3d"));
    EXPECT_EQ(manager.getGeometry("rock.ms3d").get(), rock.get());

    EXPECT_TRUE(manager.getGeometry("tree.ms3d").isNull());
    EXPECT_FALSE(manager.isLoaded("tree.ms3d")) << "asking stores nothing";

    manager.registerGeometry("rock.ms3d", CppLib::SharedPtr<Geometry>());
    EXPECT_FALSE(manager.isLoaded("rock.ms3d"));
    EXPECT_EQ(rock.getUseCount(), 1u) << "the manager let go of its share";
}
