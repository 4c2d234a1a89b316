#pragma once

#include "cpplib/Matrix.h"
#include "cpplib/SharedPtr.h"
#include "cpplib/TVector.h"
#include "items/Inventory.h"
#include "scene/Group.h"

#include <memory>
#include <string>

namespace Velta {
class BoundingVolume;
class Branch;
class Node;
class SoundChannel;
class TransformationNode;
} // namespace Velta

namespace Ripplejet {

class Hud;
class Item;
class Level;

/// A duck in the race: the scene node that carries its model, its body's
/// fixed physical parameters, its vital values (health, oxygen, bonus), its
/// race times, its sounds, the items it carries and, for the player's duck,
/// the head-up display. Its DuckModifier moves it; the level creates both.
///
/// In the scene: transformation node → the duck → inner transformation node
/// (item effects and the booster's smoke hang here) → branch → the model
/// (the duck's name + ".ms3d"). The duck owns these nodes; the caller owns
/// the duck and attaches its transformation node. Build while the core runs.
///
/// Timestamps are the frame's, in milliseconds; 0 means "not yet".
class Duck : public Velta::Group {
public:
    using Vec3 = CppLib::TVector<float, 3>;
    using Mat3 = CppLib::Matrix<float, 3>;

    static constexpr int MAX_HEALTH = 100;
    static constexpr int MAX_OXYGEN = 100;

    /// "meister" prints "Meister!" and has a voice of its own.
    explicit Duck(const std::string& name);
    ~Duck() override;

    /// Builds the nodes, the physical parameters and the sounds once;
    /// answers the transformation node that places the duck.
    Velta::TransformationNode* createNode();
    /// Null before createNode().
    Velta::TransformationNode* getTransformationNode() const { return mTransformationNode.get(); }
    Velta::TransformationNode* getInnerNode() const { return mInnerNode.get(); }
    /// What hangs at the duck besides its model (item effects, smoke): the
    /// branch below the inner node. Null before createNode().
    Velta::Branch* getEffectBranch() const { return mModelBranch.get(); }

    const std::string& getDuckName() const { return mName; }

    // The body, in the duck's own axes: x to its left, y up, z forward (kg, kg·m², m, m³).
    float getMass() const { return mMass; }
    const Mat3& getInertia() const { return mInertia; }
    const Mat3& getInverseInertia() const { return mInverseInertia; }
    float getForwardFactor() const { return mForwardFactor; }
    float getSideFactor() const { return mSideFactor; }
    float getUpFactor() const { return mUpFactor; }
    float getDownFactor() const { return mDownFactor; }
    /// Hull height used for how deep the duck sits.
    float getHeight() const { return mHeight; }
    /// Where the water contact is measured, in the duck's axes.
    const Vec3& getBuoyancyOffset() const { return mBuoyancyOffset; }
    /// Scales the lever of the thrust's moment.
    float getRadius() const { return mRadius; }
    /// The sphere volume of the height: below half of it in the water the
    /// thrust weakens.
    float getVolume() const { return mVolume; }

    /// Extra thrust along the duck's axes, set by a booster.
    const Vec3& getBoost() const { return mBoost; }
    void setBoost(const Vec3& boost) { mBoost = boost; }
    void clearBoost() { mBoost = Vec3(); }

    int getHealth() const { return mHealth; }
    /// Adds `delta`, at most up to 100; at 0 the race is lost.
    void changeHealth(int delta);
    int getOxygen() const { return mOxygen; }
    /// Adds `delta`, at most up to 100; what falls below 0 is taken from
    /// health.
    void changeOxygen(int delta);
    int getBonus() const { return mBonus; }
    void changeBonus(int delta);

    void setUnderWater(bool under) { mUnderWater = under; }
    bool isUnderWater() const { return mUnderWater; }
    void setInAir(bool inAir) { mInAir = inAir; }
    bool isInAir() const { return mInAir; }
    /// One sample of the horizontal speed (m/s) for the speed display.
    void addSpeed(float speed);
    /// The duck came down from the air onto the water at `verticalSpeed`
    /// (m/s, negative downward): a hard landing splashes, a softer one
    /// sprays, a gentle one is silent.
    void landOnWater(float verticalSpeed);

