#include "race/Autopilot.h"

#include "course/Course.h"
#include "duck/DuckModifier.h"
#include "level/Level.h"

#include "input/InputEvent.h"
#include "input/InputProcessor.h"
#include "input/KeyEventInfo.h"
#include "input/MoveEventInfo.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace Ripplejet {

namespace {

constexpr float PI = 3.1415927f;
/// The pointer's sideways position becomes the duck's steering: yaw =
/// −YAW_PER_SPAN × x (see DuckModifier).
constexpr float YAW_PER_SPAN = 2.3f;
/// Steering: yaw per radian of heading error, less yaw per radian a second
/// of turning already under way; never more than MAX_YAW.
constexpr float HEADING_GAIN = 0.13f;
constexpr float TURN_DAMPING = 0.085f;
constexpr float MAX_YAW = 0.5f;
/// Farther than the duck swims in a frame: it was put somewhere else.
constexpr float JUMP_DISTANCE = 20.0f;
/// Pointer moves smaller than this are not worth an event.
constexpr float POINTER_STEP = 0.0005f;

struct Flat {
    float x, z;
};

Flat centre(const Course::CrossSection& section)
{
    return {(section.left.x + section.right.x) / 2.0f, (section.left.z + section.right.z) / 2.0f};
}

/// The heading of (x, z) about y: 0 along +z, growing toward +x.
float heading(float x, float z)
{
    return std::atan2(x, z);
}

float wrapAngle(float angle)
{
    while (angle > PI) {
        angle -= 2.0f * PI;
    }
    while (angle < -PI) {
        angle += 2.0f * PI;
    }
    return angle;
}

} // namespace

Autopilot::Autopilot(Velta::InputProcessor& input, const DuckModifier& duck, const Level* race)
    : mInput(&input), mDuck(&duck), mRace(race)
{
}

bool Autopilot::isRaceOver() const
{
    return mRace && std::strcmp(mRace->getRaceResult(), "unfinished") != 0;
}

void Autopilot::update(long long timestamp)
{
    if (isRaceOver()) {
        if (!mLetGo) {
            release(timestamp);
            mLetGo = true;
        }
        return;
    }
    mLetGo = false;
    if (!mHolding) {
        // The pointer's first place is the steering's middle: start there.
        mPointerX = 1.0f;
        steer(0.0f, timestamp);
    }
    holdForward(timestamp, true);
    const DuckModifier::Vec3& now = mDuck->getPosition();
    if (!mHasLast || std::hypot(now.x() - mLast.x(), now.z() - mLast.z()) > JUMP_DISTANCE) {
        // A new pilot, or the duck put back (r) or near the finish (c):
        // steer on from the part of the river it is in now. Counting the
        // sections passed from the first instead would stop at an early one
        // whose line across the river the duck happens to lie behind, and
        // steer for it overland.
        mTarget = nearestSection();
    }
    mLast = now;
    mHasLast = true;
    advanceTarget();
    const Flat target = centre(Course::crossSections()[static_cast<std::size_t>(mTarget)]);
    const DuckModifier::Vec3& position = mDuck->getPosition();
    const DuckModifier::Mat3& orientation = mDuck->getOrientation();
    const float facing = heading(orientation.get(0, 2), orientation.get(2, 2));
    const float wanted = heading(target.x - position.x(), target.z - position.z());
    const float error = wrapAngle(wanted - facing);
    const float yaw = std::clamp(HEADING_GAIN * error - TURN_DAMPING * mDuck->getAngularVelocity().y(), -MAX_YAW,
                                 MAX_YAW);
    steer(yaw, timestamp);
}

int Autopilot::nearestSection() const
{
    const std::vector<Course::CrossSection>& sections = Course::crossSections();
    const DuckModifier::Vec3& position = mDuck->getPosition();
    int nearest = 1;
    float nearestDistance = INFINITY;
    for (std::size_t i = 1; i < sections.size(); ++i) {
        const Flat middle = centre(sections[i]);
        const float distance = std::hypot(position.x() - middle.x, position.z() - middle.z);
        if (distance < nearestDistance) {
            nearestDistance = distance;
            nearest = static_cast<int>(i);
        }
    }
    return nearest;
}

void Autopilot::advanceTarget()
{
    // A section is passed once the duck is past the line across the river
    // there, seen along the river's way from the section before to the next.
    const std::vector<Course::CrossSection>& sections = Course::crossSections();
    const int last = static_cast<int>(sections.size()) - 1;
    const DuckModifier::Vec3& position = mDuck->getPosition();
    while (mTarget < last) {
        const Flat before = centre(sections[static_cast<std::size_t>(mTarget - 1)]);
        const Flat here = centre(sections[static_cast<std::size_t>(mTarget)]);
        const Flat after = centre(sections[static_cast<std::size_t>(mTarget + 1)]);
        const float alongX = after.x - before.x;
        const float alongZ = after.z - before.z;
        if ((position.x() - here.x) * alongX + (position.z() - here.z) * alongZ <= 0.0f) {
            break;
        }
        ++mTarget;
    }
}

void Autopilot::holdForward(long long timestamp, bool hold)
{
    if (mHolding == hold) {
        return;
    }
    mHolding = hold;
    Velta::InputEvent event(timestamp);
    const auto type = hold ? Velta::KeyEventInfo::KEY_PRESSED : Velta::KeyEventInfo::KEY_RELEASED;
    event.setKey(type, 0, Velta::KeyEventInfo::KEY_W, 0);
    mInput->processInputEvent(event);
}

void Autopilot::release(long long timestamp)
{
    // Sent even when they seem to be let go already: the keys and the
    // pointer may have been left held by someone else (an earlier pilot).
    mHolding = true;
    holdForward(timestamp, false);
    mPointerX = 1.0f;
    steer(0.0f, timestamp);
}

void Autopilot::steer(float yaw, long long timestamp)
{
    const float x = -yaw / YAW_PER_SPAN;
    if (std::fabs(x - mPointerX) < POINTER_STEP) {
        return;
    }
    mPointerX = x;
    Velta::InputEvent event(timestamp);
    event.setMove(x, 0.0f);
    mInput->processInputEvent(event);
}

} // namespace Ripplejet
