#include "geometry/InterleavedVertexData.h"
#include "geometry/VertexData.h"
#include "resource/ResourceData.h"
#include "support/AllocationCounter.h"
#include "support/ClockedCoreFixture.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

using Velta::DataType;
using Velta::InterleavedVertexData;
using Velta::VertexData;
using Velta::VertexDataSet;

namespace {

/// Reads the floats of one element the way a renderer walks an array:
/// pointer, then stride (0 meaning packed), then components.
std::vector<float> element(const VertexDataSet& data, VertexDataSet::Part part, unsigned int vertex,
                           unsigned int layer = 0)
{
    const char* array = static_cast<const char*>(data.getArray(part, layer));
    if (!array || data.getType(part, layer) != DataType::FLOAT) {
        return {};
    }
    const unsigned int components = static_cast<unsigned int>(data.getComponents(part, layer));
    const unsigned int stride = data.getStride(part) ? data.getStride(part) : components * sizeof(float);
    std::vector<float> values(components);
    std::memcpy(values.data(), array + vertex * stride, components * sizeof(float));
    return values;
}

/// Fills `data` with positions, colours, normals, fog and two texture layers
/// derived from the vertex number.
void fill(VertexData& data, unsigned int vertices)
{
    data.setUseColor(true);
    data.setUseNormal(true);
    data.setUseFogCoordinates(true);
    data.setUseTexCoordinates(true);
    data.addTextureIndex(0);
    data.addTextureIndex(3);
    data.initialize(2, 3);
    for (unsigned int i = 0; i < vertices; ++i) {
        const float f = static_cast<float>(i);
        data.addVertex();
        data.setVertex(f, f + 0.5f, -f);
        data.setColor(0.1f * f, 0.2f, 0.3f, 1.0f);
        data.setNormal(0.0f, 0.0f, 2.0f);
        data.setFogCoordinate(10.0f + f);
        data.setTexCoordinate(f, 1.0f, 0);
        data.setTexCoordinate(2.0f, f, 1);
    }
}

using VertexDataTest = VeltaTest::ClockedCoreFixture;

} // namespace

TEST_F(VertexDataTest, GrowsByItsStepKeepingEarlierVerticesAndZeroingNewOnes)
{
    VertexData data;
    data.initialize(4, 4);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(data.addVertex(), static_cast<unsigned int>(i));
        data.setVertex(static_cast<float>(i), 1.0f, 2.0f);
    }
    EXPECT_EQ(data.addVertex(), 4u);
    EXPECT_EQ(data.getCapacity(), 8u);
    EXPECT_EQ(static_cast<const float*>(data.getVertices())[9], 3.0f);
    EXPECT_EQ(element(data, VertexDataSet::VERTICES, 4), (std::vector<float>{0.0f, 0.0f, 0.0f}));

    // A zero step doubles; without initialize() the first vertex allocates.
    VertexData unprepared;
    for (int i = 0; i < 9; ++i) {
        unprepared.addVertex();
        unprepared.setVertex(1.0f, 2.0f, static_cast<float>(i));
    }
    EXPECT_EQ(unprepared.getCapacity(), 16u);
    EXPECT_EQ(element(unprepared, VertexDataSet::VERTICES, 8), (std::vector<float>{1.0f, 2.0f, 8.0f}));
}

