#include "geometry/IndexData.h"
#include "geometry/IndexedQuadStrip.h"
#include "geometry/IndexedTriangleStrip.h"
#include "geometry/IndexedTriangles.h"
#include "geometry/VertexData.h"
#include "support/ClockedCoreFixture.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

using Velta::DataType;
using Velta::GeometryElement;
using Velta::IndexData;
using Velta::IndexDataSet;
using Velta::IndexedTriangles;
using Velta::VertexData;

namespace {

std::vector<unsigned int> indices(const IndexDataSet& list)
{
    std::vector<unsigned int> values(list.getCount());
    if (list.getCount() > 0) {
        std::memcpy(values.data(), list.getIndexList(), values.size() * sizeof(unsigned int));
    }
    return values;
}

VertexData vertices(unsigned int count)
{
    VertexData data;
    data.initialize(static_cast<int>(count), 4);
    for (unsigned int i = 0; i < count; ++i) {
        data.addVertex();
    }
    return data;
}

using IndexDataTest = VeltaTest::ClockedCoreFixture;

} // namespace

TEST_F(IndexDataTest, PrimitivesAddTheirIndicesGrowByTheirStepAndShareThemWhenCopied)
{
    IndexedTriangles triangles(3);
    triangles.addTriangle(0, 1, 2);
    triangles.addTriangle(2, 1, 3);
    EXPECT_EQ(indices(triangles.getIndexList()), (std::vector<unsigned int>{0, 1, 2, 2, 1, 3}));
    EXPECT_EQ(triangles.getIndexList().getCapacity(), 9u);
    EXPECT_EQ(triangles.getElementType(), GeometryElement::TRIANGLES);

    Velta::IndexedTriangleStrip strip(1);
    strip.addVertice(9);
    strip.addVertice(8);
    EXPECT_EQ(strip.getIndexList().getCapacity(), 13u);

    Velta::IndexedQuadStrip quadStrip(2);
    quadStrip.addQuad(0, 1);
    quadStrip.addQuad(2, 3);
    EXPECT_EQ(indices(quadStrip.getIndexList()), (std::vector<unsigned int>{0, 1, 2, 3}));
    EXPECT_EQ(quadStrip.getIndexList().getCapacity(), 14u);

    // A copy shares its indices until written.
    IndexedTriangles copy(triangles);
    EXPECT_EQ(copy.getIndexList().getIndexList(), triangles.getIndexList().getIndexList());
    EXPECT_NE(copy.getIndexList().getId(), triangles.getIndexList().getId());
    copy.getIndexList().setIndex(0, 9);
    copy.addTriangle(3, 4, 5);
    EXPECT_EQ(indices(triangles.getIndexList()), (std::vector<unsigned int>{0, 1, 2, 2, 1, 3}));
    EXPECT_EQ(indices(copy.getIndexList()), (std::vector<unsigned int>{9, 1, 2, 2, 1, 3, 3, 4, 5}));
    EXPECT_EQ(copy.getIndexList().getMaxIndex(), 9u);
}

TEST_F(IndexDataTest, WithoutStorageNothingIsCountedOrWritten)
{
    IndexData list;
    EXPECT_EQ(list.addIndex(5), 0u);
    EXPECT_EQ(list.getCount(), 0u) << "a counted index without storage would be drawn from a null list";
    EXPECT_FALSE(list.setIndex(0, 1));

    list.initialize(1, 0);
    list.addIndex(1);
    list.addIndex(2);
    list.addIndex(3);
    EXPECT_EQ(list.getCapacity(), 4u) << "a zero step doubles";
    EXPECT_FALSE(list.setIndex(3, 7));
    EXPECT_TRUE(list.setIndex(2, 7));
    EXPECT_EQ(indices(list), (std::vector<unsigned int>{1, 2, 7}));
    EXPECT_EQ(list.getIndex(3), 0u);
}

TEST_F(IndexDataTest, OtherIndexTypesAreAllocatedZeroedAndNotWritten)
{
    IndexData list;
    list.setIndexType(DataType::UNSIGNED_SHORT);
    list.initialize(2, 2);
    list.addIndex(70000);
    list.addIndex(3);
    list.addIndex(4);
    EXPECT_EQ(list.getCount(), 3u);
    const unsigned short* shorts = static_cast<const unsigned short*>(list.getIndexList());
    EXPECT_EQ(std::vector<unsigned short>(shorts, shorts + 3), (std::vector<unsigned short>{0, 0, 0}));
    EXPECT_FALSE(list.setIndex(0, 1));

    // A type change waits for the storage it needs.
    list.setIndexType(DataType::UNSIGNED_INT);
    EXPECT_EQ(list.getIndexType(), DataType::UNSIGNED_SHORT);
    list.initialize(2, 2);
    EXPECT_EQ(list.getIndexType(), DataType::UNSIGNED_INT);
    list.addIndex(70000);
    EXPECT_EQ(indices(list), std::vector<unsigned int>{70000});
}

TEST_F(IndexDataTest, ElementsPointingPastTheVertexDataAreRefusedWhole)
{
    IndexedTriangles triangles(6);
    triangles.addTriangle(0, 1, 2);
    triangles.addTriangle(2, 3, 4);
    EXPECT_EQ(triangles.getDrawCount(vertices(5)), 6u);
    EXPECT_EQ(triangles.getDrawCount(vertices(4)), 0u) << "index 4 of 4 vertices";
    EXPECT_EQ(triangles.getDrawCount(vertices(0)), 0u);

    IndexData& list = triangles.getIndexList();
    list.setIndex(4, 0);
    list.setIndex(5, 1);
    EXPECT_EQ(list.getMaxIndex(), 2u) << "lowering the largest index is noticed";
    EXPECT_EQ(triangles.getDrawCount(vertices(3)), 6u);
    list.setIndex(0, 100);
    EXPECT_EQ(triangles.getDrawCount(vertices(100)), 0u);
    EXPECT_EQ(triangles.getDrawCount(vertices(101)), 6u);

    IndexedTriangles empty(0);
    EXPECT_EQ(empty.getDrawCount(vertices(0)), 0u);
    EXPECT_TRUE(empty.getIndexList().fitsVertexCount(0));

    IndexData bytes;
    bytes.setIndexType(DataType::INT);
    bytes.initialize(1, 1);
    bytes.addIndex(0);
    EXPECT_FALSE(bytes.fitsVertexCount(10)) << "signed indices cannot be drawn";
    EXPECT_EQ(bytes.getMaxIndex(), IndexDataSet::INVALID_INDEX);
}
