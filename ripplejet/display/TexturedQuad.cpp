#include "display/TexturedQuad.h"

#include "cpplib/Point.h"
#include "geometry/GeometryData.h"
#include "geometry/GeometryDataGroup.h"
#include "geometry/IndexedTriangles.h"
#include "geometry/VertexData.h"
#include "scene/BoundingBox.h"

#include <algorithm>

namespace Ripplejet {

CppLib::SharedPtr<Velta::GeometryData> TexturedQuad::create(const Vec3& a, const Vec3& b, const Vec3& c, const Vec3& d,
                                                            const Vec3& normal, float repeatS, float repeatT)
{
    CppLib::SharedPtr<Velta::VertexData> vertices(new Velta::VertexData());
    vertices->setUseNormal(true);
    vertices->setUseTexCoordinates(true);
    vertices->addTextureIndex(0);
    vertices->initialize(4, 0);
    const Vec3* corners[4] = {&a, &b, &c, &d};
    const float s[4] = {0.0f, repeatS, repeatS, 0.0f};
    const float t[4] = {repeatT, repeatT, 0.0f, 0.0f};
    Vec3 low = a;
    Vec3 high = a;
    for (int i = 0; i < 4; ++i) {
        const Vec3& corner = *corners[i];
        vertices->addVertex();
        vertices->setVertex(corner.x(), corner.y(), corner.z());
        vertices->setNormal(normal.x(), normal.y(), normal.z());
        vertices->setTexCoordinate(s[i], t[i], 0);
        for (int axis = 0; axis < 3; ++axis) {
            low[axis] = std::min(low[axis], corner[axis]);
            high[axis] = std::max(high[axis], corner[axis]);
        }
    }
    CppLib::SharedPtr<Velta::GeometryData> geometry(new Velta::GeometryData("quad"));
    geometry->setIndexedVertexData(vertices);
    auto* triangles = new Velta::IndexedTriangles(6);
    triangles->addTriangle(0, 1, 2);
    triangles->addTriangle(0, 2, 3);
    geometry->createGroup().addElement(*triangles);
    geometry->setBoundingVolume(new Velta::BoundingBox(Velta::Point(low.x(), low.y(), low.z()),
                                                       Velta::Point(high.x(), high.y(), high.z())));
    return geometry;
}

} // namespace Ripplejet
