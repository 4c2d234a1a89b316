#pragma once

#include "cpplib/SharedPtr.h"
#include "particles/ParticleEngine.h"

#include <memory>
#include <string>
#include <vector>

namespace Velta {
class Branch;
class Camera;
class Node;
class SceneRoot;
class Terrain;
class TransformationNode;
class Water;
} // namespace Velta

namespace VeltaTest {

/// The game's valley terrain, built the way the level builds it: one tile of
/// 256 × 256 vertices, 512 units on a side, from "heightmap.pcx" with height
/// scale 60, the colour map, the rock base map (every 10 units), the grass
/// (15) and river (20) layers and the slope map as light map (× 0.4 + 0.6).
/// Images come through the core's texture manager, so the core must be set
/// up in a directory that holds the generated textures/.
std::unique_ptr<Velta::Terrain> buildValleyTerrain();

/// The valley as the race shows it at the start, built in `scene` the way
/// the level builds its course: two lights, the terrain, the sky dome, the
/// houses, buoys, banners and traffic lights, twelve stones on the ground,
/// the 58-section river, and the sparkles of 30 items (the level's shared
/// 10-particle geometry drawn at each, 300 particles), with the level's
/// camera placed behind the player's duck at its start point.
///
/// Needs a set-up core whose working directory holds the generated data
/// (textures/ and models/). Models that cannot be created are left out and
/// listed by getMissingModels(). The nodes leave the scene with the object.
class ValleyScene {
public:
    /// Parts that can be taken out of the picture and put back, to see what
    /// each costs.
    enum Part { TERRAIN, WATER, SKY, SCENERY, SPARKLES, PART_COUNT };

    explicit ValleyScene(Velta::SceneRoot& scene);
    ~ValleyScene();

    ValleyScene(const ValleyScene&) = delete;
    ValleyScene& operator=(const ValleyScene&) = delete;

    Velta::Terrain& getTerrain() const { return *mTerrain; }
    Velta::Water& getWater() const { return *mWater; }
    /// The level's camera: smooth shading, lights on, fog off, 50 degrees
    /// vertical field of view, far distance 2000.
    const CppLib::SharedPtr<Velta::Camera>& getCamera() const { return mCamera; }
    const std::vector<std::string>& getMissingModels() const { return mMissingModels; }

    /// Puts the camera behind a duck on the water in the middle of the
    /// river's cross section `section`, facing the next one; section 0 (and
    /// any without a next) is the duck's place at the start, facing +z.
    void placeCamera(unsigned int section);

    /// Switches the camera's fog, as the game does under water.
    void setFog(bool fog);

    /// Shows or hides one part of the scene.
    void setShown(Part part, bool shown);

    /// Advances the item particles to `timestamp` (ms).
    void update(long long timestamp);

private:
    template <typename T>
    T& own(T* node);
    Velta::TransformationNode& place(Velta::Node& child, Velta::Branch& parent);
    void buildLights();
    void buildModels();
    void buildStones();
    void buildWater();
    void buildSparkles();
    void buildCamera(Velta::SceneRoot& scene);
    Velta::Node* addModel(const std::string& file, Velta::Branch& parent);

    Velta::ParticleEngine mItemParticles;
    std::vector<std::unique_ptr<Velta::Node>> mNodes;
    Velta::Branch* mLevel = nullptr;
    Velta::Terrain* mTerrain = nullptr;
    Velta::Water* mWater = nullptr;
    /// The holder of each part below the level branch.
    Velta::Branch* mParts[PART_COUNT] = {};
    bool mShown[PART_COUNT] = {};
    CppLib::SharedPtr<Velta::Camera> mCamera;
    Velta::TransformationNode* mEye = nullptr;
    std::vector<std::string> mMissingModels;
};

} // namespace VeltaTest