TEST_F(VertexDataTest, ACopySharesTheArraysUntilEitherSideWrites)
{
    VertexData original;
    fill(original, 3);
    Velta::ResourceData record(0);
    original.setResourceData(record);

    VertexData copy(original);
    EXPECT_EQ(copy.getVertices(), original.getVertices()) << "shared, not copied";
    EXPECT_NE(copy.getId(), original.getId());
    EXPECT_EQ(copy.getResourceData(0), nullptr) << "the renderer's buffers belong to the original";

    copy.setCurrentVertex(1);
    copy.setVertex(7.0f, 7.0f, 7.0f);
    EXPECT_NE(copy.getVertices(), original.getVertices());
    EXPECT_EQ(element(original, VertexDataSet::VERTICES, 1), (std::vector<float>{1.0f, 1.5f, -1.0f}));
    EXPECT_EQ(element(copy, VertexDataSet::VERTICES, 1), (std::vector<float>{7.0f, 7.0f, 7.0f}));
    EXPECT_EQ(copy.getColor(), original.getColor()) << "arrays nobody wrote stay shared";

    // Growing one side detaches it as well.
    VertexData grown(original);
    grown.addVertex();
    grown.addVertex();
    grown.setColor(9.0f, 9.0f, 9.0f, 9.0f);
    EXPECT_EQ(original.getCount(), 3u);
    EXPECT_EQ(element(original, VertexDataSet::COLORS, 2), (std::vector<float>{0.2f, 0.2f, 0.3f, 1.0f}));
    EXPECT_EQ(element(grown, VertexDataSet::COLORS, 2), element(original, VertexDataSet::COLORS, 2));

    InterleavedVertexData interleaved;
    fill(interleaved, 2);
    InterleavedVertexData interleavedCopy(interleaved);
    interleavedCopy.setCurrentVertex(0);
    interleavedCopy.setFogCoordinate(-1.0f);
    EXPECT_EQ(element(interleaved, VertexDataSet::FOG_COORDINATES, 0), std::vector<float>{10.0f});
    EXPECT_EQ(element(interleavedCopy, VertexDataSet::FOG_COORDINATES, 0), std::vector<float>{-1.0f});
}

TEST_F(VertexDataTest, InterleavedAndSeparateLayoutsHoldTheSameValues)
{
    VertexData separate;
    InterleavedVertexData interleaved;
    fill(separate, 5);
    fill(interleaved, 5);

    EXPECT_EQ(separate.getStride(VertexDataSet::TEX_COORDINATES), 2u * 2u * 4u);
    EXPECT_EQ(separate.getStride(VertexDataSet::VERTICES), 0u);
    const unsigned int vertexBytes = (3 + 4 + 3 + 1 + 2 * 2) * 4;
    EXPECT_EQ(interleaved.getInterleavedStride(), vertexBytes);
    EXPECT_EQ(interleaved.getStride(VertexDataSet::NORMALS), vertexBytes);
    EXPECT_EQ(interleaved.getStride(VertexDataSet::SECONDARY_COLORS), 0u) << "not in use";

    const VertexDataSet::Part parts[] = {VertexDataSet::VERTICES, VertexDataSet::COLORS, VertexDataSet::NORMALS,
                                         VertexDataSet::FOG_COORDINATES};
    for (unsigned int v = 0; v < 5; ++v) {
        for (VertexDataSet::Part part : parts) {
            EXPECT_EQ(element(separate, part, v), element(interleaved, part, v)) << "part " << part << " vertex " << v;
            EXPECT_FALSE(element(separate, part, v).empty());
        }
        for (unsigned int layer = 0; layer < 2; ++layer) {
            EXPECT_EQ(element(separate, VertexDataSet::TEX_COORDINATES, v, layer),
                      element(interleaved, VertexDataSet::TEX_COORDINATES, v, layer));
        }
    }
    EXPECT_EQ(element(separate, VertexDataSet::TEX_COORDINATES, 4, 1), (std::vector<float>{2.0f, 4.0f}));
    EXPECT_EQ(element(interleaved, VertexDataSet::NORMALS, 3), (std::vector<float>{0.0f, 0.0f, 1.0f}));
    EXPECT_EQ(interleaved.getTexCoordinates(2), nullptr);
}