    /// Crossing the start line starts the race time once; crossing the
    /// finish after the start ends it once and wins the race.
    void passStart(long long timestamp);
    void passFinish(long long timestamp);
    long long getStartTime() const { return mStartTime; }
    long long getFinishTime() const { return mFinishTime; }

    /// A knock against the ground at `speed` (m/s): costs health and sounds.
    void hit(float speed);

    /// Takes an item the duck touches: one used on contact is used now;
    /// others are carried. False when it is refused (the duck carries as
    /// many as it can).
    bool collect(Item& item, long long timestamp);

    /// Selection and use of the carried items (see Inventory).
    bool selectNextItem();
    bool selectPreviousItem();
    void useSelectedItem(long long timestamp);
    const Inventory& getInventory() const { return mInventory; }
    /// The item whose effect runs, or null.
    Item* getActiveItem() const { return mActiveItem; }

    /// After each simulated frame: the running item, the displays every
    /// 100 ms, oxygen, and the sound listener for the player's duck.
    void update(long long timestamp);

    /// The model's bound in the world as of the last scene update; null
    /// without a model.
    const Velta::BoundingVolume* getBoundingVolume() const;

    /// The race to tell when it ends; may be null.
    void setLevel(Level* level) { mLevel = level; }

    /// Builds the head-up display, which makes this the player's duck: the
    /// sound listener follows it and its values are shown. The branch is the
    /// duck's.
    Velta::Branch* createHud();
    bool isPlayer() const { return mPlayer; }
    /// Null for every duck but the player's.
    Hud* getHud() const { return mHud.get(); }

    /// Plays one of the duck's sounds from where the duck is, unless it is
    /// playing already.
    void playSound(const CppLib::SharedPtr<Velta::SoundChannel>& channel) const;

    /// The duck's world position (its transformation node's origin).
    Vec3 getPosition() const;

    /// Back to the start of a race: full health and oxygen, no bonus, items,
    /// boost or times. Items carried are dropped, not put back.
    void resetRace();

private:
    void buildNodes();
    void loadSounds();
    /// Starts an item's effect, finishing the running one first.
    void applyItem(Item& item, long long timestamp);
    /// Ends the running effect; an item that is not used up goes back into
    /// the inventory.
    void finishActiveItem(long long timestamp);
    void refreshItemDisplay(bool rebuild);
    /// After the selection was asked to move: clicks and shows it when it did.
    bool showSelection(bool moved);
    /// The sound listener stands at the duck and looks where it looks.
    void updateListener() const;

    std::unique_ptr<Velta::TransformationNode> mTransformationNode;
    std::unique_ptr<Velta::TransformationNode> mInnerNode;
    std::unique_ptr<Velta::Branch> mModelBranch;
    std::unique_ptr<Velta::Node> mModel;

    float mMass = 600.0f;
    Mat3 mInertia;
    Mat3 mInverseInertia;
    float mForwardFactor = 1.0f;
    float mSideFactor = 1.15f;
    float mUpFactor = 1.0f;
    float mDownFactor = 1.0f;
    float mHeight = 0.55f;
    Vec3 mBuoyancyOffset;
    float mRadius = 0.1f;
    float mVolume = 0.0f;

    std::string mName;
    bool mPlayer = false;
    int mHealth = MAX_HEALTH;
    int mOxygen = MAX_OXYGEN;
    int mBonus = 0;
    Vec3 mBoost;
    float mSpeedSum = 0.0f;
    int mSampleCount = 0;
    bool mUnderWater = false;
    bool mInAir = false;
    bool mSpecialVoice = false;
    long long mLastDisplayUpdate = 0;
    long long mStartTime = 0;
    long long mFinishTime = 0;
    long long mLastUpdate = 0;

    Inventory mInventory;
    Item* mActiveItem = nullptr;
    Level* mLevel = nullptr;
    std::unique_ptr<Hud> mHud;

    CppLib::SharedPtr<Velta::SoundChannel> mAddItemSound;
    CppLib::SharedPtr<Velta::SoundChannel> mSplashSound;
    CppLib::SharedPtr<Velta::SoundChannel> mSpriteSound;
    CppLib::SharedPtr<Velta::SoundChannel> mClickSound;
    CppLib::SharedPtr<Velta::SoundChannel> mHitSound;
    CppLib::SharedPtr<Velta::SoundChannel> mLowHitSound;
};

} // namespace Ripplejet
