#include "plugins/loader/ms3d/Ms3dObjectLoader.h"

#include "core/VeltaCore.h"
#include "cpplib/Logger.h"
#include "geometry/GeometryData.h"
#include "geometry/GeometryDataGroup.h"
#include "geometry/GeometryManager.h"
#include "geometry/IndexedTriangles.h"
#include "geometry/VertexData.h"
#include "plugins/loader/ms3d/Ms3dModel.h"
#include "plugins/loader/ms3d/Ms3dObjectFactory.h"
#include "resource/Material.h"
#include "resource/NativePath.h"
#include "resource/ResourceFile.h"
#include "resource/ResourceManager.h"
#include "resource/Texture2D.h"
#include "resource/TextureManager.h"
#include "resource/TextureSource.h"
#include "scene/BoundingBox.h"

#include <algorithm>

namespace Velta {

using CppLib::SharedPtr;

namespace {

const char* const LOGGER_NAME = "loader.ms3d.objectloader";

/// Vertices added at a time should the data outgrow its first allocation.
const int VERTEX_GROW_STEP = 12;

void reportFailure(const std::string& message)
{
    VeltaCore::getLogger(LOGGER_NAME)->error(message);
}

/// Why the model was refused, as one line.
std::string failureText(Ms3dModel::Status status, const std::string& fileName, const std::string& problem)
{
    switch (status) {
    case Ms3dModel::NOT_A_MODEL:
        return "Error loading ms3d file: Not a valid Milkshape3D model file.";
    case Ms3dModel::UNSUPPORTED_VERSION:
        return "Error loading ms3d file: Unhandled file version. Only Milkshape3D Version 1.3 and 1.4 is supported.";
    default:
        return "Error loading ms3d file " + fileName + ": " + problem;
    }
}

/// Every corner of every triangle as a vertex of its own, in triangle order,
/// with its normal and texture coordinates (layer 0, t as stored).
SharedPtr<VertexData> buildVertices(const Ms3dModel& model, BoundingBox& bound)
{
    const std::vector<Ms3dModel::Triangle>& triangles = model.getTriangles();
    const std::vector<float>& positions = model.getPositions();
    SharedPtr<VertexData> vertices(new VertexData());
    vertices->setUseNormal(true);
    vertices->setUseTexCoordinates(true);
    vertices->addTextureIndex(0);
    vertices->initialize(static_cast<int>(triangles.size() * 3), VERTEX_GROW_STEP);

    float low[3] = {0.0f, 0.0f, 0.0f};
    float high[3] = {0.0f, 0.0f, 0.0f};
    for (const Ms3dModel::Triangle& triangle : triangles) {
        for (int k = 0; k < 3; ++k) {
            const float* position = &positions[triangle.vertices[k] * 3u];
            vertices->addVertex();
            vertices->setVertex(position[0], position[1], position[2]);
            vertices->setNormal(triangle.normals[k][0], triangle.normals[k][1], triangle.normals[k][2]);
            vertices->setTexCoordinate(triangle.s[k], triangle.t[k], 0);
            const bool first = vertices->getCount() == 1;
            for (int axis = 0; axis < 3; ++axis) {
                low[axis] = first ? position[axis] : std::min(low[axis], position[axis]);
                high[axis] = first ? position[axis] : std::max(high[axis], position[axis]);
            }
        }
    }
    if (!triangles.empty()) {
        bound.set(Point(low[0], low[1], low[2]), Point(high[0], high[1], high[2]));
    }
    return vertices;
}

/// One group per group of the file, its triangles as one triangle list over
/// the corners recorded by buildVertices().
void buildGroups(const Ms3dModel& model, GeometryData& geometry)
{
    for (const Ms3dModel::Group& source : model.getGroups()) {
        GeometryDataGroup& group = geometry.createGroup();
        IndexedTriangles* element = new IndexedTriangles(static_cast<unsigned int>(source.triangles.size() * 3));
        for (const unsigned int triangle : source.triangles) {
            element->addTriangle(triangle * 3, triangle * 3 + 1, triangle * 3 + 2);
        }
        group.addElement(*element);
        // No material (-1) becomes the all-ones index, which no material has.
        group.setMaterialIndex(static_cast<unsigned int>(source.material));
    }
}

SharedPtr<GeometryData> buildGeometry(const std::string& name, const Ms3dModel& model)
{
    SharedPtr<GeometryData> geometry(new GeometryData(name));
    BoundingBox* bound = new BoundingBox();
    geometry->setIndexedVertexData(buildVertices(model, *bound));
    geometry->setBoundingVolume(bound);
    buildGroups(model, *geometry);
    return geometry;
}

Color colour(const float rgba[4])
{
    return Color(rgba[0], rgba[1], rgba[2], rgba[3]);
}

/// The model's materials in file order. A texture name the texture manager
/// cannot load leaves its material untextured (the manager reports it once).
CppLib::Vector<SharedPtr<Material>> buildMaterials(const Ms3dModel& model, TextureManager& textures)
{
    CppLib::Vector<SharedPtr<Material>> materials;
    for (const Ms3dModel::Material& source : model.getMaterials()) {
        SharedPtr<Material> material(new Material());
        material->setAmbientMaterialColor(colour(source.ambient));
        material->setDiffuseMaterialColor(colour(source.diffuse));
        material->setSpecularMaterialColor(colour(source.specular));
        // An empty name means no texture, not an image to look for.
        if (!source.texture.empty()) {
            const SharedPtr<TextureSource> image = textures.getTextureSource(source.texture);
            if (!image.isNull()) {
                SharedPtr<Texture2D> texture(new Texture2D(image));
                texture->setGenerateMipMaps(true);
                texture->setAllFilters(Texture::TRILINEAR);
                material->setTexture(0, texture);
            }
        }
        materials.append(material);
    }
    return materials;
}

} // namespace

Ms3dObjectLoader::Ms3dObjectLoader() = default;
Ms3dObjectLoader::~Ms3dObjectLoader() = default;

bool Ms3dObjectLoader::initialize()
{
    mInitialized = true;
    return true;
}

bool Ms3dObjectLoader::shutdown()
{
    mInitialized = false;
    return true;
}

bool Ms3dObjectLoader::canLoad(const NameMapper::ResourceInfo& info) const
{
    return info.extension == "ms3d";
}

SharedPtr<ObjectFactory> Ms3dObjectLoader::load(const NameMapper::ResourceInfo& info)
{
    std::vector<unsigned char> bytes;
    if (!ResourceFile::readAll(info.fileName, bytes)) {
        reportFailure("Error loading ms3d file " + NativePath::fromResourcePath(info.fileName));
        return {};
    }
    return load(info, bytes);
}

SharedPtr<ObjectFactory> Ms3dObjectLoader::load(const NameMapper::ResourceInfo& info,
                                                const std::vector<unsigned char>& bytes)
{
    Ms3dModel model;
    std::string problem;
    const Ms3dModel::Status status = model.read(bytes.data(), bytes.size(), problem);
    if (status != Ms3dModel::OK) {
        reportFailure(failureText(status, NativePath::fromResourcePath(info.fileName), problem));
        return {};
    }
    ResourceManager& resources = VeltaCore::getSingleton().getResourceManager();
    const SharedPtr<GeometryData> geometry = buildGeometry(info.name, model);
    resources.getGeometryManager().registerGeometry(info.name, geometry);
    return SharedPtr<ObjectFactory>(
        new Ms3dObjectFactory(info.name, geometry, buildMaterials(model, resources.getTextureManager())));
}

} // namespace Velta
