#pragma once

#include "VeltaExport.h"
#include "cpplib/TVector.h"
#include "particles/ParticleEngine.h"

namespace Velta {

/// Keeps particles circling the origin: each step moves a particle along
/// its velocity and puts it back at its distance from the centre, then
/// points its velocity (0.005 units per second) along the way it went.
/// Particles within 0.01 of the centre stay where they are.
class VELTA_EXPORT RotateForceModel : public ParticleEngine::ForceModel {
public:
    RotateForceModel();
    ~RotateForceModel() override;

    /// The origin of the particles' own frame.
    const CppLib::TVector<float, 3>& getCenter() const { return mCenter; }

    void updateParticle(ParticleData& data, long long now, float dt) override;

private:
    CppLib::TVector<float, 3> mCenter;
};

} // namespace Velta
