#include "items/Item.h"

#include "duck/Duck.h"
#include "items/SparkleMaterials.h"
#include "level/GameSound.h"
#include "level/Models.h"

#include "core/EventManager.h"
#include "core/VeltaCore.h"
#include "geometry/GeometryObject.h"
#include "geometry/GeometrySubobject.h"
#include "particles/VelocityModifier.h"
#include "resource/Material.h"
#include "resource/ResourceManager.h"
#include "resource/TextureManager.h"
#include "scene/Branch.h"
#include "scene/ObjectNode.h"
#include "scene/TransformationNode.h"
#include "sound/SoundChannel.h"

namespace Ripplejet {

namespace {

/// Half a turn a second.
constexpr float SPIN_RATE = 3.1415927f;
/// The effect's copy of the model starts this small.
constexpr float EFFECT_START_SCALE = 0.01f;

Velta::ResourceManager& resources()
{
    return Velta::VeltaCore::getSingleton().getResourceManager();
}

} // namespace

Item::Item(const std::string& model, const std::string& icon)
    : Velta::Group(Velta::Node::OBJECT, model), mModelName(model)
{
    setProperty("type", "item");
    Velta::TextureManager& textures = resources().getTextureManager();
    mIcon = textures.getTextureSource("icons\\" + icon);
    mLabel = textures.getTextureSource("text\\" + icon);
}

Item::~Item()
{
    // The spin must not turn a node that is gone.
    if (!mSpin.isNull()) {
        mSpin->setState(Velta::LogicElement::INACTIVE);
        Velta::VeltaCore::getSingleton().getEventManager().removeModifier(*mSpin);
    }
    removeEffect();
}

void Item::setUp(const CppLib::SharedPtr<Velta::Geometry>& sparkles, SparkleMaterials& materials)
{
    if (mModelNode) {
        return;
    }
    mModelNode = std::make_unique<Velta::TransformationNode>(mModelName);
    mModel.reset(Models::create(mModelName));
    if (mModel) {
        mModelNode->setChild(*mModel);
    }
    attachChild(*mModelNode);

    mSpin = CppLib::SharedPtr<Velta::VelocityModifier>(new Velta::VelocityModifier(*mModelNode));
    mSpin->setRotateY(SPIN_RATE);
    mSpin->setState(Velta::LogicElement::ACTIVE);
    Velta::VeltaCore::getSingleton().getEventManager().registerModifier(CppLib::SharedPtr<Velta::Modifier>(mSpin));

    float size = 10.0f;
    const std::string sprite = getParticleSprite(size);
    if (sparkles.isNull() || sprite.empty()) {
        return;
    }
    mSparkles = std::make_unique<Velta::GeometryObject>("sparkles");
    auto points = std::make_unique<Velta::GeometrySubobject>("sparkles");
    points->setGeometry(sparkles, 0);
    mSparkles->addSubobject(std::move(points));
    mSparkles->setDefaultMaterial(0, materials.get(sprite, size));
    attachChild(*mSparkles);
}

void Item::pickUp()
{
    if (mPickedUp) {
        return;
    }
    mPickedUp = true;
    if (!mSpin.isNull()) {
        mSpin->setState(Velta::LogicElement::INACTIVE);
    }
    if (mModelNode && mModelNode->getParent() == this) {
        detachChild(mModelNode->getNodeId());
    }
    if (mSparkles && mSparkles->getParent() == this) {
        detachChild(mSparkles->getNodeId());
    }
}

bool Item::update(Duck&, long long)
{
    return false;
}

bool Item::deactivate(Duck&, long long)
{
    removeEffect();
    return true;
}

std::string Item::getParticleSprite(float&) const
{
    return "particles\\krankheit.png";
}

void Item::startEffect(Duck& duck, float x, float y, float z, float size, int duration, long long timestamp)
{
    removeEffect();
    mEffectX = x;
    mEffectY = y;
    mEffectZ = z;
    mEffectSize = size;
    mEffectDuration = duration;
    mEffectNode = std::make_unique<Velta::TransformationNode>("effect");
    mEffectModel.reset(Models::create(mModelName));
    if (mEffectModel) {
        mEffectNode->setChild(*mEffectModel);
    }
    mEffectNode->scale(EFFECT_START_SCALE, false);
    mEffectNode->translate(x, y, z, false);
    mEffectStart = timestamp;
    mShrinking = false;
    if (Velta::Branch* carrier = duck.getEffectBranch()) {
        carrier->attachChild(*mEffectNode);
    }
}

bool Item::animateEffect(Duck&, float bob, long long timestamp)
{
    if (!mEffectNode || mEffectStart == 0) {
        return false;
    }
    const long long elapsed = timestamp - mEffectStart;
    if (elapsed > mEffectDuration) {
        mEffectStart = 0;
        return mShrinking;
    }
    const float grown = static_cast<float>(elapsed) / static_cast<float>(mEffectDuration) * mEffectSize;
    const float scale = mShrinking ? mEffectSize - grown : grown;
    mEffectNode->reset();
    mEffectNode->translate(0.0f, -bob, 0.0f, false);
    mEffectNode->scale(scale, false);
    mEffectNode->translate(mEffectX, mEffectY + bob, mEffectZ, false);
    return false;
}

void Item::shrinkEffect(long long timestamp)
{
    mShrinking = true;
    mEffectStart = timestamp;
}

void Item::removeEffect()
{
    mEffectStart = 0;
    mEffectNode.reset();
    mEffectModel.reset();
}

const CppLib::SharedPtr<Velta::SoundChannel>& Item::getSound(const char* file, const char* name, bool positional)
{
    if (!mSoundLoaded) {
        mSoundLoaded = true;
        mSound = GameSound::createChannel(file, name, positional);
    }
    return mSound;
}

} // namespace Ripplejet
