#include "geometry/ClosedSurface.h"
#include "geometry/GeometryData.h"
#include "geometry/GeometryDataGroup.h"
#include "geometry/IndexedTriangleStrip.h"
#include "geometry/IndexedTriangles.h"
#include "geometry/VertexData.h"
#include "support/CoreFixture.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

using namespace Velta;

namespace {

using ClosedSurfaceTest = VeltaTest::CoreFixture;
using Position = std::array<float, 3>;
using Triangle = std::array<Position, 3>;

/// The twelve triangles of a unit cube's faces at `offset`, each corner a
/// vertex of its own as model files give them, wound counter-clockwise seen
/// from outside (or the other way round when `inward`).
std::vector<Triangle> cube(Position offset = {0, 0, 0}, bool inward = false)
{
    const auto at = [&](float x, float y, float z) { return Position{x + offset[0], y + offset[1], z + offset[2]}; };
    // Each face's corners counter-clockwise seen from outside.
    const std::vector<std::array<Position, 4>> faces = {
        {at(0, 0, 1), at(1, 0, 1), at(1, 1, 1), at(0, 1, 1)}, {at(1, 0, 0), at(0, 0, 0), at(0, 1, 0), at(1, 1, 0)},
        {at(1, 0, 1), at(1, 0, 0), at(1, 1, 0), at(1, 1, 1)}, {at(0, 0, 0), at(0, 0, 1), at(0, 1, 1), at(0, 1, 0)},
        {at(0, 1, 1), at(1, 1, 1), at(1, 1, 0), at(0, 1, 0)}, {at(0, 0, 0), at(1, 0, 0), at(1, 0, 1), at(0, 0, 1)}};
    std::vector<Triangle> triangles;
    for (const auto& f : faces) {
        triangles.push_back(inward ? Triangle{f[0], f[2], f[1]} : Triangle{f[0], f[1], f[2]});
        triangles.push_back(inward ? Triangle{f[0], f[3], f[2]} : Triangle{f[0], f[2], f[3]});
    }
    return triangles;
}

/// One group of an index list of triangles per entry of `groups`.
CppLib::SharedPtr<GeometryData> geometryOf(const std::vector<std::vector<Triangle>>& groups)
{
    CppLib::SharedPtr<GeometryData> geometry(new GeometryData("model"));
    CppLib::SharedPtr<VertexData> vertices(new VertexData());
    unsigned int next = 0;
    for (const std::vector<Triangle>& triangles : groups) {
        auto* list = new IndexedTriangles(static_cast<unsigned int>(triangles.size() * 3));
        for (const Triangle& triangle : triangles) {
            for (const Position& p : triangle) {
                vertices->addVertex();
                vertices->setVertex(p[0], p[1], p[2]);
            }
            list->addTriangle(next, next + 1, next + 2);
            next += 3;
        }
        geometry->createGroup().addElement(*list);
    }
    geometry->setIndexedVertexData(vertices);
    return geometry;
}

TEST_F(ClosedSurfaceTest, ClosedPiecesWoundOutwardAreClosedWhateverTheirGroups)
{
    EXPECT_TRUE(ClosedSurface::isClosed(*geometryOf({cube()})));
    // Two cubes, one of them cut into two groups, and a triangle with two
    // corners at one place (drawing nothing) along an edge.
    std::vector<Triangle> second = cube({3, 0, 0});
    const std::vector<Triangle> half(second.begin() + 6, second.end());
    second.resize(6);
    second.push_back({Position{3, 0, 1}, Position{4, 0, 1}, Position{4, 0, 1}});
    EXPECT_TRUE(ClosedSurface::isClosed(*geometryOf({cube(), second, half})));
}

TEST_F(ClosedSurfaceTest, OpenInsideOutOrNonTriangleSurfacesAreNot)
{
    std::vector<Triangle> open = cube();
    open.pop_back();
    EXPECT_FALSE(ClosedSurface::isClosed(*geometryOf({open})));
    EXPECT_FALSE(ClosedSurface::isClosed(*geometryOf({cube({0, 0, 0}, true)})));
    EXPECT_FALSE(ClosedSurface::isClosed(*geometryOf({cube(), cube({3, 0, 0}, true)})));
    // A face given twice: its edges are walked twice the same way.
    std::vector<Triangle> doubled = cube();
    doubled.push_back(doubled.front());
    EXPECT_FALSE(ClosedSurface::isClosed(*geometryOf({doubled})));
    EXPECT_FALSE(ClosedSurface::isClosed(*geometryOf({})));

    CppLib::SharedPtr<GeometryData> strip = geometryOf({cube()});
    auto* extra = new IndexedTriangleStrip(3);
    extra->addVertice(0);
    extra->addVertice(1);
    extra->addVertice(2);
    strip->createGroup().addElement(*extra);
    EXPECT_FALSE(ClosedSurface::isClosed(*strip));
}

} // namespace
