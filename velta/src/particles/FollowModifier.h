#pragma once

#include "VeltaExport.h"
#include "particles/SteppedModifier.h"
#include "cpplib/Point.h"
#include "cpplib/TVector.h"
#include "scene/Transformation.h"

namespace Velta {

class Node;

/// Keeps a follower transformation (typically a camera's) behind a moving
/// source node: each frame the follow point closes on the source's world
/// position by ten times the elapsed seconds of the gap (half of it in a
/// 50 ms frame, all of it in a frame of 100 ms or more), and the follower is
/// placed at that point, turned to the source's heading about Y, with the
/// offset transformation applied in that frame.
///
/// Follows in state ACTIVE (see SteppedModifier for the states). Does not own
/// the source or the follower, which must outlive it; owns the offset. Derived followers adjust the placement
/// by overriding the three steps.
class VELTA_EXPORT FollowModifier : public SteppedModifier {
public:
    FollowModifier();
    ~FollowModifier() override;

    void setSource(Node& source) { mSource = &source; }
    Node* getSource() const { return mSource; }

    void setFollowerTransformation(Transformation& follower) { mFollower = &follower; }
    Transformation* getFollowerTransformation() const { return mFollower; }

    /// Where the follower sits relative to the follow point, in the frame
    /// turned to the source's heading. The identity at first.
    Transformation& getOffsetTransformation() { return mOffset; }

    /// Starts following from `point` with heading `angle` (radians about Y).
    void setToPoint(const Point& point, float angle);

    /// Starts following from where the source is, with its heading; nothing
    /// without a source.
    void setToSource();

    const Point& getCurrentPoint() const { return mCurrentPoint; }
    float getCurrentAngle() const { return mCurrentAngle; }

    /// The heading of `direction` about Y, from 0 (along +Z) through π/2
    /// (+X) and π (−Z) to 3π/2 (−X), below 2π. A direction without length
    /// keeps the current heading.
    virtual float calcRotationY(const Point& source, const CppLib::TVector<float, 3>& direction, float dt,
                                long long timestamp);

    /// Moves the follow point toward `source` by dt × 10 of the gap (dt in
    /// seconds), never past it, and answers the new point.
    virtual Point calcTranslation(const Point& source, const CppLib::TVector<float, 3>& direction, float dt,
                                  long long timestamp);

    /// May change the heading and the position the follower is about to be
    /// placed at (`proposed` is the position as calculated); false leaves
    /// the follower where it is this frame. Accepts everything here.
    virtual bool checkPosition(const Point& proposed, const CppLib::TVector<float, 3>& direction, float& angle,
                               Point& position, float dt, long long timestamp);

protected:
    void step(float dt, long long timestamp) override;

private:
    Node* mSource = nullptr;
    Transformation mOffset;
    Transformation* mFollower = nullptr;
    Point mCurrentPoint;
    float mCurrentAngle = 0.0f;
};

} // namespace Velta
