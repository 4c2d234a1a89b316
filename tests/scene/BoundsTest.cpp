#include "SceneProbe.h"

#include "scene/BoundingBox.h"
#include "scene/Transformation.h"

#include <cmath>

using namespace Velta;
using Matrix4 = CppLib::Matrix<float, 4>;
using SceneTest::expectBox;
using SceneTest::expectPoint;

namespace {

const float HALF_PI = 1.57079632679f;

Point apply(const Matrix4& m, const Point& p)
{
    return Point(m * CppLib::TVector<float, 4>(p.x(), p.y(), p.z(), 1.0f));
}

Point translationOf(const Transformation& t)
{
    return apply(t.getLocalTransformation(), Point());
}

} // namespace

TEST(TransformationSteps, LocalStepsActInOwnAxesAndParentStepsInTheParentsAxes)
{
    Transformation own;
    own.translate(1, 0, 0, true);
    own.rotateZ(HALF_PI, true);
    expectPoint(translationOf(own), 1, 0, 0);
    expectPoint(apply(own.getLocalTransformation(), Point(1, 0, 0)), 1, 1, 0); // x axis turned onto y

    Transformation parent;
    parent.translate(1, 0, 0, false);
    parent.rotateZ(HALF_PI, false);
    expectPoint(translationOf(parent), 0, 1, 0);

    const Matrix4 shift = Matrix4::translation(0, 0, 5);
    Transformation pre;
    pre.rotateX(HALF_PI, true);
    pre.multMatrix(shift, 0.0f); // in the parent's axes: stays along z
    expectPoint(translationOf(pre), 0, 0, 5);
    Transformation post;
    post.rotateX(HALF_PI, true);
    post.multMatrix(shift, 1.0f); // in own axes: own z is the parent's −y
    expectPoint(translationOf(post), 0, -5, 0);
}

TEST(TransformationSteps, InverseUndoesTheStepsAndRotationsAboutLinesKeepTheLine)
{
    Transformation t;
    t.translate(1, 2, 3, true);
    expectPoint(apply(t.getInverseTransformation(), Point()), -1, -2, -3);
    t.scale(2.0f, true);
    t.rotate(0.7f, 1, 1, 0, true);
    const Point p(0.5f, -4.0f, 2.0f);
    expectPoint(apply(t.getInverseTransformation(), apply(t.getLocalTransformation(), p)), p.x(), p.y(), p.z());
    t.reset();
    EXPECT_TRUE(t.getLocalTransformation().isIdentity());
    expectPoint(apply(t.getInverseTransformation(), p), p.x(), p.y(), p.z());

    // A rotation about a line keeps the line; a degenerate axis changes nothing.
    const CppLib::TVector<float, 3> from(1, 0, 0);
    const CppLib::TVector<float, 3> to(1, 0, 1);
    for (bool local : {true, false}) {
        Transformation about;
        about.rotate(2 * HALF_PI, from, to, local);
        expectPoint(apply(about.getLocalTransformation(), Point(1, 0, 7)), 1, 0, 7);
        expectPoint(apply(about.getLocalTransformation(), Point()), 2, 0, 0);
    }
    t.rotate(1.0f, 0, 0, 0, true);
    t.rotate(1.0f, from, from, false);
    EXPECT_TRUE(t.getLocalTransformation().isIdentity());
}

TEST(BoundingBoxStates, EmptyAndInfiniteBoxesFollowTheirStatesNotTheirCornersAlsoWhenIntersected)
{
    BoundingBox empty;
    EXPECT_EQ(empty.getState(), BoundingVolume::EMPTY);
    EXPECT_FALSE(empty.contains(Point())); // the unused corners are at the origin

    BoundingBox infinite;
    infinite.setInfinite();
    EXPECT_TRUE(infinite.contains(Point(1e6f, -3, 2)));
    EXPECT_FALSE(infinite.expand(Point(1, 1, 1)));
    EXPECT_FALSE(infinite.expand(BoundingBox(Point(0, 0, 0), Point(5, 5, 5))));
    EXPECT_EQ(infinite.getState(), BoundingVolume::INFINITE);

    EXPECT_TRUE(empty.expand(Point(1, 2, 3)));
    expectBox(empty, Point(1, 2, 3), Point(1, 2, 3));
    EXPECT_FALSE(empty.expand(Point(1, 2, 3)));

    BoundingBox grows(Point(0, 0, 0), Point(1, 1, 1));
    EXPECT_FALSE(grows.expand(BoundingBox()));
    EXPECT_TRUE(grows.expand(infinite));
    EXPECT_EQ(grows.getState(), BoundingVolume::INFINITE);

    // Intersection: disjoint, touching, empty and unbounded volumes.
    const BoundingBox a(Point(0, 0, 0), Point(1, 1, 1));
    EXPECT_EQ(a.intersects(BoundingBox(Point(2, 0, 0), Point(3, 1, 1))), -1);
    EXPECT_EQ(a.intersects(BoundingBox(Point(1, 1, 1), Point(3, 3, 3))), 0); // touching corners
    EXPECT_EQ(a.intersects(BoundingBox()), -1);                              // empty meets nothing
    EXPECT_NE(a.intersects(infinite), -1);
    EXPECT_EQ(infinite.intersects(a), 1);
}

TEST(BoundingBoxStates, PlacedBoxesAreExpandedAndIntersectedWhereTheyArePlaced)
{
    const BoundingBox local(Point(-1, -2, -3), Point(1, 2, 3));
    Matrix4 placement = Matrix4::translation(10, 0, 0) * Matrix4::rotationZ(HALF_PI);

    BoundingBox world;
    EXPECT_TRUE(world.expand(local, placement));
    // Turned a quarter about z, x spans ±2 and y ±1, then moved 10 along x.
    expectBox(world, Point(8, -1, -3), Point(12, 1, 3));

    placement = Matrix4::rotationY(0.5f) * Matrix4::scaling(2, 1, 0.5f);
    BoundingBox around;
    around.expand(local, placement);
    BoundingBox byCorners;
    for (int corner = 0; corner < 8; ++corner) {
        byCorners.expand(apply(placement, Point(corner & 1 ? 1.f : -1.f, corner & 2 ? 2.f : -2.f,
                                                corner & 4 ? 3.f : -3.f)));
    }
    expectBox(around, byCorners.getMin(), byCorners.getMax());

    // Placed volumes are compared where they are placed.
    const BoundingBox a(Point(0, 0, 0), Point(1, 1, 1));
    const BoundingBox unit(Point(-0.5f, -0.5f, -0.5f), Point(0.5f, 0.5f, 0.5f));
    EXPECT_EQ(a.intersects(unit, Matrix4::translation(5, 0, 0)), -1);
    EXPECT_NE(a.intersects(unit, Matrix4::translation(1.2f, 0.5f, 0.5f)), -1);
}
