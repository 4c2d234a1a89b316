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
#include "resource/TextureSource.h"
#include "scene/BoundingBox.h"

#include <algorithm>
#include <cassert>
#include <cmath>

namespace Ripplejet {

namespace {

/// A rectangle of texels: columns [left, right), rows [top, bottom).
struct Texels {
    int left, right, top, bottom;

    bool empty() const { return left >= right || top >= bottom; }
};

bool opaqueRow(const Velta::TextureSource& image, const Texels& texels, int row)
{
    for (int column = texels.left; column < texels.right; ++column) {
        if (image.getPixelColor(column, row, 0).a < 1.0f) {
            return false;
        }
    }
    return true;
}

bool opaqueColumn(const Velta::TextureSource& image, const Texels& texels, int column)
{
    for (int row = texels.top; row < texels.bottom; ++row) {
        if (image.getPixelColor(column, row, 0).a < 1.0f) {
            return false;
        }
    }
    return true;
}

/// Moves in every side that crosses a see-through texel until none does.
void moveInSeeThroughSides(const Velta::TextureSource& image, Texels& texels)
{
    bool moved = true;
    while (moved && !texels.empty()) {
        moved = false;
        if (!opaqueRow(image, texels, texels.top)) {
            ++texels.top;
            moved = true;
        }
        if (!texels.empty() && !opaqueRow(image, texels, texels.bottom - 1)) {
            --texels.bottom;
            moved = true;
        }
        if (!texels.empty() && !opaqueColumn(image, texels, texels.left)) {
            ++texels.left;
            moved = true;
        }
        if (!texels.empty() && !opaqueColumn(image, texels, texels.right - 1)) {
            --texels.right;
            moved = true;
        }
    }
}

} // namespace

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

std::optional<Velta::Overlay::Area> OverlayQuads::findOpaqueArea(const Quad& quad, const Velta::TextureSource& image,
                                                                 float x, float y)
{
    const int width = static_cast<int>(image.getTextureInfo().getWidth());
    const int height = static_cast<int>(image.getTextureInfo().getHeight());
    if (!image.getTextureData() || width <= 0 || height <= 0 || !(quad.uMin < quad.uMax) ||
        !(quad.vMin < quad.vMax)) {
        return std::nullopt;
    }
    // Every texel the quad shows, whole or in part.
    const auto edge = [](float at, int size) {
        return static_cast<int>(std::clamp(at, 0.0f, static_cast<float>(size)));
    };
    Texels texels{edge(std::floor(quad.uMin * width), width), edge(std::ceil(quad.uMax * width), width),
                  edge(std::floor(quad.vMin * height), height), edge(std::ceil(quad.vMax * height), height)};
    moveInSeeThroughSides(image, texels);
    for (int inside = texels.top; inside < texels.bottom; ++inside) {
        if (!opaqueRow(image, texels, inside)) {
            return std::nullopt;
        }
    }
    texels = {texels.left + 1, texels.right - 1, texels.top + 1, texels.bottom - 1};
    if (texels.empty()) {
        return std::nullopt;
    }
    // u runs from the quad's left to its right, v from its top down.
    const auto xAt = [&](int column) {
        const float u = static_cast<float>(column) / static_cast<float>(width);
        return x + quad.xMin + (u - quad.uMin) / (quad.uMax - quad.uMin) * (quad.xMax - quad.xMin);
    };
    const auto yAt = [&](int row) {
        const float v = static_cast<float>(row) / static_cast<float>(height);
        return y + quad.yMax - (v - quad.vMin) / (quad.vMax - quad.vMin) * (quad.yMax - quad.yMin);
    };
    return Velta::Overlay::Area{std::max(xAt(texels.left), x + quad.xMin),
                                std::max(yAt(texels.bottom), y + quad.yMin),
                                std::min(xAt(texels.right), x + quad.xMax),
                                std::min(yAt(texels.top), y + quad.yMax)};
}

} // namespace Ripplejet
