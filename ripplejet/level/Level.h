#pragma once

#include "cpplib/Point.h"
#include "cpplib/SharedPtr.h"
#include "input/InputProcessor.h"
#include "items/SparkleMaterials.h"
#include "level/NodeStore.h"
#include "particles/ParticleEngine.h"

#include <memory>
#include <string>
#include <vector>

namespace Velta {
class Camera;
class InputEvent;
class Modifier;
class Node;
class Overlay;
class SceneRoot;
class SoundChannel;
class Terrain;
class Transformation;
class Water;
} // namespace Velta

namespace Ripplejet {

class Duck;
class DuckFollower;
class DuckModifier;
class Item;

/// A playable level as the window manager drives it: loaded once, started
/// once, updated every frame with the frame's timestamp, and handed the
/// input events the window manager does not keep (pointer moves already
/// turned into unbounded positions, see WindowManager).
///
/// It owns the course it builds: the terrain, the river, the item sparkles'
/// particle engine, the ducks, the items, the camera follower and every
/// node, and it switches off the logic elements it registered when it goes
/// (the event manager keeps them until the engine stops). The builders below
/// are what a concrete level calls while it loads.
///
/// Made by the level manager; the application owns it and destroys it before
/// the engine stops. It is never registered with the input manager itself:
/// the window manager forwards to it.
class Level : public Velta::InputProcessor {
public:
    /// What a level says about itself; nothing fills it yet.
    struct LevelInfo {
        std::string name;
        std::string description;
    };

    /// Needs a started engine core (the processor id comes from its input
    /// manager).
    Level();
    ~Level() override;

    /// Consumes every event it is given; what it does with them is the
    /// level's.
    bool processInputEvent(Velta::InputEvent& event) override = 0;

    virtual LevelInfo& getLevelInfo() { return mLevelInfo; }

    /// Builds the level's scene; false when it cannot be played. Loading
    /// again after a success changes nothing and answers true.
    virtual bool load() = 0;

    /// Called once after a successful load, before the first frame that
    /// shows the level.
    virtual void start() = 0;

    /// The camera the level is seen through; empty before load().
    virtual CppLib::SharedPtr<Velta::Camera> getCamera() = 0;

    /// Called at the start of every frame, loaded or not, with the frame's
    /// timestamp (milliseconds), before the engine runs its subsystems.
    /// Moves the items' sparkles on.
    virtual void update(long long timestamp);

    /// Told by the player's duck that the race is over, won or lost; the
    /// base ignores it.
    virtual void raceOver(bool won);

    /// How the race stands: "won", "lost" or, while it runs or before it
    /// starts, "unfinished"; the base never races.
    virtual const char* getRaceResult() const { return "unfinished"; }
    /// The race's time so far or at its end (ms); 0 before the start.
    virtual long long getRaceTime() const { return 0; }
    /// The player's duck's simulation, for an autopilot; null without one.
    virtual DuckModifier* getPlayerModifier() const { return nullptr; }

    /// Null before the course is built.
    Velta::Terrain* getTerrain() const { return mTerrain; }
    Velta::Water* getWater() const { return mWater; }
    Velta::ParticleEngine& getItemParticles() { return mItemParticles; }

    /// Every item and duck made so far, in the order made.
    const std::vector<std::unique_ptr<Item>>& getItems() const { return mItems; }
    const std::vector<std::unique_ptr<Duck>>& getDucks() const { return mDucks; }

protected:
    /// Builds the course (see CourseBuilder) under a branch "level" of the
    /// scene's root, with the items' shared sparkles; answers true.
    bool buildCourse(Velta::SceneRoot& scene);

    /// A camera for the course: smooth shading, lights on, fog off, 50
    /// degrees of vertical field of view, from 0.5 to 2000 units.
    CppLib::SharedPtr<Velta::Camera> createCamera();

    /// Gives `camera` an overlay (flat shading, no lights) showing the
    /// duck's head-up display, which makes the duck the player's.
    void createHudOverlay(Duck& duck, const CppLib::SharedPtr<Velta::Camera>& camera);

    /// A follower that carries `camera` (held by `cameraPlace`) behind
    /// `target`, following once registered (see registerModifier).
    CppLib::SharedPtr<DuckFollower> createFollower(Velta::Node& target, Velta::Transformation& cameraPlace,
                                                   const CppLib::SharedPtr<Velta::Camera>& camera);

    /// A duck named `name` at `position`, attached to `scene`'s root, with
    /// its modifier registered: simulating when `active`, else held still.
    /// The level owns both; the new duck is stored in `duck`.
    DuckModifier* createDuck(const std::string& name, Velta::SceneRoot& scene, const Velta::Point& position,
                             Duck*& duck, bool active);

    /// A new item of `type` ("health", "oxygen", "bonus", "booster") set up
    /// with the sparkles, owned by the level; null for any other type.
    Item* createItem(const std::string& type);

    /// Registers `modifier` with the event manager and remembers to switch
    /// it off when the level goes.
    void registerModifier(const CppLib::SharedPtr<Velta::Modifier>& modifier);

    NodeStore& getNodes() { return mNodes; }

private:
    void buildItemParticles();

    LevelInfo mLevelInfo;
    Velta::Terrain* mTerrain = nullptr;
    Velta::Water* mWater = nullptr;
    Velta::Overlay* mHudOverlay = nullptr;
    Velta::ParticleEngine mItemParticles;
    SparkleMaterials mSparkleMaterials;
    std::vector<CppLib::SharedPtr<Velta::SoundChannel>> mLoops;
    std::vector<CppLib::SharedPtr<Velta::Modifier>> mModifiers;
    std::vector<std::unique_ptr<Item>> mItems;
    std::vector<std::unique_ptr<Duck>> mDucks;
    NodeStore mNodes;
};

} // namespace Ripplejet
