#include "duck/DuckFollower.h"

#include "resource/RenderSettings.h"
#include "scene/Camera.h"
#include "scene/Transformation.h"
#include "terrain/Terrain.h"
#include "terrain/TerrainTile.h"
#include "water/Water.h"

namespace Ripplejet {

namespace {

constexpr float HALF_TURN = 3.1415927f;

} // namespace

DuckFollower::DuckFollower(Velta::Terrain* terrain, Velta::Water* water,
                           const CppLib::SharedPtr<Velta::Camera>& camera)
    : mTerrain(terrain), mWater(water), mCamera(camera)
{
}

DuckFollower::~DuckFollower() = default;

bool DuckFollower::checkPosition(const Velta::Point&, const CppLib::TVector<float, 3>&, float& angle,
                                 Velta::Point& position, float, long long)
{
    // Where the camera would be: its offset, turned to the heading, at the
    // follow position.
    Velta::Transformation placed;
    placed.multMatrix(getOffsetTransformation().getLocalTransformation(), 0.0f);
    placed.rotateY(angle, false);
    placed.translate(position.toVector3(), false);
    Velta::Point eye(placed.getLocalTransformation() * CppLib::TVector<float, 4>(0.0f, 0.0f, 0.0f, 1.0f));

    if (mTerrain) {
        const Velta::Terrain::PointHandle ground = mTerrain->getPointHandle(eye);
        const float aboveGround = mTerrain->getDistance(ground);
        if (ground.inTerrain() && aboveGround < CLEARANCE) {
            position.y() += CLEARANCE - aboveGround;
            eye.y() += CLEARANCE - aboveGround;
        }
    }
    bool underWater = false;
    if (mWater) {
        const Velta::Water::PointHandle water = mWater->getPointHandle(eye);
        if (water.hasQuad()) {
            const float aboveWater = mWater->getDistance(water);
            underWater = aboveWater < 0.0f;
            if (aboveWater >= 0.0f && aboveWater < CLEARANCE) {
                position.y() += CLEARANCE - aboveWater;
            } else if (aboveWater < 0.0f && aboveWater > -CLEARANCE) {
                position.y() += -CLEARANCE - aboveWater;
            }
        }
    }
    if (!mCamera.isNull() && !mCamera->getCamSettings().getRenderSettings().isNull()) {
        mCamera->getCamSettings().getRenderSettings()->setUseFog(underWater);
    }
    if (mTerrain && mTerrain->getTile(0, 0)) {
        // Under the water the bed is seen without it.
        mTerrain->getTile(0, 0)->setCoverShown(!underWater);
    }
    return true;
}

void DuckFollower::step(float dt, long long timestamp)
{
    FollowModifier::step(dt, timestamp);
    if (mLookingBack && getFollowerTransformation()) {
        getFollowerTransformation()->rotateY(HALF_TURN, true);
    }
}

} // namespace Ripplejet
