#pragma once

#include "core/Modifier.h"
#include "core/Process.h"
#include "cpplib/Matrix.h"
#include "cpplib/SharedPtr.h"
#include "cpplib/TVector.h"
#include "scene/Transformation.h"

#include <memory>

namespace Velta {
class BoundingFilter;
class KeyEventInfo;
class MoveEventInfo;
class SceneRoot;
class Terrain;
class Traverser;
class Water;
} // namespace Velta

namespace Ripplejet {

class Duck;
class DuckQuery;

/// Moves a duck as a rigid body floating on the river: gravity and buoyancy,
/// the river's flow, the banks pushing it back, the player's thrust and
/// steering, and the water's or the air's drag. After each frame it asks the
/// scene what the duck touches (start and finish lines, items) and lets the
/// duck bring its values up to date.
///
/// Units: metres (world units), kilograms, seconds inside the simulation,
/// milliseconds in timestamps, radians. The body's axes are the duck's: x
/// to its left, y up, z forward.
///
/// A logic element run by the event manager: it simulates in state ACTIVE
/// and holds the duck still in any other state (the race keeps the player's
/// duck IDLE until the start). Borrows the duck, the terrain, the water and
/// the scene, which must outlive its running; the level switches it off
/// before they go.
class DuckModifier : public Velta::Modifier, public Velta::Process {
public:
    using Vec3 = CppLib::TVector<float, 3>;
    using Mat3 = CppLib::Matrix<float, 3>;

    static constexpr float GRAVITY = 9.81265f;  ///< m/s²
    static constexpr float WATER_DENSITY = 1000.0f; ///< kg/m³
    /// A frame is simulated in steps of at most this long (ms): one step a
    /// frame from 50 frames a second up. The banks push hard (a 0.1 s step
    /// near one throws the duck 50 m/s into the air), so slow frames are cut
    /// finer than that.
    static constexpr long long MAX_STEP_MS = 20;

    /// The six controls: each 0 or ±1 while its key is held.
    enum Control { FORWARD, BACKWARD, LEFT, RIGHT, UP, DOWN, CONTROL_COUNT };

    DuckModifier(Duck* duck, Velta::Terrain* terrain, Velta::Water* water, Velta::SceneRoot& sceneRoot);
    ~DuckModifier() override;

    /// Lets go of every control and of the pointer's steering, and restarts
    /// the clock.
    void resetControls();
    /// Stops the body and takes its place and orientation from the duck's
    /// transformation as it is now (after the race moved it).
    void resetBody();

    /// w, s, a, d, space and left Shift hold the controls while pressed.
    void processKey(const Velta::KeyEventInfo& info);
    /// The pointer, unbounded and in window spans: moving it sideways turns
    /// the duck like a held steering wheel (until it is moved back), moving
    /// it up and down tilts the camera.
    void processMove(const Velta::MoveEventInfo& info);

    /// Tilted by the pointer; its placement when set is the tilt's zero.
    /// May be null.
    void setCameraTransformation(Velta::Transformation* camera);

    /// One frame at `timestamp`; answers 0.
    int run(long long timestamp) override;

    /// How a frame of `elapsedMs` is cut into simulation steps: how many,
    /// and the length of step `index` in seconds. Steps of no length are
    /// not run.
    static int countSteps(long long elapsedMs);
    static float stepLength(long long elapsedMs, int index);

    Duck& getDuck() const { return *mDuck; }
    float getControl(Control control) const { return mControls[control]; }
    float getYaw() const { return mYaw; }
    float getPitch() const { return mPitch; }
    const Vec3& getPosition() const { return mPosition; }
    const Vec3& getVelocity() const { return mVelocity; }
    const Vec3& getAngularVelocity() const { return mAngularVelocity; }
    const Mat3& getOrientation() const { return mOrientation; }
    float getSubmergedVolume() const { return mSubmergedVolume; }
    /// Simulation steps run since the modifier was made.
    long long getStepCount() const { return mStepCount; }

private:
    /// What the forces of one step add up to, kept for its moments.
    struct Forces {
        Vec3 buoyancy;
        Vec3 bankPush;
        Vec3 thrust;
        Vec3 total;
    };

    void step(float h, long long timestamp);
    void touchWater();
    Forces sumForces() const;
    Vec3 flowForce() const;
    Vec3 bankForce() const;
    Vec3 thrustForce() const;
    Vec3 dragForce() const;
    Vec3 sumMoments(const Forces& forces) const;
    void turn(float h);
    void touchGround(long long timestamp);
    void writeTransformation();
    void queryTouches(long long timestamp);

    Duck* mDuck;
    Velta::Terrain* mTerrain;
    Velta::Water* mWater;

    float mControls[CONTROL_COUNT] = {};
    float mForwardStrength = 0.0f;
    float mBackwardStrength = 0.0f;
    float mSideStrength = 0.0f;
    float mTurnStrength = 0.0f;
    float mUpStrength = 0.0f;
    float mDownStrength = 0.0f;

    /// Recomputed at the start of every step from the duck's placement.
    Vec3 mReferencePoint;
    Vec3 mBuoyancyPoint;
    Vec3 mBuoyancyLever;
    float mSubmergedVolume = 0.0f;

    Vec3 mPosition;
    /// Where the last step inside the valley ended: the duck stops there
    /// when it leaves.
    Vec3 mLastInTerrain;
    bool mHasBeenInTerrain = false;
    Vec3 mMomentum;
    Vec3 mAngularMomentum;
    Vec3 mVelocity;
    Vec3 mAngularVelocity;
    Mat3 mOrientation;
    Mat3 mWorldInverseInertia;

    float mPitch = 0.0f;
    float mYaw = 0.0f;
    float mLastPointerX = 0.0f;
    float mLastPointerY = 0.0f;
    bool mPointerSeen = false;
    Velta::Transformation* mCamera = nullptr;
    Velta::Transformation mCameraRest;

    long long mLastStepTime = 0;
    long long mLastHitTime = 0;
    long long mStepCount = 0;

    std::unique_ptr<Velta::Traverser> mTraverser;
    CppLib::SharedPtr<Velta::BoundingFilter> mFilter;
    CppLib::SharedPtr<DuckQuery> mQuery;
};

} // namespace Ripplejet
