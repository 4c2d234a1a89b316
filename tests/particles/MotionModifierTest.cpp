#include "core/EventManager.h"
#include "core/ProcessManager.h"
#include "particles/FollowModifier.h"
#include "particles/VelocityModifier.h"
#include "scene/Branch.h"
#include "scene/SceneGraph.h"
#include "scene/SceneManager.h"
#include "scene/TransformationNode.h"
#include "support/ManualClock.h"

#include <gtest/gtest.h>

using namespace Velta;
using Matrix4 = CppLib::Matrix<float, 4>;

namespace {

const float PI = 3.14159265f;

Point apply(const Matrix4& m, const Point& p)
{
    return Point(m * CppLib::TVector<float, 4>(p.x(), p.y(), p.z(), 1.0f));
}

void expectPoint(const Point& actual, float x, float y, float z)
{
    EXPECT_NEAR(actual.x(), x, 1e-4f);
    EXPECT_NEAR(actual.y(), y, 1e-4f);
    EXPECT_NEAR(actual.z(), z, 1e-4f);
}

void expectMatrix(const Matrix4& actual, const Matrix4& expected)
{
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            EXPECT_NEAR(actual.get(r, c), expected.get(r, c), 1e-4f) << "at " << r << ", " << c;
        }
    }
}

/// Modifiers registered with the event manager and run by whole engine
/// frames at times the test sets.
class MotionModifierTest : public VeltaTest::ClockedCoreFixture {
protected:
    template <typename M>
    M& registerActive(M* modifier, LogicElement::State state = LogicElement::ACTIVE)
    {
        CppLib::SharedPtr<M> shared(modifier);
        core().getEventManager().registerModifier(shared);
        modifier->setState(state);
        return *modifier;
    }

    /// One engine frame `milliseconds` after the last.
    void frameAfter(long long milliseconds)
    {
        mClock.advance(milliseconds);
        core().getProcessManager().update(true);
    }
};

} // namespace

TEST_F(MotionModifierTest, VelocityIsScaledByTheTimeBetweenFrames)
{
    Transformation spun;
    VelocityModifier& spin = registerActive(new VelocityModifier(spun));
    spin.setRotateY(PI);

    frameAfter(0); // starts the clock
    expectMatrix(spun.getLocalTransformation(), Matrix4());
    frameAfter(500);
    expectMatrix(spun.getLocalTransformation(), Matrix4::rotationY(PI / 2));
    frameAfter(250);
    frameAfter(250);
    expectMatrix(spun.getLocalTransformation(), Matrix4::rotationY(PI));
}

TEST_F(MotionModifierTest, TheGlobalFlagMovesAlongTheTransformationsOwnAxes)
{
    Transformation flagged;
    flagged.rotateZ(PI / 2, false); // own x axis points along the parent's y
    Transformation plain;
    plain.rotateZ(PI / 2, false);
    VelocityModifier& alongOwn = registerActive(new VelocityModifier(flagged));
    VelocityModifier& alongParent = registerActive(new VelocityModifier(plain));
    for (VelocityModifier* modifier : {&alongOwn, &alongParent}) {
        modifier->setTranslateX(2.0f);
    }
    alongOwn.setTransformGlobal(true);

    frameAfter(0);
    frameAfter(1000);
    expectPoint(apply(flagged.getLocalTransformation(), Point()), 0, 2, 0);
    expectPoint(apply(plain.getLocalTransformation(), Point()), 2, 0, 0);
}

