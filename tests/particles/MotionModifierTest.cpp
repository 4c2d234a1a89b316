#include "core/EventManager.h"
#include "core/ProcessManager.h"
#include "particles/FollowModifier.h"
#include "particles/VelocityModifier.h"
#include "scene/Branch.h"
#include "scene/SceneGraph.h"
#include "scene/SceneManager.h"
#include "scene/SceneProbe.h"
#include "support/ClockedCoreFixture.h"

using namespace Velta;
using SceneTest::expectPoint;

namespace {

const float PI = 3.14159265f;

Point place(const Transformation& t, const Point& p = Point())
{
    return Point(t.getLocalTransformation() * CppLib::TVector<float, 4>(p.x(), p.y(), p.z(), 1.0f));
}

/// Modifiers run by the event manager in whole engine frames at set times.
class MotionModifierTest : public VeltaTest::ClockedCoreFixture {
protected:
    template <typename M>
    M& activate(M* modifier)
    {
        core().getEventManager().registerModifier(CppLib::SharedPtr<M>(modifier));
        modifier->setState(LogicElement::ACTIVE);
        return *modifier;
    }

    void frameAfter(long long milliseconds)
    {
        mClock.advance(milliseconds);
        core().getProcessManager().update(true);
    }
};

} // namespace

TEST_F(MotionModifierTest, VelocityIsScaledByTheTimeBetweenFramesAndResumesWithoutAJump)
{
    Transformation spun;
    Transformation flagged;
    Transformation held;
    Transformation stopped;
    flagged.rotateZ(PI / 2, false); // its own x axis lies along the parent's y
    activate(new VelocityModifier(spun)).setRotateY(PI);
    VelocityModifier& mover = activate(new VelocityModifier(flagged));
    mover.setTranslateX(2.0f);
    mover.setTransformGlobal(true);
    VelocityModifier& holding = activate(new VelocityModifier(held));
    VelocityModifier& stopping = activate(new VelocityModifier(stopped));
    holding.setTranslateZ(1.0f);
    stopping.setTranslateZ(1.0f);

    frameAfter(0); // starts the clocks
    frameAfter(500);
    expectPoint(place(spun, Point(1, 0, 0)), 0, 0, -1); // a quarter turn
    expectPoint(place(flagged), 0, 1, 0); // the global flag moves along its own axes

    holding.setState(LogicElement::IDLE);
    stopping.setState(LogicElement::INACTIVE);
    for (int i = 0; i < 30; ++i) {
        frameAfter(100);
    }
    holding.setState(LogicElement::ACTIVE);
    stopping.setState(LogicElement::ACTIVE);
    frameAfter(100);
    // Three seconds of hold do not arrive at once: a held modifier counts the
    // last frame only, a stopped one starts its clock anew.
    expectPoint(place(held), 0, 0, 0.6f);
    expectPoint(place(stopped), 0, 0, 0.5f);
}

TEST_F(MotionModifierTest, TheFollowerClosesOnTheSourceByTenTimesTheFrameTimeAndNeverPassesIt)
{
    TransformationNode duck;
    duck.translate(10, 0, 0, false);
    core().getSceneManager().createSceneGraph().getRoot()->attachChild(duck);
    Transformation camera;
    FollowModifier& follower = activate(new FollowModifier());
    follower.setSource(duck);
    follower.setFollowerTransformation(camera);

    frameAfter(0);
    frameAfter(50);
    expectPoint(place(camera), 5, 0, 0);
    // A slow frame (250 ms, 2.5 times the gap) lands on the source; repeated,
    // it would otherwise swing ever wider around it.
    frameAfter(250);
    expectPoint(follower.getCurrentPoint(), 10, 0, 0);
    frameAfter(250);
    expectPoint(follower.getCurrentPoint(), 10, 0, 0);
}

TEST_F(MotionModifierTest, TheFollowerTakesTheSourcesHeadingAndItsOffset)
{
    FollowModifier probe;
    EXPECT_NEAR(probe.calcRotationY(Point(), {1.0f, 0.0f, 0.0f}, 0.0f, 0), 0.5f * PI, 1e-5f);
    EXPECT_NEAR(probe.calcRotationY(Point(), {0.0f, 0.0f, 1.0f}, 0.0f, 0), 0.0f, 1e-5f);

    TransformationNode duck;
    duck.rotateY(-PI / 2, false); // faces −X
    core().getSceneManager().createSceneGraph().getRoot()->attachChild(duck);
    Transformation camera;
    FollowModifier& follower = activate(new FollowModifier());
    follower.setSource(duck);
    follower.setFollowerTransformation(camera);
    follower.getOffsetTransformation().translate(0, 1, 4, false);
    frameAfter(0);
    frameAfter(20);
    expectPoint(place(camera), -4, 1, 0); // the offset turned with the heading

    // Scaled to nothing, the source has no heading: the last one is kept.
    duck.scale(0.0f, false);
    frameAfter(20);
    frameAfter(20);
    EXPECT_NEAR(follower.getCurrentAngle(), 1.5f * PI, 1e-5f);
    expectPoint(place(camera), -4, 1, 0);
}