TEST_F(VertexDataTest, SettersWriteOnlyTheCurrentVertexOfAFloatArrayInUseAsLaidOutAtInitialize)
{
    VertexData data;
    data.setUseNormal(true);
    data.setUseTexCoordinates(true);
    data.addTextureIndex(0);
    data.setType(VertexDataSet::TEX_COORDINATES, DataType::UNSIGNED_SHORT);
    data.initialize(4, 4);

    data.setVertex(1.0f, 1.0f, 1.0f); // no current vertex yet
    for (int i = 0; i < 3; ++i) {
        data.addVertex();
    }
    EXPECT_EQ(element(data, VertexDataSet::VERTICES, 0), (std::vector<float>{0.0f, 0.0f, 0.0f}));

    data.setColor(1.0f, 1.0f, 1.0f, 1.0f);
    EXPECT_EQ(data.getColorType(), DataType::NONE);
    EXPECT_EQ(data.getColor(), nullptr);

    EXPECT_EQ(data.getTexCoordinateType(0), DataType::UNSIGNED_SHORT);
    data.setTexCoordinate(0.5f, 0.5f, 0);
    const unsigned char* coordinates = static_cast<const unsigned char*>(data.getTexCoordinates(0));
    EXPECT_EQ(std::vector<unsigned char>(coordinates, coordinates + 3 * 4), std::vector<unsigned char>(12, 0));
    EXPECT_EQ(data.getStride(VertexDataSet::TEX_COORDINATES), 4u) << "stride from the element type";

    EXPECT_FALSE(data.setCurrentVertex(10));
    EXPECT_EQ(data.getCurrentVertex(), 2);
    data.setNormal(0.0f, 3.0f, 4.0f);
    EXPECT_EQ(element(data, VertexDataSet::NORMALS, 2), (std::vector<float>{0.0f, 0.6f, 0.8f}));
    data.setNormal(0.0f, 0.0f, 0.0f);
    EXPECT_EQ(element(data, VertexDataSet::NORMALS, 2), (std::vector<float>{0.0f, 0.0f, 0.0f})) << "not NaN";

    // Layout changes after initialize() wait for the next one.
    InterleavedVertexData interleaved;
    interleaved.initialize(2, 2);
    interleaved.addVertex();
    interleaved.setVertex(1.0f, 2.0f, 3.0f);
    const void* positions = interleaved.getVertices();

    interleaved.setUseColor(true);
    interleaved.setUseTexCoordinates(true);
    interleaved.addTextureIndex(0);
    interleaved.setColor(1.0f, 1.0f, 1.0f, 1.0f);
    interleaved.setTexCoordinate(1.0f, 1.0f, 0);
    interleaved.addVertex();
    interleaved.setVertex(4.0f, 5.0f, 6.0f);
    EXPECT_EQ(interleaved.getColorType(), DataType::NONE);
    EXPECT_EQ(interleaved.getNumTexLayer(), 0);
    EXPECT_EQ(interleaved.getInterleavedStride(), 12u);
    EXPECT_EQ(interleaved.getVertices(), positions);
    EXPECT_EQ(element(interleaved, VertexDataSet::VERTICES, 1), (std::vector<float>{4.0f, 5.0f, 6.0f}));

    interleaved.initialize(2, 2);
    EXPECT_EQ(interleaved.getCount(), 0u);
    EXPECT_EQ(interleaved.getColorType(), DataType::FLOAT);
    EXPECT_EQ(interleaved.getNumTexLayer(), 1);
    EXPECT_EQ(interleaved.getInterleavedStride(), (3u + 4u + 2u) * 4u);
}

TEST_F(VertexDataTest, AChangeIsSeenByOneLaterUploadAndUnmarkedDataNever)
{
    VertexData data;
    EXPECT_FALSE(data.hasChanged(-1));
    EXPECT_FALSE(data.hasChanged(0));

    mClock.advance(16);
    const long long uploaded = mClock.getTimestamp();
    mClock.advance(16);
    data.setModified();
    mClock.advance(3);
    EXPECT_TRUE(data.hasChanged(uploaded));
    EXPECT_FALSE(data.hasChanged(mClock.getTimestamp())) << "uploaded again after the change";
    EXPECT_TRUE(data.hasChanged(data.getModificationTime()));
    EXPECT_FALSE(data.hasChanged(data.getModificationTime() + 1));
}

TEST_F(VertexDataTest, PerFrameQueriesAllocateNothing)
{
    VertexData data;
    fill(data, 3);
    VeltaTest::AllocationCounter counter;
    unsigned int sum = data.hasChanged(0) + data.getCount();
    for (int part = 0; part < VertexDataSet::PART_COUNT; ++part) {
        const auto p = static_cast<VertexDataSet::Part>(part);
        sum += data.getStride(p) + data.getType(p) + (data.getArray(p) != nullptr);
    }
    data.setCurrentVertex(1);
    data.setVertex(1.0f, 1.0f, 1.0f);
    EXPECT_EQ(counter.getCount(), 0u);
    EXPECT_GT(sum, 0u);
}