TEST_F(MotionModifierTest, AHeldOrStoppedModifierResumesWithoutAJump)
{
    Transformation held;
    Transformation stopped;
    VelocityModifier& holding = registerActive(new VelocityModifier(held));
    VelocityModifier& stopping = registerActive(new VelocityModifier(stopped));
    for (VelocityModifier* modifier : {&holding, &stopping}) {
        modifier->setTranslateZ(1.0f);
    }
    frameAfter(0);
    frameAfter(100);

    holding.setState(LogicElement::IDLE);
    stopping.setState(LogicElement::INACTIVE);
    for (int i = 0; i < 30; ++i) {
        frameAfter(100);
    }
    expectPoint(apply(held.getLocalTransformation(), Point()), 0, 0, 0.1f);
    expectPoint(apply(stopped.getLocalTransformation(), Point()), 0, 0, 0.1f);

    // Three seconds of hold do not arrive at once: only the time since the
    // last held frame counts, and a stopped modifier starts its clock anew.
    holding.setState(LogicElement::ACTIVE);
    stopping.setState(LogicElement::ACTIVE);
    frameAfter(100);
    expectPoint(apply(held.getLocalTransformation(), Point()), 0, 0, 0.2f);
    expectPoint(apply(stopped.getLocalTransformation(), Point()), 0, 0, 0.1f);
    frameAfter(100);
    expectPoint(apply(stopped.getLocalTransformation(), Point()), 0, 0, 0.2f);
}

TEST_F(MotionModifierTest, TheFollowerClosesOnAStillSourceByTenTimesTheFrameTime)
{
    SceneGraph& scene = core().getSceneManager().createSceneGraph();
    TransformationNode duck;
    duck.translate(10, 0, 0, false);
    scene.getRoot()->attachChild(duck);
    Transformation camera;
    FollowModifier& follower = registerActive(new FollowModifier());
    follower.setSource(duck);
    follower.setFollowerTransformation(camera);
    follower.setToPoint(Point(0, 0, 0), 0.0f);

    frameAfter(0);
    frameAfter(50);
    expectPoint(follower.getCurrentPoint(), 5, 0, 0);
    expectPoint(apply(camera.getLocalTransformation(), Point()), 5, 0, 0);
    frameAfter(50);
    expectPoint(follower.getCurrentPoint(), 7.5f, 0, 0);

    // A slow frame (250 ms: 2.5 times the gap) lands on the source instead
    // of overshooting it; repeated, it would otherwise swing ever wider.
    frameAfter(250);
    expectPoint(follower.getCurrentPoint(), 10, 0, 0);
    frameAfter(250);
    expectPoint(follower.getCurrentPoint(), 10, 0, 0);
}

TEST_F(MotionModifierTest, TheFollowerTakesTheSourcesHeadingAndItsOffset)
{
    SceneGraph& scene = core().getSceneManager().createSceneGraph();
    TransformationNode duck;
    scene.getRoot()->attachChild(duck);
    Transformation camera;
    FollowModifier& follower = registerActive(new FollowModifier());
    follower.setSource(duck);
    follower.setFollowerTransformation(camera);
    follower.getOffsetTransformation().translate(0, 1, 4, false);

    const Point none;
    EXPECT_NEAR(follower.calcRotationY(none, {0.0f, 0.0f, 1.0f}, 0.0f, 0), 0.0f, 1e-5f);
    EXPECT_NEAR(follower.calcRotationY(none, {-1.0f, 0.0f, 0.0f}, 0.0f, 0), 1.5f * PI, 1e-5f);
    EXPECT_NEAR(follower.calcRotationY(none, {1.0f, 0.0f, 0.0f}, 0.0f, 0), 0.5f * PI, 1e-5f);
    EXPECT_NEAR(follower.calcRotationY(none, {0.0f, 0.0f, -3.0f}, 0.0f, 0), PI, 1e-5f);

    duck.rotateY(-PI / 2, false); // +Z turned onto −X
    frameAfter(0);
    follower.setToSource();
    EXPECT_NEAR(follower.getCurrentAngle(), 1.5f * PI, 1e-5f);

    frameAfter(20);
    // The offset (0, 1, 4) turned with the heading: 4 along −X.
    expectPoint(apply(camera.getLocalTransformation(), Point()), -4, 1, 0);

    // A source scaled to nothing has no heading: the last one is kept.
    duck.scale(0.0f, false);
    frameAfter(20);
    frameAfter(20); // the follower sees the source as the last frame's pass left it
    EXPECT_NEAR(follower.getCurrentAngle(), 1.5f * PI, 1e-5f);
    expectPoint(apply(camera.getLocalTransformation(), Point()), -4, 1, 0);
}
