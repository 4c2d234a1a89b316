#include "duck/Duck.h"

#include "display/Hud.h"
#include "items/Item.h"
#include "level/GameSound.h"
#include "level/Level.h"
#include "level/Models.h"

#include "core/VeltaCore.h"
#include "resource/ResourceManager.h"
#include "scene/BoundingVolume.h"
#include "scene/Branch.h"
#include "scene/ObjectNode.h"
#include "scene/TransformationNode.h"
#include "sound/SoundChannel.h"
#include "sound/SoundManager.h"
#include "resource/TextureSource.h"

#include <algorithm>
#include <iostream>
#include <vector>

namespace Ripplejet {

namespace {

/// The one duck with a voice of its own.
const char* const SPECIAL_NAME = "meister";
/// How often the speed, the time and oxygen are brought up to date (ms).
constexpr long long DISPLAY_PERIOD = 100;
/// Oxygen lost under water and won back above it every display period.
constexpr int OXYGEN_STEP = 1;
/// A knock costs its speed in health, at most this much.
constexpr int MAX_HIT_COST = 40;
/// Knocks faster than these (m/s) are heard loud, or low.
constexpr float LOUD_HIT_SPEED = 6.0f;
constexpr float LOW_HIT_SPEED = 1.5f;
/// Landing on the water faster than these (m/s, downward) splashes or sprays.
constexpr float SPLASH_SPEED = -4.5f;
constexpr float SPRAY_SPEED = -2.0f;
/// The speed bar is full at this speed (m/s); the speedometer reads km/h.
constexpr float FULL_BAR_SPEED = 15.0f;
constexpr float KILOMETRES_PER_HOUR = 3.6f;

Velta::ResourceManager& resources()
{
    return Velta::VeltaCore::getSingleton().getResourceManager();
}

} // namespace

Duck::Duck(const std::string& name) : Velta::Group(Velta::Node::BRANCH, name), mName(name)
{
    if (mName == SPECIAL_NAME) {
        std::cout << "Meister!" << std::flush;
        mSpecialVoice = true;
    }
}

Duck::~Duck()
{
    // An effect hangs at the duck's branch: it goes with the item.
    if (mActiveItem) {
        mActiveItem->deactivate(*this, mLastUpdate);
        mActiveItem = nullptr;
    }
}

Velta::TransformationNode* Duck::createNode()
{
    if (mTransformationNode) {
        return mTransformationNode.get();
    }
    mMass = 600.0f;
    mInertia.set(0, 0, 160.0f);
    mInertia.set(1, 1, 140.0f);
    mInertia.set(2, 2, 115.0f);
    mInverseInertia = mInertia.inverse();
    mForwardFactor = 1.0f;
    mSideFactor = 1.15f;
    mUpFactor = 1.0f;
    mDownFactor = 1.0f;
    mHeight = 0.55f;
    mBuoyancyOffset = Vec3(0.0f, 0.2f * mHeight, 0.0f);
    mRadius = 0.1f;
    // 4π/3 × height³: the sphere of the hull's height.
    mVolume = 4.1887902f * mHeight * mHeight * mHeight;
    buildNodes();
    loadSounds();
    return mTransformationNode.get();
}

void Duck::buildNodes()
{
    mTransformationNode = std::make_unique<Velta::TransformationNode>(mName);
    mTransformationNode->setChild(*this);
    mInnerNode = std::make_unique<Velta::TransformationNode>(mName);
    attachChild(*mInnerNode);
    mModelBranch = std::make_unique<Velta::Branch>(mName);
    mInnerNode->setChild(*mModelBranch);
    mModel.reset(Models::create(mName + ".ms3d"));
    if (mModel) {
        mModelBranch->attachChild(*mModel);
    }
}

void Duck::loadSounds()
{
    const auto sound = [](const char* file, const char* channel) {
        return GameSound::createChannel(file, channel, true);
    };
    mAddItemSound = sound("additem.mp3", "additem");
    mSplashSound = sound("splash.mp3", "splash");
    mSpriteSound = sound("sprite.mp3", "sprite");
    mClickSound = sound("click.mp3", "click");
    mHitSound = sound("hitterrain.mp3", "hitterrain");
    mLowHitSound = sound(mSpecialVoice ? "gibtsfragen.mp3" : "hitterrainlow.mp3", "hitterrainlow");
}

Duck::Vec3 Duck::getPosition() const
{
    if (!mTransformationNode) {
        return Vec3();
    }
    const CppLib::Matrix<float, 4>& placement = mTransformationNode->getLocalTransformation();
    return Vec3(placement.get(0, 3), placement.get(1, 3), placement.get(2, 3));
}

void Duck::playSound(const CppLib::SharedPtr<Velta::SoundChannel>& channel) const
{
    GameSound::playUnlessPlaying(channel, getPosition());
}

void Duck::changeHealth(int delta)
{
    mHealth = std::min(MAX_HEALTH, mHealth + delta);
    if (mHealth <= 0) {
        mHealth = 0;
        if (mLevel) {
            mLevel->raceOver(false);
        }
    }
    if (mHud) {
        mHud->showHealth(mHealth);
    }
}

void Duck::changeOxygen(int delta)
{
    if (mOxygen >= MAX_OXYGEN && delta >= 0) {
        return;
    }
    mOxygen = std::min(MAX_OXYGEN, mOxygen + delta);
    if (mOxygen < 0) {
        // Out of air: what is missing comes out of health.
        const int deficit = mOxygen;
        mOxygen = 0;
        changeHealth(deficit);
    }
    if (mHud) {
        mHud->showOxygen(mOxygen);
    }
}

void Duck::changeBonus(int delta)
{
    mBonus += delta;
    if (mHud) {
        mHud->showBonus(mBonus);
    }
}

void Duck::addSpeed(float speed)
{
    mSpeedSum += speed;
    ++mSampleCount;
}

void Duck::landOnWater(float verticalSpeed)
{
    if (verticalSpeed < SPLASH_SPEED) {
        playSound(mSplashSound);
    } else if (verticalSpeed < SPRAY_SPEED) {
        playSound(mSpriteSound);
    }
}

void Duck::hit(float speed)
{
    if (speed > LOUD_HIT_SPEED) {
        playSound(mHitSound);
    } else if (speed > LOW_HIT_SPEED) {
        playSound(mLowHitSound);
    }
    changeHealth(-std::min(MAX_HIT_COST, static_cast<int>(speed)));
}

void Duck::passStart(long long timestamp)
{
    if (mStartTime == 0) {
        mStartTime = timestamp;
    }
}

void Duck::passFinish(long long timestamp)
{
    if (mFinishTime != 0 || mStartTime <= 0) {
        return;
    }
    mFinishTime = timestamp;
    if (mHud) {
        mHud->showTime(mFinishTime - mStartTime);
    }
    if (mLevel) {
        mLevel->raceOver(true);
    }
}

bool Duck::collect(Item& item, long long timestamp)
{
    if (item.isUsedOnContact()) {
        applyItem(item, timestamp);
    } else if (mInventory.add(item)) {
        refreshItemDisplay(true);
    } else {
        return false;
    }
    playSound(mAddItemSound);
    return true;
}

bool Duck::selectNextItem()
{
    return showSelection(mInventory.selectNext());
}

bool Duck::selectPreviousItem()
{
    return showSelection(mInventory.selectPrevious());
}

bool Duck::showSelection(bool moved)
{
    if (moved) {
        playSound(mClickSound);
        refreshItemDisplay(false);
    }
    return moved;
}

void Duck::useSelectedItem(long long timestamp)
{
    Item* item = mInventory.takeSelected();
    if (!item) {
        return;
    }
    refreshItemDisplay(true);
    applyItem(*item, timestamp);
}

void Duck::applyItem(Item& item, long long timestamp)
{
    // A lasting effect takes the place of the running one, which ends
    // first: two boosters never push at once, and the first one's end does
    // not cut the second one's push short.
    if (item.hasLastingEffect() && mActiveItem) {
        finishActiveItem(timestamp);
    }
    if (item.activate(*this, timestamp)) {
        if (!item.deactivate(*this, timestamp) && mInventory.add(item)) {
            refreshItemDisplay(true);
        }
        return;
    }
    mActiveItem = &item;
}

void Duck::finishActiveItem(long long timestamp)
{
    Item* item = mActiveItem;
    if (!item) {
        return;
    }
    mActiveItem = nullptr;
    if (!item->deactivate(*this, timestamp) && mInventory.add(*item)) {
        refreshItemDisplay(true);
    }
}

void Duck::refreshItemDisplay(bool rebuild)
{
    if (!mHud) {
        return;
    }
    std::vector<CppLib::SharedPtr<Velta::TextureSource>> icons;
    if (rebuild) {
        icons.reserve(static_cast<std::size_t>(mInventory.getCount()));
        for (int i = 0; i < mInventory.getCount(); ++i) {
            icons.push_back(mInventory.get(i)->getIcon());
        }
    }
    const Item* selected = mInventory.getSelectedItem();
    mHud->updateItemDisplay(rebuild, icons, selected ? mInventory.getSelected() : -1,
                            selected ? selected->getLabel() : CppLib::SharedPtr<Velta::TextureSource>());
}

void Duck::update(long long timestamp)
{
    if (mLastUpdate == 0) {
        mLastUpdate = timestamp;
        return;
    }
    if (mActiveItem && mActiveItem->update(*this, timestamp)) {
        finishActiveItem(timestamp);
    }
    if (mHud) {
        mHud->scrollItemStrip(timestamp, mInventory.hasSelection() ? mInventory.getSelected() : 0);
    }
    if (timestamp - mLastDisplayUpdate > DISPLAY_PERIOD) {
        const float average = mSampleCount > 0 ? mSpeedSum / static_cast<float>(mSampleCount) : 0.0f;
        if (mHud) {
            mHud->setSpeedBar(average / FULL_BAR_SPEED);
            mHud->setSpeedometer(average * KILOMETRES_PER_HOUR);
            if (mStartTime != 0 && mFinishTime == 0) {
                mHud->showTime(timestamp - mStartTime);
            }
        }
        mSpeedSum = 0.0f;
        mSampleCount = 0;
        changeOxygen(mUnderWater ? -OXYGEN_STEP : OXYGEN_STEP);
        mLastDisplayUpdate = timestamp;
    }
    if (mPlayer) {
        updateListener();
    }
    mLastUpdate = timestamp;
}

void Duck::updateListener() const
{
    const CppLib::Matrix<float, 4>& placement = mTransformationNode->getLocalTransformation();
    const Vec3 forward(placement.get(0, 2), placement.get(1, 2), placement.get(2, 2));
    const Vec3 up(placement.get(0, 1), placement.get(1, 1), placement.get(2, 1));
    resources().getSoundManager().updateListenerAttributes(getPosition(), Vec3(), forward, up, 0);
}

const Velta::BoundingVolume* Duck::getBoundingVolume() const
{
    return mModel ? &mModel->getTransformedNode().getBoundingVolume() : nullptr;
}

Velta::Branch* Duck::createHud()
{
    if (!mHud) {
        mHud = std::make_unique<Hud>();
        mPlayer = true;
    }
    return &mHud->build(mHealth, mOxygen);
}

void Duck::resetRace()
{
    if (mActiveItem) {
        Item* item = mActiveItem;
        mActiveItem = nullptr;
        item->deactivate(*this, mLastUpdate);
    }
    mInventory.clear();
    clearBoost();
    mHealth = MAX_HEALTH;
    mOxygen = MAX_OXYGEN;
    mBonus = 0;
    mStartTime = 0;
    mFinishTime = 0;
    mSpeedSum = 0.0f;
    mSampleCount = 0;
    mUnderWater = false;
    mInAir = false;
    if (mHud) {
        mHud->showTime(0);
        mHud->showHealth(mHealth);
        mHud->showOxygen(mOxygen);
        mHud->showBonus(mBonus);
        refreshItemDisplay(true);
    }
}

} // namespace Ripplejet
