#include "particles/RotateForceModel.h"

namespace Velta {

namespace {

/// Units per second along the circle.
const float SPEED = 0.005f;

} // namespace

RotateForceModel::RotateForceModel() = default;

RotateForceModel::~RotateForceModel() = default;

void RotateForceModel::updateParticle(ParticleData& data, long long, float dt)
{
    const CppLib::TVector<float, 3> position = data.getPosition();
    const float radius = (position - mCenter).length();
    if (radius < 0.01f) {
        return;
    }
    const CppLib::TVector<float, 3> moved = position + data.getVelocity() * dt;
    const CppLib::TVector<float, 3> placed = mCenter + (moved - mCenter).normalized() * radius;
    data.setPosition(placed);
    data.setVelocity((placed - position).normalized() * SPEED);
}

} // namespace Velta
