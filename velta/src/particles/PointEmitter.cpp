#include "particles/PointEmitter.h"

#include "core/VeltaCore.h"

#include <sstream>
#include <utility>

namespace Velta {

namespace {

using Vector3 = CppLib::TVector<float, 3>;

/// Most particles one frame creates: a frame after a long pause at a high
/// rate must not stall the game.
const float MOST_PER_FRAME = 100000.0f;

void logWarning(const std::string& message)
{
    VeltaCore::getLogger("particles")->warn(message);
}

/// A random 0 … 1.
float unit(ParticleData& data)
{
    return static_cast<float>(data.getRandom().next()) / static_cast<float>(RandomSource::MAX);
}

} // namespace

PointEmitter::PointEmitter() = default;

PointEmitter::~PointEmitter() = default;

void PointEmitter::setPointsPerSecond(float pointsPerSecond)
{
    if (pointsPerSecond < 0.0f) {
        std::ostringstream message;
        message << "Negative particle rate " << pointsPerSecond << " per second: no particles are emitted";
        logWarning(message.str());
        pointsPerSecond = 0.0f;
    }
    mPointsPerSecond = pointsPerSecond;
    mOwed = 0.0f;
}

void PointEmitter::setPointAge(unsigned int minAge, unsigned int maxAge)
{
    if (maxAge != 0 && minAge > maxAge) {
        std::ostringstream message;
        message << "Particle age range " << minAge << " to " << maxAge << " ms is upside down: ages from " << maxAge
                << " to " << minAge << " ms are used";
        logWarning(message.str());
        std::swap(minAge, maxAge);
    }
    mMinAge = minAge;
    mMaxAge = maxAge;
}

void PointEmitter::setSphereSize(float sphereMin, float sphereMax)
{
    mSphereMin = sphereMin;
    mSphereMax = sphereMax;
}

unsigned int PointEmitter::initParticles(ParticleData& data, long long now)
{
    for (unsigned int i = 0; i < mInitPointCount; ++i) {
        createParticle(data, now);
    }
    mLastTime = now;
    return mInitPointCount;
}

unsigned int PointEmitter::createParticles(ParticleData& data, long long now, float dt)
{
    if (mLastTime == 0) {
        mLastTime = now;
        return 0;
    }
    mLastTime = now;
    // Whole particles are made and the rest is owed to the next frames:
    // dropping it would lose every particle whenever a frame is shorter than
    // the time between two particles.
    float due = dt * mPointsPerSecond + mOwed;
    if (!(due > 0.0f)) {
        mOwed = 0.0f;
        return 0;
    }
    if (due > MOST_PER_FRAME) {
        due = MOST_PER_FRAME;
    }
    const unsigned int count = static_cast<unsigned int>(due);
    mOwed = due - static_cast<float>(count);
    for (unsigned int i = 0; i < count; ++i) {
        createParticle(data, now);
    }
    return count;
}

void PointEmitter::createParticle(ParticleData& data, long long now)
{
    const float range = mSphereMax - mSphereMin;
    Vector3 position;
    for (int axis = 0; axis < 3; ++axis) {
        position[axis] = mCenter[axis] + unit(data) * range + mSphereMin - range / 2.0f;
    }

    long long deathTime = 0;
    if (mMaxAge != 0) {
        const long long span = static_cast<long long>(mMaxAge - mMinAge);
        deathTime = now + mMinAge + span * data.getRandom().next() / (RandomSource::MAX + 1);
    }

    Vector3 velocity = mInitialVelocity;
    if (mUseRandomForce) {
        for (int axis = 0; axis < 3; ++axis) {
            velocity[axis] = unit(data) * 0.05f + 0.002f;
        }
    }

    data.addParticle(position, deathTime);
    data.setVelocity(velocity);
}

} // namespace Velta
