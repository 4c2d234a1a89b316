#pragma once

#include "cpplib/SharedPtr.h"
#include "particles/FollowModifier.h"

namespace Velta {
class Camera;
class Terrain;
class Water;
} // namespace Velta

namespace Ripplejet {

/// Carries the level's camera behind the duck: never into the ground, never
/// within a hand's breadth of the water's surface on either side of it, and
/// with the fog on, and the river bed drawn without the water's colour (the
/// terrain's cover), exactly while the camera is under water. After the race
/// it can look back up the river.
///
/// Borrows the terrain, the water and the camera (null ones are skipped);
/// they must outlive its running.
class DuckFollower : public Velta::FollowModifier {
public:
    /// How far the camera keeps from the ground and the water surface.
    static constexpr float CLEARANCE = 0.4f;

    DuckFollower(Velta::Terrain* terrain, Velta::Water* water, const CppLib::SharedPtr<Velta::Camera>& camera);
    ~DuckFollower() override;

    bool checkPosition(const Velta::Point& proposed, const CppLib::TVector<float, 3>& direction, float& angle,
                       Velta::Point& position, float dt, long long timestamp) override;

    /// Turns the camera about to look back the way the duck came, or ahead
    /// again.
    void setLookingBack(bool back) { mLookingBack = back; }
    bool isLookingBack() const { return mLookingBack; }

protected:
    void step(float dt, long long timestamp) override;

private:
    Velta::Terrain* mTerrain;
    Velta::Water* mWater;
    CppLib::SharedPtr<Velta::Camera> mCamera;
    bool mLookingBack = false;
};

} // namespace Ripplejet
