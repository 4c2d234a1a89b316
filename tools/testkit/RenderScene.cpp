#include "testkit/RenderScene.h"

#include "cpplib/CowMemPtr.h"
#include "geometry/GeometryDataGroup.h"
#include "geometry/GeometryObject.h"
#include "geometry/GeometrySubobject.h"
#include "geometry/IndexedTriangles.h"
#include "geometry/VertexData.h"
#include "resource/RenderSettings.h"
#include "resource/Texture2D.h"
#include "resource/TextureData.h"
#include "scene/BoundingBox.h"
#include "scene/Branch.h"
#include "scene/SceneRoot.h"
#include "scene/TransformationNode.h"

#include <cstring>

namespace RenderTest {

using namespace Velta;

CppLib::SharedPtr<GeometryData> makeQuad(float x0, float y0, float x1, float y1, float z, const Color& color,
                                         const CppLib::TVector<float, 3>& normal, unsigned int layers)
{
    CppLib::SharedPtr<GeometryData> geometry(new GeometryData("quad"));
    CppLib::SharedPtr<VertexData> vertices(new VertexData());
    vertices->setUseColor(true);
    vertices->setUseNormal(true);
    vertices->setUseTexCoordinates(true);
    for (unsigned int layer = 0; layer < layers; ++layer) {
        vertices->addTextureIndex(layer);
    }
    vertices->initialize(4, 4);
    const float corners[4][4] = {{x0, y0, 0, 0}, {x1, y0, 1, 0}, {x1, y1, 1, 1}, {x0, y1, 0, 1}};
    for (const auto& corner : corners) {
        vertices->addVertex();
        vertices->setVertex(corner[0], corner[1], z);
        vertices->setColor(color);
        vertices->setNormal(normal.x(), normal.y(), normal.z());
        for (unsigned int layer = 0; layer < layers; ++layer) {
            vertices->setTexCoordinate(corner[2], corner[3], layer);
        }
    }
    geometry->setIndexedVertexData(vertices);
    auto* triangles = new IndexedTriangles(6);
    triangles->addTriangle(0, 1, 2);
    triangles->addTriangle(0, 2, 3);
    geometry->createGroup().addElement(*triangles);
    geometry->setBoundingVolume(new BoundingBox(Point(x0, y0, z), Point(x1, y1, z)));
    return geometry;
}

CppLib::SharedPtr<Material> makeMaterial(bool blended)
{
    CppLib::SharedPtr<Material> material(new Material());
    material->setUseMaterialColor(true);
    material->setUseAlphaTest(false);
    material->setUseBlending(blended);
    return material;
}

CppLib::SharedPtr<Texture2D> makeTexture(unsigned int width, unsigned int height, Color::Format format,
                                        const std::vector<unsigned char>& bytes)
{
    const TextureInfo info(width, height, 1, format, DataType::UNSIGNED_BYTE);
    CppLib::CowMemPtr<void> block;
    block.alloc(static_cast<unsigned int>(bytes.size()));
    std::memcpy(block.get(), bytes.data(), bytes.size());
    CppLib::SharedPtr<TextureSource> source(new TextureData(info, block));
    return CppLib::SharedPtr<Texture2D>(new Texture2D(source));
}

CppLib::SharedPtr<Camera> SceneBuilder::addCamera()
{
    CppLib::SharedPtr<Camera> camera(new Camera("camera"));
    mScene->getRoot()->attachChild(*camera);
    return camera;
}

CppLib::SharedPtr<Camera> SceneBuilder::addCamera(bool lights, bool fog)
{
    CppLib::SharedPtr<Camera> camera = addCamera();
    CppLib::SharedPtr<RenderSettings> settings(new RenderSettings());
    settings->setUseLights(lights);
    settings->setUseFog(fog);
    camera->getCamSettings().setRenderSettings(settings);
    return camera;
}

GeometryObject& SceneBuilder::addObject(const CppLib::SharedPtr<Geometry>& geometry,
                                        const CppLib::SharedPtr<Material>& material)
{
    auto* object = new GeometryObject("object");
    mNodes.emplace_back(object);
    auto subobject = std::make_unique<GeometrySubobject>("subobject");
    subobject->setGeometry(geometry, 0);
    object->addSubobject(std::move(subobject));
    object->setDefaultMaterial(0, material);
    mScene->getRoot()->attachChild(*object);
    return *object;
}

Light& SceneBuilder::addLight(Light::LightType type, const CppLib::TVector<float, 3>& position)
{
    auto* holder = new TransformationNode("light holder");
    mNodes.emplace_back(holder);
    holder->translate(position.x(), position.y(), position.z(), true);
    auto* light = new Light("light");
    mNodes.emplace_back(light);
    light->setLightType(type);
    holder->setChild(*light);
    mScene->getRoot()->attachChild(*holder);
    return *light;
}

} // namespace RenderTest
