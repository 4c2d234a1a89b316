#include "items/BoosterItem.h"

#include "duck/Duck.h"
#include "level/GameSound.h"

#include "core/VeltaCore.h"
#include "geometry/GeometryObject.h"
#include "geometry/GeometrySubobject.h"
#include "particles/LinearForceModel.h"
#include "particles/PointEmitter.h"
#include "resource/Material.h"
#include "resource/ResourceManager.h"
#include "resource/Texture2D.h"
#include "resource/TextureManager.h"
#include "scene/Branch.h"
#include "scene/TransformationNode.h"

namespace Ripplejet {

namespace {

/// The push along the duck's own forward axis.
const Duck::Vec3 BOOST(0.0f, 0.0f, 5.0f);
/// Smoke comes out beside and behind the duck, in big soft puffs.
constexpr float SMOKE_SIDE = 0.4f;
constexpr float SMOKE_BACK = -0.4f;
constexpr float SMOKE_SPRITE_SIZE = 30.0f;

} // namespace

BoosterItem::BoosterItem() : Item("pulso.ms3d", "pulso.png") {}

BoosterItem::~BoosterItem()
{
    removeSmoke();
}

bool BoosterItem::activate(Duck& duck, long long timestamp)
{
    mStartTime = timestamp;
    startEffect(duck, 0.0f, 0.08f, -0.08f, 1.2f, 150, timestamp);
    GameSound::playOnce(getSound("pulso.mp3", "pulso"));
    duck.setBoost(BOOST);
    startSmoke(duck, timestamp);
    return false;
}

bool BoosterItem::update(Duck& duck, long long timestamp)
{
    if (timestamp - mStartTime >= DURATION && !isShrinking() && !mSmoke.isBurnOut()) {
        shrinkEffect(timestamp);
        duck.clearBoost();
        mSmoke.stop(true);
    }
    mSmoke.update(timestamp);
    // The puffs drift within a still node: hand their points over again so
    // the node takes their new bound.
    if (mSmokePoints) {
        mSmokePoints->setGeometry(mSmoke.getParticleData().getGeometryData(), 0);
    }
    animateEffect(duck, 0.1f, timestamp);
    return !mSmoke.isRunning();
}

bool BoosterItem::deactivate(Duck& duck, long long timestamp)
{
    mStartTime = 0;
    // Finished early the push ends too; otherwise it would stay on until
    // another booster ran out.
    duck.clearBoost();
    removeSmoke();
    return Item::deactivate(duck, timestamp);
}

std::string BoosterItem::getParticleSprite(float& size) const
{
    size = 0.3f;
    return Item::getParticleSprite(size);
}

void BoosterItem::startSmoke(Duck& duck, long long timestamp)
{
    removeSmoke();
    auto* force = new Velta::LinearForceModel();
    force->setExtForce(Duck::Vec3(0.1f, 0.1f, 0.05f));
    auto* emitter = new Velta::PointEmitter();
    emitter->setInitPointCount(20);
    emitter->setPointAge(100, 400);
    emitter->setPointsPerSecond(10.0f);
    emitter->setInitialVelocity(Duck::Vec3(0.0f, 0.0f, -0.4f));
    emitter->setUseRandomForce(true);
    mSmoke.setForceModel(CppLib::SharedPtr<Velta::ParticleEngine::ForceModel>(force));
    mSmoke.setEmitter(CppLib::SharedPtr<Velta::ParticleEngine::Emitter>(emitter));
    mSmoke.initialize();
    mSmoke.start();
    mSmoke.update(timestamp);

    CppLib::SharedPtr<Velta::Material> material(new Velta::Material());
    material->setUsePointSprites(true);
    material->setSpriteSize(SMOKE_SPRITE_SIZE);
    material->setUseAlphaTest(false);
    material->setUseBlending(true);
    material->setBlendMode(Velta::Material::BLEND_ALPHA);
    const CppLib::SharedPtr<Velta::TextureSource> image =
        Velta::VeltaCore::getSingleton().getResourceManager().getTextureManager().getTextureSource(
            "particles\\smoke.png");
    if (!image.isNull()) {
        material->setTexture(0, CppLib::SharedPtr<Velta::Texture>(new Velta::Texture2D(image)));
    }
    mSmokeObject = std::make_unique<Velta::GeometryObject>("smoke");
    auto points = std::make_unique<Velta::GeometrySubobject>("smoke");
    points->setGeometry(mSmoke.getParticleData().getGeometryData(), 0);
    mSmokePoints = mSmokeObject->addSubobject(std::move(points));
    mSmokeObject->setDefaultMaterial(0, material);
    mSmokeNode = std::make_unique<Velta::TransformationNode>("smoke");
    mSmokeNode->setChild(*mSmokeObject);
    mSmokeNode->translate(SMOKE_SIDE, 0.0f, SMOKE_BACK, false);
    if (Velta::Branch* carrier = duck.getEffectBranch()) {
        carrier->attachChild(*mSmokeNode);
    }
}

void BoosterItem::removeSmoke()
{
    mSmokeNode.reset();
    mSmokePoints = nullptr;
    mSmokeObject.reset();
}

} // namespace Ripplejet
