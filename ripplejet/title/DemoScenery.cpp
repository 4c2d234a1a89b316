#include "title/DemoScenery.h"

#include "core/EventManager.h"
#include "core/VeltaCore.h"
#include "geometry/GeometryObject.h"
#include "geometry/GeometrySubobject.h"
#include "particles/LinearForceModel.h"
#include "particles/ParticleEngine.h"
#include "particles/PointEmitter.h"
#include "particles/VelocityModifier.h"
#include "resource/Material.h"
#include "resource/RenderSettings.h"
#include "resource/ObjectManager.h"
#include "resource/ResourceManager.h"
#include "resource/Texture2D.h"
#include "resource/TextureManager.h"
#include "scene/Branch.h"
#include "scene/Light.h"
#include "scene/ObjectNode.h"
#include "scene/TransformationNode.h"

namespace Ripplejet {

namespace {

constexpr float PI = 3.1415927f;

/// Ducks ride this high, items hover this high.
constexpr float WATERLINE = DemoValley::WATER_LEVEL + 0.06f;
constexpr float ITEM_HEIGHT = 2.4f;

Velta::VeltaCore& core()
{
    return Velta::VeltaCore::getSingleton();
}

float riverZ(float x, float across)
{
    return DemoValley::getRiverCentre(x) + across;
}

} // namespace

DemoScenery::DemoScenery() = default;

DemoScenery::~DemoScenery()
{
    // The event manager keeps running them until the engine stops; they
    // must not move nodes that are gone.
    for (const auto& modifier : mModifiers) {
        modifier->setState(Velta::LogicElement::INACTIVE);
    }
}

template <typename T>
T& DemoScenery::keep(std::unique_ptr<T> node)
{
    T& kept = *node;
    mNodes.push_back(std::move(node));
    return kept;
}

void DemoScenery::build(Velta::Branch& root)
{
    buildLights(root);
    mValley.build(root);
    buildScenery(root);
    buildRacers(root);
    buildSky(root);
}

void DemoScenery::buildLights(Velta::Branch& root)
{
    // Low sunlight from over the near bank, and a softer fill light with a
    // warm ambient part so the shadowed sides are not black.
    auto& sun = keep(std::make_unique<Velta::Light>("sun"));
    sun.setLightType(Velta::Light::DIRECTIONAL);
    sun.setLinearAttenuation(0.01f);
    auto& sunNode = keep(std::make_unique<Velta::TransformationNode>("sun"));
    sunNode.setChild(sun);
    sunNode.translate(-3.0f, 3.0f, 3.0f, false);
    sunNode.rotateX(-2.5132742f, false);
    sunNode.rotateY(0.7853982f, false);
    root.attachChild(sunNode);

    auto& fill = keep(std::make_unique<Velta::Light>("fill"));
    fill.setLightType(Velta::Light::DIRECTIONAL);
    fill.setAmbientColor(Velta::Color(0.42f, 0.38f, 0.4f, 1.0f));
    fill.setDiffuseColor(Velta::Color(1.0f, 1.0f, 1.0f, 1.0f));
    fill.setLinearAttenuation(0.01f);
    auto& fillNode = keep(std::make_unique<Velta::TransformationNode>("fill"));
    fillNode.setChild(fill);
    fillNode.translate(-3.0f, 3.0f, 3.0f, false);
    fillNode.rotateX(-2.5132742f, false);
    root.attachChild(fillNode);
}

void DemoScenery::buildScenery(Velta::Branch& root)
{
    const float bank = DemoValley::BANK_TOP + 0.3f;
    // The start: a banner across the river between two traffic lights.
    placeModel(root, "banner.ms3d", {-8, 1.9f, riverZ(-8, 0)}, {2.6f, 2.0f, 2.6f}, PI / 2);
    placeOnGround(root, "traffic.ms3d", -8.6f, riverZ(-8.6f, bank), 0, {1.6f, 1.6f, 1.6f}, PI / 2);
    placeOnGround(root, "traffic.ms3d", -8.6f, riverZ(-8.6f, -bank), 0, {1.6f, 1.6f, 1.6f}, PI / 2);
    // Buoys along both sides of the river, and the finish downstream.
    for (float x : {-3.0f, 4.0f, 11.0f, 18.0f, 25.0f}) {
        placeModel(root, "bumper.ms3d", {x, 0.25f, riverZ(x, 5.0f)}, {3, 3, 3}, 0);
        placeModel(root, "bumper.ms3d", {x + 3.5f, 0.25f, riverZ(x + 3.5f, -5.0f)}, {3, 3, 3}, 0);
    }
    placeModel(root, "finishbanner.ms3d", {48, 1.9f, riverZ(48, 0)}, {2.6f, 2.0f, 2.6f}, PI / 2);
    placeModel(root, "catchmesh.ms3d", {52, 1.2f, riverZ(52, 0)}, {2.5f, 2.5f, 2.5f}, PI / 2);
    // Boathouses and stones on the banks; a house shows its stone base.
    placeOnGround(root, "finishhouse.ms3d", 5, riverZ(5, -13), 1.6f, {3.2f, 3.2f, 3.2f}, 0);
    placeOnGround(root, "finishhouse.ms3d", -20, riverZ(-20, -16), 1.6f, {3.2f, 3.2f, 3.2f}, 0.5f);
    placeOnGround(root, "finishhouse.ms3d", 30, riverZ(30, 13), 1.6f, {3.2f, 3.2f, 3.2f}, PI + 0.3f);
    placeOnGround(root, "stone1.ms3d", 13, riverZ(13, 10), 0, {2.0f, 1.5f, 1.8f}, 0.4f);
    placeOnGround(root, "stone1.ms3d", -15, riverZ(-15, 11), 0, {3.0f, 2.0f, 2.5f}, 2.1f);
    placeOnGround(root, "stone1.ms3d", 21, riverZ(21, -10), 0, {1.5f, 1.2f, 1.5f}, 1.2f);
    placeOnGround(root, "stone1.ms3d", -2, riverZ(-2, 22), 0, {4.0f, 3.0f, 3.5f}, 0.8f);
}

void DemoScenery::buildRacers(Velta::Branch& root)
{
    struct Racer {
        const char* duck;
        const char* item;
        float x, across;
        float itemScale;
        float spin;
    };
    // A V of ducks heading downstream (+x), each under the item it races
    // for; ducks and items turn at their own pace.
    const Racer racers[] = {
        {"mallard.ms3d", "medicare.ms3d", 1.5f, 0.0f, 0.5f, 0.5f},
        {"rallye.ms3d", "oxygen.ms3d", -1.0f, 2.3f, 0.5f, -0.6f},
        {"rallye2.ms3d", "pulso.ms3d", -1.0f, -2.3f, 0.7f, 0.7f},
        {"meister.ms3d", "banana.ms3d", -3.5f, 3.8f, 0.12f, -0.45f},
        {"velta.ms3d", "banana.ms3d", -3.5f, -3.8f, 0.12f, 0.55f},
    };
    for (const Racer& racer : racers) {
        const float z = riverZ(racer.x, racer.across);
        placeModel(root, racer.duck, {racer.x, WATERLINE, z}, {1.5f, 1.5f, 1.5f}, 0, racer.spin);
        const float s = racer.itemScale;
        placeModel(root, racer.item, {racer.x, ITEM_HEIGHT, z}, {s, s, s}, 0, -2.0f * racer.spin);
    }
    buildSparkles(root, {racers[0].x, ITEM_HEIGHT, riverZ(racers[0].x, racers[0].across)});
}

void DemoScenery::buildSparkles(Velta::Branch& root, const Vec3& position)
{
    // Stars drifting up from the leader's item and fading out.
    auto* emitter = new Velta::PointEmitter();
    emitter->setInitPointCount(10);
    emitter->setPointsPerSecond(18.0f);
    emitter->setPointAge(900, 1800);
    emitter->setSphereSize(0.0f, 1.2f);
    emitter->setInitialVelocity(Vec3(0.0f, 0.9f, 0.0f));
    auto* force = new Velta::LinearForceModel();
    force->setExtForce(Vec3(0.0f, 0.3f, 0.0f));
    force->setRandomForce(Vec3(0.08f, 0.02f, 0.08f));
    mSparkles = std::make_unique<Velta::ParticleEngine>();
    mSparkles->setEmitter(CppLib::SharedPtr<Velta::ParticleEngine::Emitter>(emitter));
    mSparkles->setForceModel(CppLib::SharedPtr<Velta::ParticleEngine::ForceModel>(force));
    mSparkles->initialize();
    mSparkles->start();

    CppLib::SharedPtr<Velta::Material> material(new Velta::Material());
    material->setUsePointSprites(true);
    material->setSpriteSize(18.0f);
    material->setUseAlphaTest(false);
    material->setUseBlending(true);
    material->setUseMaterialColor(true);
    const CppLib::SharedPtr<Velta::TextureSource> star =
        core().getResourceManager().getTextureManager().getTextureSource("particles\\krankheit.png");
    if (!star.isNull()) {
        material->setTexture(0, CppLib::SharedPtr<Velta::Texture>(new Velta::Texture2D(star)));
    }
    auto& object = keep(std::make_unique<Velta::GeometryObject>("sparkles"));
    auto points = std::make_unique<Velta::GeometrySubobject>("sparkles");
    points->setGeometry(mSparkles->getParticleData().getGeometryData(), 0);
    mSparklePoints = object.addSubobject(std::move(points));
    object.setDefaultMaterial(0, material);
    auto& place = keep(std::make_unique<Velta::TransformationNode>("sparkles"));
    place.setChild(object);
    place.translate(position.x(), position.y(), position.z(), false);
    root.attachChild(place);
}

void DemoScenery::buildSky(Velta::Branch& root)
{
    // The dome is made upside down; turned back about x, as the course does.
    Velta::TransformationNode* sky = placeModel(root, "sky.ms3d", {0, -20, 0}, {900, 900, 900}, 0);
    if (!sky) {
        return;
    }
    sky->rotateX(-PI, true);
    // Opaque surfaces are drawn in the order they were attached: last, the
    // sky is drawn only where nothing covers it. Without the alpha test the
    // renderer can drop the covered part before texturing it. The sky gives
    // its own light: drawn unlit, like the course's.
    auto* dome = dynamic_cast<Velta::GeometryObject*>(sky->getChild());
    if (dome && !dome->getDefaultMaterial(0).isNull()) {
        CppLib::SharedPtr<Velta::Material> material(new Velta::Material(*dome->getDefaultMaterial(0)));
        material->setUseAlphaTest(false);
        CppLib::SharedPtr<Velta::RenderSettings> unlit(new Velta::RenderSettings());
        unlit->setUseLights(false);
        material->setRenderSettings(unlit);
        dome->setDefaultMaterial(0, material);
    }
}

void DemoScenery::update(long long timestamp)
{
    if (!mSparkles) {
        return;
    }
    mSparkles->update(timestamp);
    // The particles drift within a still node: hand the geometry over again
    // so the node takes their new bound.
    if (mSparklePoints) {
        mSparklePoints->setGeometry(mSparkles->getParticleData().getGeometryData(), 0);
    }
}

Velta::TransformationNode* DemoScenery::placeModel(Velta::Branch& root, const std::string& file,
                                                   const Vec3& position, const Vec3& scale, float turn, float spin)
{
    Velta::ObjectNode* model = core().getResourceManager().getObjectManager().createObject(file);
    if (!model) {
        ++mMissingModelCount;
        return nullptr;
    }
    ++mModelCount;
    Velta::Node& object = keep(std::unique_ptr<Velta::Node>(model));
    auto& spinner = keep(std::make_unique<Velta::TransformationNode>(file));
    spinner.setChild(object);
    spinner.scale(scale.x(), scale.y(), scale.z(), false);
    auto& place = keep(std::make_unique<Velta::TransformationNode>(file));
    place.setChild(spinner);
    place.rotateY(turn, false);
    place.translate(position.x(), position.y(), position.z(), false);
    root.attachChild(place);
    if (spin != 0.0f) {
        addSpin(spinner, spin);
    }
    return &spinner;
}

Velta::TransformationNode* DemoScenery::placeOnGround(Velta::Branch& root, const std::string& file, float x,
                                                      float z, float lift, const Vec3& scale, float turn)
{
    return placeModel(root, file, {x, DemoValley::getGroundHeight(x, z) + lift, z}, scale, turn);
}

void DemoScenery::addSpin(Velta::TransformationNode& node, float radiansPerSecond)
{
    CppLib::SharedPtr<Velta::VelocityModifier> modifier(new Velta::VelocityModifier(node));
    modifier->setRotateY(radiansPerSecond);
    modifier->setState(Velta::LogicElement::ACTIVE);
    core().getEventManager().registerModifier(CppLib::SharedPtr<Velta::Modifier>(modifier));
    mModifiers.push_back(modifier);
}

} // namespace Ripplejet
