#include "geometry/GeometryData.h"
#include "geometry/GeometryDataGroup.h"
#include "geometry/IndexedTriangles.h"
#include "geometry/VertexData.h"
#include "geometry/VertexElementData.h"
#include "geometry/VertexWelder.h"
#include "support/CoreFixture.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

using namespace Velta;

namespace {

using VertexWelderTest = VeltaTest::CoreFixture;

/// What one corner draws: position, colour, normal and two sets of texture
/// coordinates.
using Corner = std::array<float, 14>;

/// Two triangles per group, every corner a vertex of its own in corner
/// order, as model files give them.
CppLib::SharedPtr<GeometryData> cornersOf(const std::vector<std::vector<Corner>>& groups)
{
    CppLib::SharedPtr<GeometryData> geometry(new GeometryData("model"));
    CppLib::SharedPtr<VertexData> vertices(new VertexData());
    vertices->setUseColor(true);
    vertices->setUseNormal(true);
    vertices->setUseTexCoordinates(true);
    vertices->addTextureIndex(0);
    vertices->addTextureIndex(2);
    unsigned int next = 0;
    for (const std::vector<Corner>& corners : groups) {
        auto* triangles = new IndexedTriangles(static_cast<unsigned int>(corners.size()));
        for (const Corner& c : corners) {
            vertices->addVertex();
            vertices->setVertex(c[0], c[1], c[2]);
            vertices->setColor(c[3], c[4], c[5], c[6]);
            vertices->setNormal(c[7], c[8], c[9]);
            vertices->setTexCoordinate(c[10], c[11], 0);
            vertices->setTexCoordinate(c[12], c[13], 1);
        }
        for (unsigned int i = 0; i < corners.size(); i += 3) {
            triangles->addTriangle(next + i, next + i + 1, next + i + 2);
        }
        next += static_cast<unsigned int>(corners.size());
        geometry->createGroup().addElement(*triangles);
    }
    geometry->setIndexedVertexData(vertices);
    return geometry;
}

/// The corners each group's triangles draw, read through their indices.
std::vector<std::vector<Corner>> drawnCorners(const GeometryData& geometry)
{
    const VertexData& data = *geometry.getIndexedData(0);
    const auto* p = static_cast<const float*>(data.getVertices());
    const auto* c = static_cast<const float*>(data.getColor());
    const auto* n = static_cast<const float*>(data.getNormals());
    const unsigned int stride = data.getStride(VertexDataSet::TEX_COORDINATES) / sizeof(float);
    std::vector<std::vector<Corner>> groups;
    for (GeometryGroup* group : geometry.getElementGroups()) {
        const IndexData& list = dynamic_cast<IndexElementData&>(*group->getElementList(0).get(0)).getIndexList();
        std::vector<Corner> corners;
        for (unsigned int i = 0; i < list.getCount(); ++i) {
            const unsigned int v = list.getIndex(i);
            const auto* t0 = static_cast<const float*>(data.getTexCoordinates(0)) + v * stride;
            const auto* t1 = static_cast<const float*>(data.getTexCoordinates(1)) + v * stride;
            corners.push_back({p[3 * v], p[3 * v + 1], p[3 * v + 2], c[4 * v], c[4 * v + 1], c[4 * v + 2],
                               c[4 * v + 3], n[3 * v], n[3 * v + 1], n[3 * v + 2], t0[0], t0[1], t1[0], t1[1]});
        }
        groups.push_back(corners);
    }
    return groups;
}

} // namespace

TEST_F(VertexWelderTest, SharesCornersEqualInEverythingAcrossGroupsAndDrawsTheSameTriangles)
{
    const Corner a = {0, 0, 0, 1, 1, 1, 1, 0, 1, 0, 0, 0, 5, 5};
    const Corner b = {1, 0, 0, 1, 1, 1, 1, 0, 1, 0, 1, 0, 5, 5};
    const Corner c = {0, 0, 1, 1, 1, 1, 1, 0, 1, 0, 0, 1, 5, 5};
    const Corner d = {1, 0, 1, 1, 1, 1, 1, 0, 1, 0, 1, 1, 5, 5};
    // Each differs from a corner above in one value only: kept apart.
    Corner bOtherNormal = b;
    bOtherNormal[7] = 1;
    bOtherNormal[8] = 0;
    Corner cOtherColour = c;
    cOtherColour[6] = 0.5f;
    Corner dOtherSecondSet = d;
    dOtherSecondSet[13] = 6;
    const std::vector<std::vector<Corner>> corners = {{a, b, c, c, b, d},
                                                      {b, d, a, bOtherNormal, cOtherColour, dOtherSecondSet}};
    const CppLib::SharedPtr<GeometryData> geometry = cornersOf(corners);

    EXPECT_EQ(VertexWelder::weld(*geometry), 7u) << "a, b, c, d and the three that differ";
    EXPECT_EQ(geometry->getIndexedData(0)->getCount(), 7u);
    EXPECT_EQ(drawnCorners(*geometry), corners);
    EXPECT_EQ(geometry->getIndexedData(0)->getTexturesIndices().get(1), 2u);

    EXPECT_EQ(VertexWelder::weld(*geometry), 7u) << "nothing more to share";
    EXPECT_EQ(drawnCorners(*geometry), corners);
}

TEST_F(VertexWelderTest, LeavesAloneWhatItCannotRemapOrHasNoVertices)
{
    const Corner a = {0, 0, 0, 1, 1, 1, 1, 0, 1, 0, 0, 0, 5, 5};
    const CppLib::SharedPtr<GeometryData> mixed = cornersOf({{a, a, a}});
    // An element with vertices of its own keeps the shared set as it is.
    mixed->getGroup(0)->addElement(*new VertexElementData(GeometryElement::POINTS));
    EXPECT_EQ(VertexWelder::weld(*mixed), 3u);
    EXPECT_EQ(mixed->getIndexedData(0)->getCount(), 3u);

    // An index past the vertices is not followed.
    const CppLib::SharedPtr<GeometryData> broken = cornersOf({{a, a, a}});
    dynamic_cast<IndexElementData&>(*broken->getGroup(0)->getElementList(0).get(0)).getIndexList().setIndex(2, 9);
    EXPECT_EQ(VertexWelder::weld(*broken), 3u);

    GeometryData empty("empty");
    EXPECT_EQ(VertexWelder::weld(empty), 0u);
}
