#pragma once

#include "cpplib/SharedPtr.h"
#include "cpplib/TVector.h"
#include "title/DemoValley.h"

#include <memory>
#include <string>
#include <vector>

namespace Velta {
class Branch;
class GeometrySubobject;
class Node;
class ParticleEngine;
class TransformationNode;
class VelocityModifier;
} // namespace Velta

namespace Ripplejet {

/// The world of the title scene: the valley with its river, a start banner
/// between traffic lights, buoys, boathouses and stones, the racing ducks
/// turning slowly on the water below the items they race for, sparkles
/// rising from the leader's item, two lights and the sky. Everything is
/// made from the generated game data.
///
/// Owns the nodes it makes, the sparkles and the spin modifiers it
/// registers with the event manager; the modifiers are switched off when the
/// scenery goes, since the event manager keeps them until the engine stops.
/// Build while the engine runs; destroy before it stops.
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

    /// Moves the sparkles on to `timestamp` (milliseconds); once a frame.
    void update(long long timestamp);

    /// Models placed, and models asked for that could not be loaded.
    int getModelCount() const { return mModelCount; }
    int getMissingModelCount() const { return mMissingModelCount; }

    const DemoValley& getValley() const { return mValley; }
    /// Null before build().
    const Velta::ParticleEngine* getSparkles() const { return mSparkles.get(); }

private:
    void buildLights(Velta::Branch& root);
    void buildScenery(Velta::Branch& root);
    void buildRacers(Velta::Branch& root);
    void buildSparkles(Velta::Branch& root, const Vec3& position);
    void buildSky(Velta::Branch& root);

    /// Puts `node`, made here, into the scenery's keeping.
    template <typename T>
    T& keep(std::unique_ptr<T> node);

    /// Places a model: scaled by `scale`, turned by `turn` radians about y
    /// and moved to `position`; when `spin` is not 0 it keeps turning about
    /// its own vertical axis at that many radians a second. Answers the node
    /// that holds the model, or null when the model cannot be loaded.
    Velta::TransformationNode* placeModel(Velta::Branch& root, const std::string& file, const Vec3& position,
                                          const Vec3& scale, float turn, float spin = 0.0f);
    /// The same on the ground at (x, z), raised by `lift`.
    Velta::TransformationNode* placeOnGround(Velta::Branch& root, const std::string& file, float x, float z,
                                             float lift, const Vec3& scale, float turn);
    void addSpin(Velta::TransformationNode& node, float radiansPerSecond);

    DemoValley mValley;
    std::vector<std::unique_ptr<Velta::Node>> mNodes;
    std::vector<CppLib::SharedPtr<Velta::VelocityModifier>> mModifiers;
    std::unique_ptr<Velta::ParticleEngine> mSparkles;
    Velta::GeometrySubobject* mSparklePoints = nullptr; ///< owned by its object
    int mModelCount = 0;
    int mMissingModelCount = 0;
};

} // namespace Ripplejet
