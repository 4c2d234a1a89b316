#pragma once

#include "VeltaExport.h"
#include "cpplib/TVector.h"
#include "particles/ParticleEngine.h"

namespace Velta {

/// Moves particles in a straight line under a constant force (an
/// acceleration in units per second²) plus a random jitter: one explicit
/// Euler step per frame, the position moving by the velocity the particle
/// had before the step.
class VELTA_EXPORT LinearForceModel : public ParticleEngine::ForceModel {
public:
    LinearForceModel();
    ~LinearForceModel() override;

    void setExtForce(const CppLib::TVector<float, 3>& force) { mExtForce = force; }
    const CppLib::TVector<float, 3>& getExtForce() const { return mExtForce; }

    /// The jitter: each step adds to each axis a random acceleration of up to
    /// ±10 × r on that axis (20 × r from end to end).
    void setRandomForce(const CppLib::TVector<float, 3>& r) { mRandomForce = r * 20.0f; }
    const CppLib::TVector<float, 3>& getRandomForce() const { return mRandomForce; }

    void updateParticle(ParticleData& data, long long now, float dt) override;

private:
    CppLib::TVector<float, 3> mExtForce;
    CppLib::TVector<float, 3> mRandomForce;
};

} // namespace Velta
