#pragma once

#include "cpplib/Point.h"
#include "cpplib/SharedPtr.h"
#include "geometry/GeometryData.h"
#include "geometry/GeometryDataGroup.h"
#include "geometry/IndexedTriangles.h"
#include "geometry/VertexData.h"
#include "scene/BoundingBox.h"

#include <string>

namespace GeometryTest {

/// Two vertices at `min` and `max`, one group of material `material` with one
/// (degenerate) triangle over them, and the box spanning them as the bound.
inline CppLib::SharedPtr<Velta::GeometryData> makeGeometry(const std::string& name, const Velta::Point& min,
                                                          const Velta::Point& max, unsigned int material = 0)
{
    CppLib::SharedPtr<Velta::GeometryData> geometry(new Velta::GeometryData(name));
    CppLib::SharedPtr<Velta::VertexData> vertices(new Velta::VertexData());
    for (const Velta::Point& corner : {min, max}) {
        vertices->addVertex();
        vertices->setVertex(corner.x(), corner.y(), corner.z());
    }
    geometry->setIndexedVertexData(vertices);
    Velta::IndexedTriangles* triangles = new Velta::IndexedTriangles(3);
    triangles->addTriangle(0, 1, 0);
    geometry->createGroup().addElement(*triangles);
    geometry->getGroup(0)->setMaterialIndex(material);
    geometry->setBoundingVolume(new Velta::BoundingBox(min, max));
    return geometry;
}

} // namespace GeometryTest
