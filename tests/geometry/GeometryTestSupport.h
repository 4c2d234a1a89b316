#pragma once

#include "cpplib/Point.h"
#include "cpplib/SharedPtr.h"
#include "geometry/GeometryData.h"
#include "geometry/GeometryDataGroup.h"
#include "geometry/IndexedTriangles.h"
#include "geometry/VertexData.h"
#include "scene/BoundingBox.h"

#include <gtest/gtest.h>

#include <string>

namespace GeometryTest {

/// A geometry with two vertices at `min` and `max`, one group of material
/// `material` holding one (degenerate) triangle over them, and the box
/// spanning them as its bound.
inline CppLib::SharedPtr<Velta::GeometryData> makeGeometry(const std::string& name, const Velta::Point& min,
                                                          const Velta::Point& max, unsigned int material = 0)
{
    CppLib::SharedPtr<Velta::GeometryData> geometry(new Velta::GeometryData(name));
    CppLib::SharedPtr<Velta::VertexData> vertices(new Velta::VertexData());
    vertices->initialize(2, 2);
    vertices->addVertex();
    vertices->setVertex(min.x(), min.y(), min.z());
    vertices->addVertex();
    vertices->setVertex(max.x(), max.y(), max.z());
    geometry->setIndexedVertexData(vertices);

    Velta::IndexedTriangles* triangles = new Velta::IndexedTriangles(3);
    triangles->addTriangle(0, 1, 0);
    Velta::GeometryDataGroup& group = geometry->createGroup();
    group.addElement(*triangles);
    group.setMaterialIndex(material);

    geometry->setBoundingVolume(new Velta::BoundingBox(min, max));
    return geometry;
}

inline void expectPoint(const Velta::Point& actual, float x, float y, float z)
{
    EXPECT_NEAR(actual.x(), x, 1e-4f);
    EXPECT_NEAR(actual.y(), y, 1e-4f);
    EXPECT_NEAR(actual.z(), z, 1e-4f);
}

/// The volume is a FINITE box with the given corners.
inline void expectBox(const Velta::BoundingVolume* volume, const Velta::Point& min, const Velta::Point& max)
{
    ASSERT_NE(volume, nullptr);
    ASSERT_EQ(volume->getState(), Velta::BoundingVolume::FINITE);
    const Velta::BoundingBox* box = volume->asBox();
    ASSERT_NE(box, nullptr);
    expectPoint(box->getMin(), min.x(), min.y(), min.z());
    expectPoint(box->getMax(), max.x(), max.y(), max.z());
}

} // namespace GeometryTest
