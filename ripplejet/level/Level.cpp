#include "level/Level.h"

#include "course/CourseBuilder.h"
#include "display/Hud.h"
#include "duck/Duck.h"
#include "duck/DuckFollower.h"
#include "duck/DuckModifier.h"
#include "items/BonusItem.h"
#include "items/BoosterItem.h"
#include "items/HealthItem.h"
#include "items/OxygenItem.h"

#include "core/EventManager.h"
#include "core/VeltaCore.h"
#include "geometry/GeometryManager.h"
#include "particles/PointEmitter.h"
#include "particles/RotateForceModel.h"
#include "resource/RenderSettings.h"
#include "resource/ResourceManager.h"
#include "scene/Branch.h"
#include "scene/Camera.h"
#include "scene/Overlay.h"
#include "scene/SceneManager.h"
#include "scene/SceneRoot.h"
#include "scene/TransformationNode.h"
#include "sound/SoundChannel.h"

namespace Ripplejet {

namespace {

Velta::VeltaCore& core()
{
    return Velta::VeltaCore::getSingleton();
}

/// The name under which the items' shared sparkles are registered.
const char* const ITEM_PARTICLES = "itemparticles";

/// The camera sits above and behind the duck, looking a little down at it.
constexpr float FOLLOW_HEIGHT = 1.1f;
constexpr float FOLLOW_DISTANCE = 4.0f;
constexpr float FOLLOW_TILT = -0.2617994f;
constexpr float HALF_TURN = 3.1415927f;

constexpr float FIELD_OF_VIEW = 50.0f;
constexpr double FAR_DISTANCE = 2000.0;
/// The depth buffer has 16 bits: a near plane this far out (rather than the
/// camera's 0.1) keeps the river bed apart from the water to well past the
/// finish. The follower keeps the camera farther than this from the ground
/// and the water.
constexpr double NEAR_DISTANCE = 0.5;

} // namespace

Level::Level() : Velta::InputProcessor(-1) {}

Level::~Level()
{
    // Nothing may move the nodes about to go, and a new race must not pay
    // for the old one's modifiers every frame.
    for (const CppLib::SharedPtr<Velta::Modifier>& modifier : mModifiers) {
        modifier->setState(Velta::LogicElement::INACTIVE);
        core().getEventManager().removeModifier(*modifier);
    }
    for (const CppLib::SharedPtr<Velta::SoundChannel>& loop : mLoops) {
        loop->stop();
    }
    // Its nodes are the level's; the overlay lets go of them and of the camera.
    if (mHudOverlay) {
        core().getSceneManager().deleteOverlay(*mHudOverlay);
    }
}

void Level::update(long long timestamp)
{
    mItemParticles.update(timestamp);
}

void Level::raceOver(bool) {}

bool Level::buildCourse(Velta::SceneRoot& scene)
{
    buildItemParticles();
    auto& level = mNodes.keep(std::make_unique<Velta::Branch>("level"));
    scene.getRoot()->attachChild(level);
    CourseBuilder builder(mNodes);
    builder.build(level);
    mTerrain = builder.getTerrain();
    mWater = builder.getWater();
    mLoops = builder.getLoops();
    return true;
}

void Level::buildItemParticles()
{
    // Ten stars circling every item: one set of points that each item draws
    // with its own sprite.
    auto* emitter = new Velta::PointEmitter();
    emitter->setInitPointCount(10);
    emitter->setPointAge(0, 0);
    emitter->setPointsPerSecond(0.0f);
    emitter->setSphereSize(0.6f, 0.9f);
    emitter->setInitialVelocity(CppLib::TVector<float, 3>(0.0f, 0.0f, 0.01f));
    mItemParticles.setForceModel(
        CppLib::SharedPtr<Velta::ParticleEngine::ForceModel>(new Velta::RotateForceModel()));
    mItemParticles.setEmitter(CppLib::SharedPtr<Velta::ParticleEngine::Emitter>(emitter));
    mItemParticles.initialize();
    mItemParticles.start();
    core().getResourceManager().getGeometryManager().registerGeometry(
        ITEM_PARTICLES, mItemParticles.getParticleData().getGeometryData());
}

CppLib::SharedPtr<Velta::Camera> Level::createCamera()
{
    CppLib::SharedPtr<Velta::RenderSettings> settings(new Velta::RenderSettings());
    settings->setShadingMode(Velta::RenderSettings::SHADE_SMOOTH);
    settings->setUseFog(false);
    settings->setUseLights(true);
    CppLib::SharedPtr<Velta::Camera> camera(new Velta::Camera("camera"));
    camera->getCamSettings().setRenderSettings(settings);
    camera->getCamSettings().setFovY(FIELD_OF_VIEW);
    camera->getCamSettings().setNearDistance(NEAR_DISTANCE);
    camera->getCamSettings().setFarDistance(FAR_DISTANCE);
    return camera;
}

void Level::createHudOverlay(Duck& duck, const CppLib::SharedPtr<Velta::Camera>& camera)
{
    CppLib::SharedPtr<Velta::RenderSettings> flat(new Velta::RenderSettings());
    flat->setShadingMode(Velta::RenderSettings::SHADE_FLAT);
    flat->setUseLights(false);
    Velta::Overlay& overlay = core().getSceneManager().createOverlay();
    mHudOverlay = &overlay;
    camera->setOverlay(overlay);
    camera->getOverlaySettings().setRenderSettings(flat);
    if (Velta::Branch* display = duck.createHud()) {
        overlay.getRoot()->attachChild(*display);
        // The scene is not shaded where the display hides it.
        overlay.setOpaqueAreas(duck.getHud()->getOpaqueAreas());
    }
}

CppLib::SharedPtr<DuckFollower> Level::createFollower(Velta::Node& target, Velta::Transformation& cameraPlace,
                                                      const CppLib::SharedPtr<Velta::Camera>& camera)
{
    CppLib::SharedPtr<DuckFollower> follower(new DuckFollower(mTerrain, mWater, camera));
    follower->setSource(target);
    follower->setFollowerTransformation(cameraPlace);
    follower->setState(Velta::LogicElement::ACTIVE);
    Velta::Transformation& offset = follower->getOffsetTransformation();
    offset.translate(0.0f, FOLLOW_HEIGHT, FOLLOW_DISTANCE, false);
    offset.rotateX(FOLLOW_TILT, false);
    offset.rotateY(HALF_TURN, false);
    return follower;
}

DuckModifier* Level::createDuck(const std::string& name, Velta::SceneRoot& scene, const Velta::Point& position,
                                Duck*& duck, bool active)
{
    mDucks.push_back(std::make_unique<Duck>(name));
    duck = mDucks.back().get();
    Velta::TransformationNode* place = duck->createNode();
    place->translate(position.x(), position.y(), position.z(), false);
    scene.getRoot()->attachChild(*place);

    auto* modifier = new DuckModifier(duck, mTerrain, mWater, scene);
    modifier->resetControls();
    modifier->setState(active ? Velta::LogicElement::ACTIVE : Velta::LogicElement::IDLE);
    registerModifier(CppLib::SharedPtr<Velta::Modifier>(modifier));
    return modifier;
}

Item* Level::createItem(const std::string& type)
{
    std::unique_ptr<Item> item;
    if (type == "health") {
        item = std::make_unique<HealthItem>();
    } else if (type == "oxygen") {
        item = std::make_unique<OxygenItem>();
    } else if (type == "bonus") {
        item = std::make_unique<BonusItem>();
    } else if (type == "booster") {
        item = std::make_unique<BoosterItem>();
    } else {
        return nullptr;
    }
    item->setUp(core().getResourceManager().getGeometryManager().getGeometry(ITEM_PARTICLES), mSparkleMaterials);
    mItems.push_back(std::move(item));
    return mItems.back().get();
}

void Level::registerModifier(const CppLib::SharedPtr<Velta::Modifier>& modifier)
{
    core().getEventManager().registerModifier(modifier);
    mModifiers.push_back(modifier);
}

} // namespace Ripplejet
