#pragma once

#include "cpplib/SharedPtr.h"
#include "cpplib/TVector.h"

#include <memory>
#include <string>
#include <vector>

namespace Velta {
class Branch;
class GeometryData;
class Material;
class Node;
class TransformationNode;
class VelocityModifier;
} // namespace Velta

namespace Ripplejet {

/// The world of the title scene: a stretch of river between grassy banks
/// under the sky, with a start banner, buoys, a boathouse and traffic
/// lights, and the racing ducks turning slowly on the water below the items
/// they race for. Everything is made from the generated game data.
///
/// Owns the nodes it makes and the spin modifiers it registers with the
/// event manager; the modifiers are switched off when the scenery goes,
/// since the event manager keeps them until the engine stops. Build while
/// the engine runs; destroy before it stops.
class DemoScenery {
public:
    using Vec3 = CppLib::TVector<float, 3>;

    DemoScenery();
    ~DemoScenery();

    DemoScenery(const DemoScenery&) = delete;
    DemoScenery& operator=(const DemoScenery&) = delete;

    /// Builds everything below `root`. Models that cannot be loaded are left
    /// out (the object manager says which).
    void build(Velta::Branch& root);

    /// Models placed, and models asked for that could not be loaded.
    int getModelCount() const { return mModelCount; }
    int getMissingModelCount() const { return mMissingModelCount; }

    /// Half the width of the river, which runs along x through the origin.
    static constexpr float RIVER_HALF_WIDTH = 6.0f;

private:
    void buildLights(Velta::Branch& root);
    void buildGround(Velta::Branch& root);
    void buildScenery(Velta::Branch& root);
    void buildRacers(Velta::Branch& root);
    void buildSky(Velta::Branch& root);

    /// A lit, mip-mapped material showing the image `file` (a name under
    /// the textures directory); untextured when the image is missing.
    CppLib::SharedPtr<Velta::Material> makeGroundMaterial(const std::string& file) const;

    /// Adds a geometry object showing `geometry` with `material`.
    void addSurface(Velta::Branch& root, const CppLib::SharedPtr<Velta::GeometryData>& geometry,
                    const CppLib::SharedPtr<Velta::Material>& material);

    /// Puts `node`, made here, into the scenery's keeping.
    template <typename T>
    T& keep(std::unique_ptr<T> node);

    /// Places a model: scaled by `scale`, turned by `turn` radians about y
    /// and moved to `position`; when `spin` is not 0 it keeps turning about
    /// its own vertical axis at that many radians a second. Null when the
    /// model cannot be loaded.
    Velta::TransformationNode* placeModel(Velta::Branch& root, const std::string& file, const Vec3& position,
                                          const Vec3& scale, float turn, float spin = 0.0f);
    void addSpin(Velta::TransformationNode& node, float radiansPerSecond);

    std::vector<std::unique_ptr<Velta::Node>> mNodes;
    std::vector<CppLib::SharedPtr<Velta::VelocityModifier>> mModifiers;
    int mModelCount = 0;
    int mMissingModelCount = 0;
};

} // namespace Ripplejet
