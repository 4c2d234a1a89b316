#pragma once

#include "VeltaExport.h"
#include "cpplib/TVector.h"
#include "particles/ParticleEngine.h"

namespace Velta {

/// Emits particles around a centre: a batch when the effect is initialised,
/// then pointsPerSecond of them, spread evenly over the frames (a frame too
/// short for a whole particle carries its share over to the next ones).
///
/// Each particle starts at a random place in an axis-aligned cube around the
/// centre (see setSphereSize), lives a random age between minAge and maxAge
/// milliseconds (maxAge 0: it never dies of age) and moves off with the
/// initial velocity, or with a small random one.
class VELTA_EXPORT PointEmitter : public ParticleEngine::Emitter {
public:
    PointEmitter();
    ~PointEmitter() override;

    void setInitPointCount(unsigned int count) { mInitPointCount = count; }
    void setCenter(const CppLib::TVector<float, 3>& center) { mCenter = center; }
    /// Units per second.
    void setInitialVelocity(const CppLib::TVector<float, 3>& velocity) { mInitialVelocity = velocity; }

    /// Particles per second after the initial batch; 0 emits none. A
    /// negative rate is reported on the "particles" logger and emits none.
    void setPointsPerSecond(float pointsPerSecond);

    /// With the flag, each particle starts with a random velocity of 0.002
    /// to 0.052 units per second on each axis instead of the initial one.
    void setUseRandomForce(bool use) { mUseRandomForce = use; }

    /// Ages in milliseconds, drawn evenly from minAge to maxAge; maxAge 0
    /// makes particles that never die of age. A range given upside down is
    /// reported on the "particles" logger and used the right way round.
    void setPointAge(unsigned int minAge, unsigned int maxAge);

    /// Each coordinate of a start position is centre + sphereMin − r/2 plus
    /// a random 0 … r, with r = sphereMax − sphereMin: a cube of edge r,
    /// centred on the centre when sphereMin is 0 and pushed out along every
    /// axis by sphereMin otherwise.
    void setSphereSize(float sphereMin, float sphereMax);

    unsigned int initParticles(ParticleData& data, long long now) override;
    unsigned int createParticles(ParticleData& data, long long now, float dt) override;

private:
    void createParticle(ParticleData& data, long long now);

    unsigned int mInitPointCount = 0;
    CppLib::TVector<float, 3> mCenter;
    CppLib::TVector<float, 3> mInitialVelocity;
    float mPointsPerSecond = 0.0f;
    bool mUseRandomForce = false;
    unsigned int mMinAge = 1;
    unsigned int mMaxAge = 1000;
    float mSphereMin = 0.0f;
    float mSphereMax = 0.1f;
    long long mLastTime = 0;
    /// The part of a particle owed from earlier frames, 0 … 1.
    float mOwed = 0.0f;
};

} // namespace Velta
