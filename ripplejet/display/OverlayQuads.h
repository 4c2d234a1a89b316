#pragma once

#include "cpplib/SharedPtr.h"
#include "scene/Overlay.h"

#include <initializer_list>
#include <memory>
#include <optional>
#include <string>

namespace Velta {
class GeometryData;
class GeometryObject;
class Material;
class Texture2D;
class TextureSource;
class VertexData;
} // namespace Velta

namespace Ripplejet {

/// The head-up display's flat quads, in overlay coordinates (0 to 1 across
/// the screen, y up), and the objects and materials that show them.
///
/// Every quad has four vertices, (x min, y min), (x max, y min),
/// (x max, y max), (x min, y max), at its depth, with the texture
/// coordinates (u min, v max), (u max, v max), (u max, v min),
/// (u min, v min) given alike to each texture unit: the smaller v lies at
/// the top edge, where an image's first row is.
class OverlayQuads {
public:
    struct Quad {
        float xMin, xMax, yMin, yMax, z;
        float uMin, uMax, vMin, vMax;
    };

    /// Vertices of quad `quad` in its geometry: 4 × quad to 4 × quad + 3.
    static constexpr unsigned int VERTICES_PER_QUAD = 4;

    /// One geometry of the quads (at least one), with `units` texture-coordinate layers
    /// (units 0 to units − 1); quad i is drawn with material index i.
    /// Bounded by the quads as built.
    static CppLib::SharedPtr<Velta::GeometryData> create(const std::string& name, std::initializer_list<Quad> quads,
                                                         unsigned int units);

    /// Gives quad `quad` the coordinates (u min, v max), (u max, v max),
    /// (u max, v min), (u min, v min) on texture unit `unit` (its layer).
    /// The caller marks the data modified.
    static void setTexCoordinates(Velta::VertexData& vertices, unsigned int quad, unsigned int unit, float uMin,
                                  float uMax, float vMin, float vMax);

    /// A material for the overlay: the textures on units 0, 1, … in order,
    /// blended over what is behind by their alpha, without the alpha test.
    static CppLib::SharedPtr<Velta::Material> createMaterial(
        std::initializer_list<CppLib::SharedPtr<Velta::Texture2D>> textures);

    /// Where `quad`, placed at (x, y) and showing `image`, is wholly opaque:
    /// the biggest rectangle of texels of alpha 1 found by moving in each
    /// side of the quad's texture rectangle that crosses a see-through
    /// texel (a panel with rounded corners loses the corners' width all
    /// round), less one texel all round, which linear filtering reads as a
    /// neighbour. None when no texel inside that rectangle is left, or a
    /// see-through texel lies inside it.
    static std::optional<Velta::Overlay::Area> findOpaqueArea(const Quad& quad, const Velta::TextureSource& image,
                                                              float x, float y);

    /// An object showing `geometry` with material i for material index i.
    static std::unique_ptr<Velta::GeometryObject> createObject(
        const std::string& name, const CppLib::SharedPtr<Velta::GeometryData>& geometry,
        std::initializer_list<CppLib::SharedPtr<Velta::Material>> materials);
};

} // namespace Ripplejet
