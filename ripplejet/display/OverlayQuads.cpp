#include "display/OverlayQuads.h"

#include "cpplib/Point.h"
#include "geometry/GeometryData.h"
#include "geometry/GeometryDataGroup.h"
#include "geometry/GeometryObject.h"
#include "geometry/GeometrySubobject.h"
#include "geometry/IndexedQuads.h"
#include "geometry/VertexData.h"
#include "resource/Material.h"
#include "resource/Texture2D.h"
#include "scene/BoundingBox.h"

#include <algorithm>
#include <cassert>

namespace Ripplejet {

CppLib::SharedPtr<Velta::GeometryData> OverlayQuads::create(const std::string& name, std::initializer_list<Quad> quads,
                                                            unsigned int units)
{
    assert(quads.size() > 0);
    CppLib::SharedPtr<Velta::VertexData> vertices(new Velta::VertexData());
    vertices->setUseTexCoordinates(units > 0);
    for (unsigned int unit = 0; unit < units; ++unit) {
        vertices->addTextureIndex(unit);
    }
    const unsigned int count = static_cast<unsigned int>(quads.size());
    vertices->initialize(static_cast<int>(count * VERTICES_PER_QUAD), 0);

    CppLib::SharedPtr<Velta::GeometryData> geometry(new Velta::GeometryData(name));
    geometry->setIndexedVertexData(vertices);
    float low[3] = {quads.begin()->xMin, quads.begin()->yMin, quads.begin()->z};
    float high[3] = {low[0], low[1], low[2]};
    unsigned int index = 0;
    for (const Quad& quad : quads) {
        const float xs[VERTICES_PER_QUAD] = {quad.xMin, quad.xMax, quad.xMax, quad.xMin};
        const float ys[VERTICES_PER_QUAD] = {quad.yMin, quad.yMin, quad.yMax, quad.yMax};
        for (unsigned int corner = 0; corner < VERTICES_PER_QUAD; ++corner) {
            vertices->addVertex();
            vertices->setVertex(xs[corner], ys[corner], quad.z);
        }
        for (unsigned int unit = 0; unit < units; ++unit) {
            setTexCoordinates(*vertices, index, unit, quad.uMin, quad.uMax, quad.vMin, quad.vMax);
        }
        auto* element = new Velta::IndexedQuads(VERTICES_PER_QUAD);
        const unsigned int first = index * VERTICES_PER_QUAD;
        element->addQuad(first, first + 1, first + 2, first + 3);
        Velta::GeometryDataGroup& group = geometry->createGroup();
        group.setMaterialIndex(index);
        group.addElement(*element);

        low[0] = std::min(low[0], quad.xMin);
        low[1] = std::min(low[1], quad.yMin);
        low[2] = std::min(low[2], quad.z);
        high[0] = std::max(high[0], quad.xMax);
        high[1] = std::max(high[1], quad.yMax);
        high[2] = std::max(high[2], quad.z);
        ++index;
    }
    geometry->setBoundingVolume(new Velta::BoundingBox(Velta::Point(low[0], low[1], low[2]),
                                                       Velta::Point(high[0], high[1], high[2])));
    return geometry;
}

void OverlayQuads::setTexCoordinates(Velta::VertexData& vertices, unsigned int quad, unsigned int unit, float uMin,
                                     float uMax, float vMin, float vMax)
{
    const float us[VERTICES_PER_QUAD] = {uMin, uMax, uMax, uMin};
    const float vs[VERTICES_PER_QUAD] = {vMax, vMax, vMin, vMin};
    for (unsigned int corner = 0; corner < VERTICES_PER_QUAD; ++corner) {
        vertices.setCurrentVertex(quad * VERTICES_PER_QUAD + corner);
        vertices.setTexCoordinate(us[corner], vs[corner], unit);
    }
}

CppLib::SharedPtr<Velta::Material> OverlayQuads::createMaterial(
    std::initializer_list<CppLib::SharedPtr<Velta::Texture2D>> textures)
{
    CppLib::SharedPtr<Velta::Material> material(new Velta::Material());
    unsigned int unit = 0;
    for (const CppLib::SharedPtr<Velta::Texture2D>& texture : textures) {
        material->setTexture(unit++, texture);
    }
    material->setUseBlending(true);
    material->setBlendMode(Velta::Material::BLEND_ALPHA);
    material->setUseAlphaTest(false);
    return material;
}

std::unique_ptr<Velta::GeometryObject> OverlayQuads::createObject(
    const std::string& name, const CppLib::SharedPtr<Velta::GeometryData>& geometry,
    std::initializer_list<CppLib::SharedPtr<Velta::Material>> materials)
{
    auto object = std::make_unique<Velta::GeometryObject>(name);
    auto subobject = std::make_unique<Velta::GeometrySubobject>(name);
    subobject->setGeometry(geometry, 0);
    object->addSubobject(std::move(subobject));
    unsigned int index = 0;
    for (const CppLib::SharedPtr<Velta::Material>& material : materials) {
        object->setDefaultMaterial(index++, material);
    }
    return object;
}

} // namespace Ripplejet
