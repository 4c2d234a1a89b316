#include "duck/DuckModifier.h"

#include "duck/Duck.h"
#include "duck/DuckQuery.h"

#include "cpplib/Point.h"
#include "input/KeyEventInfo.h"
#include "input/MoveEventInfo.h"
#include "scene/BoundingFilter.h"
#include "scene/BoundingVolume.h"
#include "scene/Branch.h"
#include "scene/SceneRoot.h"
#include "scene/TransformationNode.h"
#include "scene/Traverser.h"
#include "terrain/Terrain.h"
#include "water/Water.h"

#include <algorithm>
#include <cmath>

namespace Ripplejet {

namespace {

using Vec3 = DuckModifier::Vec3;
using Mat3 = DuckModifier::Mat3;

// Forces in newtons, moments in newton-metres.
constexpr float FORWARD_STRENGTH = 15000.0f;
constexpr float BACKWARD_STRENGTH = 6000.0f;
constexpr float SIDE_STRENGTH = 3500.0f;
constexpr float TURN_STRENGTH = 10000.0f;
constexpr float UP_STRENGTH = 38000.0f;
constexpr float DOWN_STRENGTH = 20000.0f;
/// A booster's push, per unit of boost, in the water and in the air.
constexpr float BOOST_IN_WATER = 10000.0f;
constexpr float BOOST_IN_AIR = 2100.0f;

/// How deep the hull sits: between these shares of its height it floats,
/// above the upper one it is under water (m³ of water per metre of depth).
constexpr float AFLOAT_FROM = 0.15f;
constexpr float AFLOAT_TO = 1.85f;
constexpr float DISPLACEMENT_PER_DEPTH = 2.1f;
constexpr float FULL_DISPLACEMENT_SHARE = 1.7f;

/// The river pushes the duck with its flow × this while the duck is within
/// FLOW_REACH above the surface, less the higher it is, and less the deeper
/// it dives.
constexpr float FLOW_GRIP = 10000.0f;
constexpr float FLOW_REACH = 0.15f;

/// Within this height above the ground the bank pushes the duck away,
/// along the ground's slope, with this force; the push tilts it at this lever.
constexpr float BANK_REACH = 0.42f;
constexpr float BANK_PUSH = 300000.0f;
constexpr float BANK_LEVER = 0.1f;

/// The duck's origin stays this high above the ground; knocks count at most
/// once in this many milliseconds, at half the horizontal speed.
constexpr float GROUND_CLEARANCE = 0.4f;
constexpr long long HIT_INTERVAL = 500;

/// Drag per world axis: quadratic in the water, cubic above 5 m/s in the air.
const Vec3 WATER_DRAG(300.0f, 1200.0f, 300.0f);
const Vec3 AIR_DRAG(8.0f, 4.0f, 8.0f);
constexpr float AIR_DRAG_FREE_SPEED = 5.0f;
const Vec3 WATER_TURN_DRAG(80.0f, 30.0f, 80.0f);

/// The thrust's lever is scaled down by this on top of the duck's radius.
constexpr float THRUST_LEVER = 0.1f;

/// Pointer steering: window spans × these.
constexpr float PITCH_PER_SPAN = 1.5f;
constexpr float YAW_PER_SPAN = 2.3f;
/// The camera's tilt stays within these (radians), so the view never turns
/// over the duck or under the water.
constexpr float MIN_PITCH = -0.5f;
constexpr float MAX_PITCH = 0.9f;

float sign(float value)
{
    return value < 0.0f ? -1.0f : (value > 0.0f ? 1.0f : 0.0f);
}

Vec3 column(const Mat3& m, int index)
{
    return Vec3(m.get(0, index), m.get(1, index), m.get(2, index));
}

void setColumn(Mat3& m, int index, const Vec3& v)
{
    for (int row = 0; row < 3; ++row) {
        m.set(row, index, v[row]);
    }
}

/// The cross-product matrix: skew(a) × b = a × b.
Mat3 skew(const Vec3& a)
{
    const float values[9] = {0.0f, -a.z(), a.y(), a.z(), 0.0f, -a.x(), -a.y(), a.x(), 0.0f};
    return Mat3(values);
}

Velta::Point toPoint(const Vec3& v)
{
    return Velta::Point(v.x(), v.y(), v.z());
}

} // namespace

DuckModifier::DuckModifier(Duck* duck, Velta::Terrain* terrain, Velta::Water* water, Velta::SceneRoot& sceneRoot)
    : mDuck(duck), mTerrain(terrain), mWater(water)
{
    mTraverser = std::make_unique<Velta::Traverser>(*sceneRoot.getRoot());
    mFilter = CppLib::SharedPtr<Velta::BoundingFilter>(new Velta::BoundingFilter());
    mQuery = CppLib::SharedPtr<DuckQuery>(new DuckQuery(*duck));
    mTraverser->addFilter(CppLib::SharedPtr<Velta::Traverser::Filter>(mFilter));
    mTraverser->addHandler(CppLib::SharedPtr<Velta::Traverser::Handler>(mQuery));
    resetControls();
    resetBody();
}

DuckModifier::~DuckModifier() = default;

void DuckModifier::resetControls()
{
    std::fill(std::begin(mControls), std::end(mControls), 0.0f);
    mPitch = 0.0f;
    mYaw = 0.0f;
    mLastPointerX = 0.0f;
    mLastPointerY = 0.0f;
    mPointerSeen = false;
    mLastStepTime = 0;
    mLastHitTime = 0;
    mForwardStrength = FORWARD_STRENGTH;
    mBackwardStrength = BACKWARD_STRENGTH;
    mSideStrength = SIDE_STRENGTH;
    mTurnStrength = TURN_STRENGTH;
    mUpStrength = UP_STRENGTH;
    mDownStrength = DOWN_STRENGTH;
}

void DuckModifier::resetBody()
{
    mMomentum = Vec3();
    mAngularMomentum = Vec3();
    mVelocity = Vec3();
    mAngularVelocity = Vec3();
    const CppLib::Matrix<float, 4>& placement = mDuck->getTransformationNode()->getLocalTransformation();
    mPosition = Vec3(placement.get(0, 3), placement.get(1, 3), placement.get(2, 3));
    for (int row = 0; row < 3; ++row) {
        for (int col = 0; col < 3; ++col) {
            mOrientation.set(row, col, placement.get(row, col));
        }
    }
    mWorldInverseInertia = mOrientation * mDuck->getInverseInertia() * mOrientation.transposed();
}

void DuckModifier::processKey(const Velta::KeyEventInfo& info)
{
    const bool pressed = info.getEventType() == Velta::KeyEventInfo::KEY_PRESSED;
    const auto hold = [this, pressed](Control control, float value) { mControls[control] = pressed ? value : 0.0f; };
    using Key = Velta::KeyEventInfo;
    switch (info.getKeySymbol()) {
    case Key::KEY_W:
        hold(FORWARD, 1.0f);
        break;
    case Key::KEY_S:
        hold(BACKWARD, -1.0f);
        break;
    case Key::KEY_A:
        hold(LEFT, 1.0f);
        break;
    case Key::KEY_D:
        hold(RIGHT, -1.0f);
        break;
    case Key::KEY_SPACE:
        hold(UP, 1.0f);
        break;
    case Key::KEY_LSHIFT:
        hold(DOWN, -1.0f);
        break;
    default:
        break;
    }
}

void DuckModifier::processMove(const Velta::MoveEventInfo& info)
{
    const float x = info.getX();
    const float y = info.getY();
    if (!mPointerSeen) {
        // Wherever the pointer is first seen is the wheel's middle: a
        // pointer resting mid-window must not turn the duck.
        mPointerSeen = true;
        mLastPointerX = YAW_PER_SPAN * x;
        mLastPointerY = PITCH_PER_SPAN * y;
        return;
    }
    mPitch = std::clamp(mPitch + PITCH_PER_SPAN * y - mLastPointerY, MIN_PITCH, MAX_PITCH);
    mYaw += mLastPointerX - YAW_PER_SPAN * x;
    mLastPointerY = PITCH_PER_SPAN * y;
    mLastPointerX = YAW_PER_SPAN * x;
    if (mCamera && mStepCount > 0) {
        // The tilt is measured from the camera's rest, not added to the
        // tilt of the last move.
        mCamera->reset();
        mCamera->multMatrix(mCameraRest.getLocalTransformation(), 0.0f);
        mCamera->rotateX(mPitch, false);
    }
}

void DuckModifier::setCameraTransformation(Velta::Transformation* camera)
{
    mCamera = camera;
    if (camera) {
        mCameraRest = *camera;
    }
}

int DuckModifier::countSteps(long long elapsedMs)
{
    return elapsedMs <= 0 ? 0 : static_cast<int>(elapsedMs / MAX_STEP_MS) + 1;
}

float DuckModifier::stepLength(long long elapsedMs, int index)
{
    const int count = countSteps(elapsedMs);
    if (index < 0 || index >= count) {
        return 0.0f;
    }
    const long long ms = index + 1 < count ? MAX_STEP_MS : elapsedMs - (count - 1) * MAX_STEP_MS;
    return static_cast<float>(ms) / 1000.0f;
}

int DuckModifier::run(long long timestamp)
{
    if (getState() != ACTIVE) {
        mLastStepTime = 0;
        return 0;
    }
    if (mLastStepTime == 0) {
        mLastStepTime = timestamp;
        return 0;
    }
    const long long elapsed = timestamp - mLastStepTime;
    mLastStepTime = timestamp;
    const int steps = countSteps(elapsed);
    for (int i = 0; i < steps; ++i) {
        const float h = stepLength(elapsed, i);
        if (h > 0.0f) {
            step(h, timestamp);
        }
    }
    queryTouches(timestamp);
    mDuck->update(timestamp);
    return 0;
}

void DuckModifier::step(float h, long long timestamp)
{
    touchWater();
    const Forces forces = sumForces();
    mMomentum = mMomentum + forces.total * h;
    mAngularMomentum = mAngularMomentum + sumMoments(forces) * h;

    mVelocity = mMomentum * (1.0f / mDuck->getMass());
    mAngularVelocity = mWorldInverseInertia * mAngularMomentum;
    mDuck->addSpeed(std::sqrt(mVelocity.x() * mVelocity.x() + mVelocity.z() * mVelocity.z()));

    turn(h);
    mPosition = mPosition + mVelocity * h;
    touchGround(timestamp);
    writeTransformation();
    ++mStepCount;
}

void DuckModifier::touchWater()
{
    const CppLib::Matrix<float, 4>& placement = mDuck->getTransformationNode()->getLocalTransformation();
    mReferencePoint = Vec3(placement.get(0, 3), placement.get(1, 3), placement.get(2, 3));
    const Vec3 offset = mDuck->getBuoyancyOffset();
    mBuoyancyPoint = Velta::Point(placement * CppLib::TVector<float, 4>(offset.x(), offset.y(), offset.z(), 1.0f))
                         .toVector3();

    const float height = mDuck->getHeight();
    Vec3 normal(0.0f, 1.0f, 0.0f);
    float above = 0.0f; // how far the buoyancy point is above the surface, along its normal
    const Velta::Water::PointHandle water = mWater->getPointHandle(toPoint(mBuoyancyPoint));
    if (!water.hasQuad()) {
        mSubmergedVolume = 0.0f;
        mDuck->setUnderWater(false);
    } else {
        normal = mWater->getNormal(water);
        above = mWater->getDistance(water) * normal.y();
        const float depth = height - above;
        if (depth > AFLOAT_FROM * height && depth < AFLOAT_TO * height) {
            mSubmergedVolume = (depth - AFLOAT_FROM * height) * DISPLACEMENT_PER_DEPTH;
            if (mDuck->isInAir()) {
                mDuck->landOnWater(mVelocity.y());
            }
            mDuck->setUnderWater(false);
            mDuck->setInAir(false);
        } else if (depth >= AFLOAT_TO * height) {
            mSubmergedVolume = DISPLACEMENT_PER_DEPTH * FULL_DISPLACEMENT_SHARE * height;
            mDuck->setUnderWater(true);
            mDuck->setInAir(false);
        } else {
            mSubmergedVolume = 0.0f;
            mDuck->setUnderWater(false);
            mDuck->setInAir(true);
        }
    }
    // The centre of buoyancy: on the normal through the buoyancy point, a
    // third of the submerged depth below the surface.
    mBuoyancyLever = (mBuoyancyPoint - mReferencePoint) - normal * above - normal * ((height - above) / 3.0f);
}

DuckModifier::Forces DuckModifier::sumForces() const
{
    Forces forces;
    const Vec3 gravity(0.0f, -mDuck->getMass() * GRAVITY, 0.0f);
    forces.buoyancy = Vec3(0.0f, WATER_DENSITY * GRAVITY * mSubmergedVolume, 0.0f);
    forces.bankPush = bankForce();
    forces.thrust = thrustForce();
    forces.total = gravity + forces.buoyancy + flowForce() + forces.bankPush + forces.thrust + dragForce();
    return forces;
}

Vec3 DuckModifier::flowForce() const
{
    const Velta::Water::PointHandle water = mWater->getPointHandle(toPoint(mReferencePoint));
    if (!water.hasQuad()) {
        return Vec3();
    }
    const float above = mWater->getDistance(water);
    if (above >= FLOW_REACH) {
        return Vec3();
    }
    const float depth = mWater->getDepth(water);
    // Fades out above the surface, and down to nothing at the river's depth
    // (never pushing back below it).
    const float grip = above >= 0.0f ? (FLOW_REACH - above) / FLOW_REACH : std::max(0.0f, (depth + above) / depth);
    return mWater->getVelocity(water) * (FLOW_GRIP * grip);
}

Vec3 DuckModifier::bankForce() const
{
    const Velta::Terrain::PointHandle ground = mTerrain->getPointHandle(toPoint(mReferencePoint));
    if (mTerrain->getDistance(ground) >= BANK_REACH) {
        return Vec3();
    }
    Vec3 away = mTerrain->getNormal(ground, false);
    away.y() = 0.0f;
    return away * BANK_PUSH;
}

Vec3 DuckModifier::thrustForce() const
{
    Vec3 thrust;
    if (mSubmergedVolume > 0.0f) {
        thrust = Vec3((mControls[LEFT] + mControls[RIGHT]) * mDuck->getSideFactor() * mSideStrength,
                      mDuck->getUpFactor() * mUpStrength * mControls[UP] +
                          mDuck->getDownFactor() * mDownStrength * mControls[DOWN],
                      (mForwardStrength * mControls[FORWARD] + mBackwardStrength * mControls[BACKWARD]) *
                          mDuck->getForwardFactor());
        // Barely in the water, the duck finds little to push against.
        const float halfVolume = mDuck->getVolume() / 2.0f;
        if (mSubmergedVolume < halfVolume) {
            thrust = thrust * (mSubmergedVolume / halfVolume);
        }
        thrust = thrust + mDuck->getBoost() * BOOST_IN_WATER;
    } else {
        thrust = mDuck->getBoost() * BOOST_IN_AIR;
    }
    return mOrientation * thrust;
}

Vec3 DuckModifier::dragForce() const
{
    Vec3 drag;
    for (int axis = 0; axis < 3; ++axis) {
        const float v = mVelocity[axis];
        if (mSubmergedVolume > 0.0f) {
            drag[axis] = -sign(v) * v * v * WATER_DRAG[axis];
        } else {
            const float excess = std::max(0.0f, std::fabs(v) - AIR_DRAG_FREE_SPEED);
            drag[axis] = -sign(v) * excess * excess * excess * AIR_DRAG[axis];
        }
    }
    return drag;
}

Vec3 DuckModifier::sumMoments(const Forces& forces) const
{
    Vec3 moment = mBuoyancyLever.cross(forces.buoyancy);
    const Vec3 thrustLever = (mBuoyancyPoint - mReferencePoint) * mDuck->getRadius();
    moment = moment + Vec3(0.0f, mYaw * mTurnStrength, 0.0f) + thrustLever.cross(forces.thrust) * THRUST_LEVER;
    // A fixed world lever: the push from a bank tilts the duck away from it.
    moment = moment + Vec3(0.0f, BANK_LEVER, 0.0f).cross(forces.bankPush);
    if (mSubmergedVolume > 0.0f) {
        for (int axis = 0; axis < 3; ++axis) {
            const float w = mAngularVelocity[axis];
            moment[axis] -= sign(w) * w * w * WATER_TURN_DRAG[axis];
        }
    }
    return moment;
}

void DuckModifier::turn(float h)
{
    Mat3 turned = skew(mAngularVelocity) * mOrientation * h;
    for (int row = 0; row < 3; ++row) {
        for (int col = 0; col < 3; ++col) {
            turned.set(row, col, turned.get(row, col) + mOrientation.get(row, col));
        }
    }
    // Back to a rotation, keeping the forward axis's direction.
    const Vec3 forward = column(turned, 2).normalized();
    const Vec3 left = column(turned, 1).cross(forward).normalized();
    const Vec3 up = forward.cross(left);
    setColumn(mOrientation, 0, left);
    setColumn(mOrientation, 1, up);
    setColumn(mOrientation, 2, forward);
    mWorldInverseInertia = mOrientation * mDuck->getInverseInertia() * mOrientation.transposed();
}

void DuckModifier::touchGround(long long timestamp)
{
    const Velta::Terrain::PointHandle ground = mTerrain->getPointHandle(toPoint(mPosition));
    if (!ground.inTerrain()) {
        // Off the valley there is nothing to float on: the race is lost.
        // The duck stops where it left the valley: falling on for ever, it
        // would take the camera with it into the dark.
        mDuck->changeHealth(-Duck::MAX_HEALTH);
        if (mHasBeenInTerrain) {
            mPosition = mLastInTerrain;
            mMomentum = Vec3();
            mVelocity = Vec3();
        }
        return;
    }
    mLastInTerrain = mPosition;
    mHasBeenInTerrain = true;
    const float clearance = mTerrain->getDistance(ground);
    if (clearance >= GROUND_CLEARANCE) {
        return;
    }
    mPosition.y() += GROUND_CLEARANCE - clearance;
    if (timestamp - mLastHitTime > HIT_INTERVAL) {
        mDuck->hit(0.5f * std::sqrt(mVelocity.x() * mVelocity.x() + mVelocity.z() * mVelocity.z()));
        mLastHitTime = timestamp;
    }
}

void DuckModifier::writeTransformation()
{
    Velta::TransformationNode& placement = *mDuck->getTransformationNode();
    placement.reset();
    placement.multMatrix(mOrientation, 0.0f);
    placement.translate(mPosition, false);
}

void DuckModifier::queryTouches(long long timestamp)
{
    const Velta::BoundingVolume* bound = mDuck->getBoundingVolume();
    if (!bound || bound->getState() != Velta::BoundingVolume::FINITE) {
        return;
    }
    mFilter->setBoundingVolume(*bound);
    mQuery->setTimestamp(timestamp);
    mTraverser->reset(true);
    mTraverser->walk(0, false);
}

} // namespace Ripplejet
