#include "particles/LinearForceModel.h"

namespace Velta {

LinearForceModel::LinearForceModel() = default;

LinearForceModel::~LinearForceModel() = default;

void LinearForceModel::updateParticle(ParticleData& data, long long, float dt)
{
    CppLib::TVector<float, 3> force = mExtForce;
    if (mRandomForce != CppLib::TVector<float, 3>()) {
        RandomSource& random = data.getRandom();
        for (int axis = 0; axis < 3; ++axis) {
            force[axis] += static_cast<float>(random.next()) * mRandomForce[axis] / RandomSource::MAX -
                           mRandomForce[axis] / 2.0f;
        }
    }
    const CppLib::TVector<float, 3> velocity = data.getVelocity();
    data.setPosition(data.getPosition() + velocity * dt);
    data.setVelocity(velocity + force * dt);
}

} // namespace Velta
