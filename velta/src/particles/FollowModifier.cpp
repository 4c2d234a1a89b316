#include "particles/FollowModifier.h"

#include "scene/Node.h"

#include <algorithm>
#include <cmath>

namespace Velta {

namespace {

const float FULL_TURN = 6.2831855f;

/// Share of the gap to the source closed per second of a frame.
const float CLOSING_RATE = 10.0f;

/// Where `node` is and which way its +Z axis points, in world coordinates.
void getWorldPlacement(const Node& node, Point& position, CppLib::TVector<float, 3>& direction)
{
    const CppLib::Matrix<float, 4>& world = node.getTransformedNode().getWorldTransformation();
    position = Point(world * CppLib::TVector<float, 4>(0.0f, 0.0f, 0.0f, 1.0f));
    const Point ahead(world * CppLib::TVector<float, 4>(0.0f, 0.0f, 1.0f, 1.0f));
    direction = ahead.toVector3() - position.toVector3();
}

} // namespace

FollowModifier::FollowModifier() = default;

FollowModifier::~FollowModifier() = default;

void FollowModifier::setToPoint(const Point& point, float angle)
{
    mCurrentPoint = point;
    mCurrentAngle = angle;
}

void FollowModifier::setToSource()
{
    if (!mSource) {
        return;
    }
    Point position;
    CppLib::TVector<float, 3> direction;
    getWorldPlacement(*mSource, position, direction);
    mCurrentPoint = position;
    mCurrentAngle = calcRotationY(position, direction, 0.0f, getLastTime());
}

void FollowModifier::step(float dt, long long timestamp)
{
    if (!mSource || !mFollower) {
        return;
    }
    Point source;
    CppLib::TVector<float, 3> direction;
    getWorldPlacement(*mSource, source, direction);
    float angle = calcRotationY(source, direction, dt, timestamp);
    Point position = calcTranslation(source, direction, dt, timestamp);
    const Point proposed = position;
    if (checkPosition(proposed, direction, angle, position, dt, timestamp)) {
        mCurrentAngle = angle;
        // Built in the parent's axes: offset first, then the heading, then
        // the move to the follow point.
        mFollower->reset();
        mFollower->multMatrix(mOffset.getLocalTransformation(), 0.0f);
        mFollower->rotateY(angle, false);
        mFollower->translate(position.toVector3(), false);
    }
}

float FollowModifier::calcRotationY(const Point&, const CppLib::TVector<float, 3>& direction, float, long long)
{
    const float length = direction.length();
    if (!(length > 0.0f)) {
        return mCurrentAngle;
    }
    const CppLib::TVector<float, 3> heading = direction * (1.0f / length);
    // Rounding can leave the cosine a hair outside [−1, 1], where acos has no value.
    float angle = std::acos(std::clamp(heading.z(), -1.0f, 1.0f));
    if (heading.x() < 0.0f) {
        angle = FULL_TURN - angle;
    }
    return angle;
}

Point FollowModifier::calcTranslation(const Point& source, const CppLib::TVector<float, 3>&, float dt, long long)
{
    // Closing more than the whole gap would overshoot the source, and from
    // twice the gap on swing ever wider: a long frame lands on the source.
    const float share = std::clamp(dt * CLOSING_RATE, 0.0f, 1.0f);
    mCurrentPoint = Point(mCurrentPoint + (source - mCurrentPoint) * share);
    return mCurrentPoint;
}

bool FollowModifier::checkPosition(const Point&, const CppLib::TVector<float, 3>&, float&, Point&, float, long long)
{
    return true;
}

} // namespace Velta
