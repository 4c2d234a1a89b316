#pragma once

#include "cpplib/Color.h"
#include "cpplib/SharedPtr.h"
#include "cpplib/TVector.h"
#include "geometry/GeometryData.h"
#include "resource/Material.h"
#include "scene/Camera.h"
#include "scene/Light.h"

#include <memory>
#include <vector>

namespace Velta {
class GeometryObject;
class Node;
class SceneRoot;
class Texture2D;
} // namespace Velta

namespace RenderTest {

/// A quad from (x0, y0) to (x1, y1) in the plane z, counter-clockwise seen
/// from +z: one colour, the normal given, texture coordinates 0 … 1 across
/// it for units 0 … layers − 1, two triangles, and its bound.
CppLib::SharedPtr<Velta::GeometryData> makeQuad(float x0, float y0, float x1, float y1, float z,
                                                const Velta::Color& color,
                                                const CppLib::TVector<float, 3>& normal = {0.0f, 0.0f, 1.0f},
                                                unsigned int layers = 1);

/// A material that takes its colour from the vertices, with no alpha test.
CppLib::SharedPtr<Velta::Material> makeMaterial(bool blended = false);

/// A `width` × `height` image of unsigned bytes in `format`, from `bytes`
/// (rows from the bottom up).
CppLib::SharedPtr<Velta::Texture2D> makeTexture(unsigned int width, unsigned int height, Velta::Color::Format format,
                                               const std::vector<unsigned char>& bytes);

/// Nodes a test puts into scenes, owned here and destroyed with the builder
/// (each leaves its scene as it goes).
class SceneBuilder {
public:
    explicit SceneBuilder(Velta::SceneRoot& scene) : mScene(&scene) {}

    /// A camera at the origin looking along −z (fields of view 90 degrees),
    /// in the scene.
    CppLib::SharedPtr<Velta::Camera> addCamera();

    /// Such a camera with render settings of its own.
    CppLib::SharedPtr<Velta::Camera> addCamera(bool lights, bool fog = false);

    /// A geometry object showing `geometry` with `material` as its default
    /// material 0, below the scene's root.
    Velta::GeometryObject& addObject(const CppLib::SharedPtr<Velta::Geometry>& geometry,
                                     const CppLib::SharedPtr<Velta::Material>& material);

    /// A light below the scene's root, placed by a transformation node that
    /// is translated to `position`.
    Velta::Light& addLight(Velta::Light::LightType type, const CppLib::TVector<float, 3>& position = {});

private:
    Velta::SceneRoot* mScene;
    std::vector<std::unique_ptr<Velta::Node>> mNodes;
};

} // namespace RenderTest
