#include "GeometryTestSupport.h"

#include "core/ProcessManager.h"
#include "geometry/GeometryObject.h"
#include "geometry/GeometrySubobject.h"
#include "resource/Material.h"
#include "scene/Branch.h"
#include "scene/SceneGraph.h"
#include "scene/SceneManager.h"
#include "scene/TransformationNode.h"
#include "support/CoreFixture.h"

#include <memory>

using namespace Velta;
using GeometryTest::expectBox;
using GeometryTest::expectPoint;
using GeometryTest::makeGeometry;

namespace {

const float HALF_PI = 1.57079632679f;

class GeometryObjectTest : public VeltaTest::CoreFixture {
protected:
    void SetUp() override
    {
        CoreFixture::SetUp();
        mScene = &core().getSceneManager().createSceneGraph();
    }

    /// One frame of the engine: the scene's update pass among the rest.
    void frame() { core().getProcessManager().update(true); }

    Branch& root() { return *mScene->getRoot(); }

    SceneGraph* mScene = nullptr;
};

Point worldOrigin(const Node& node)
{
    return Point(node.getTransformedNode().getWorldTransformation() * CppLib::TVector<float, 4>(0, 0, 0, 1));
}

const BoundingVolume* worldBound(const Node& node)
{
    return &node.getTransformedNode().getBoundingVolume();
}

} // namespace

TEST_F(GeometryObjectTest, SubobjectsSitUnderTheirOwnTransformationsAndMoveIndependently)
{
    GeometryObject object("boat");
    GeometrySubobject hull;
    GeometrySubobject* sail = object.addSubobject(std::make_unique<GeometrySubobject>("sail"));
    ASSERT_TRUE(object.addSubobject(hull));
    ASSERT_NE(sail, nullptr);
    root().attachChild(object);

    EXPECT_EQ(object.getAttachedChildCount(), 2);
    ASSERT_NE(hull.getParent(), nullptr);
    EXPECT_EQ(hull.getParent()->getNodeType(), Node::TRANSFORMATION);
    EXPECT_NE(hull.getParent(), sail->getParent());
    EXPECT_EQ(hull.getParent()->getParent(), &object);
    EXPECT_EQ(object.getSubobject(hull.getNodeId()), &hull);
    EXPECT_EQ(object.getSubobject(sail->getNodeId()), sail);
    EXPECT_EQ(object.getTransformation(*sail), object.getTransformation(sail->getNodeId()));

    object.getTransformation(*sail)->translate(0, 3, 0, false);
    frame();
    expectPoint(worldOrigin(*sail), 0, 3, 0);
    expectPoint(worldOrigin(hull), 0, 0, 0);

    object.getTransformation(hull)->translate(5, 0, 0, false);
    frame();
    expectPoint(worldOrigin(hull), 5, 0, 0);
    expectPoint(worldOrigin(*sail), 0, 3, 0);
}

TEST_F(GeometryObjectTest, NodesThatAreNotItsSubobjectsAreNotFoundOrAdded)
{
    GeometryObject object;
    GeometryObject other;
    GeometrySubobject mine;
    GeometrySubobject theirs;
    ASSERT_TRUE(object.addSubobject(mine));
    ASSERT_TRUE(other.addSubobject(theirs));

    EXPECT_EQ(object.getSubobject(theirs.getNodeId()), nullptr);
    EXPECT_EQ(object.getSubobject(object.getNodeId()), nullptr);
    EXPECT_EQ(object.getSubobject(mine.getParent()->getNodeId()), nullptr) << "the holder is no sub-object";
    EXPECT_EQ(object.getTransformation(theirs), nullptr);
    EXPECT_EQ(object.getTransformation(12345), nullptr);

    // A sub-object has one place: a second object is refused.
    EXPECT_FALSE(object.addSubobject(theirs));
    EXPECT_EQ(object.getAttachedChildCount(), 1);
    EXPECT_EQ(object.getSubobjectCount(), 1u);
    EXPECT_EQ(object.addSubobject(std::unique_ptr<GeometrySubobject>()), nullptr);
}

TEST_F(GeometryObjectTest, ASubobjectDestroyedFirstSimplyLeavesTheObject)
{
    auto object = std::make_unique<GeometryObject>();
    root().attachChild(*object);
    unsigned long long id = 0;
    {
        GeometrySubobject passing;
        passing.setGeometry(makeGeometry("buoy", Point(0, 0, 0), Point(1, 1, 1)), 0);
        ASSERT_TRUE(object->addSubobject(passing));
        id = passing.getNodeId();
        frame();
    }
    EXPECT_EQ(object->getSubobject(id), nullptr);
    EXPECT_EQ(object->getTransformation(id), nullptr);
    frame();
    EXPECT_EQ(worldBound(*object)->getState(), BoundingVolume::EMPTY);

    // An object leaving with owned sub-objects, still in the scene, takes
    // its holders and sub-objects with it.
    object->addSubobject(std::make_unique<GeometrySubobject>());
    object.reset();
    EXPECT_EQ(root().getAttachedChildCount(), 0);
    frame();
}

TEST_F(GeometryObjectTest, MaterialsAreLookedUpByIndexWithTheObjectsDefaultsAsFallback)
{
    GeometryObject object;
    GeometrySubobject* part = object.addSubobject(std::make_unique<GeometrySubobject>());
    CppLib::SharedPtr<Material> painted(new Material());
    CppLib::SharedPtr<Material> plain(new Material());
    CppLib::SharedPtr<Material> wood(new Material());
    part->setMaterial(1, painted);
    object.setDefaultMaterial(0, plain);
    object.setDefaultMaterial(1, wood);

    EXPECT_EQ(object.getMaterial(*part, 1).get(), painted.get()) << "the sub-object's own first";
    EXPECT_EQ(object.getMaterial(*part, 0).get(), plain.get()) << "then the object's default";
    EXPECT_TRUE(object.getMaterial(*part, 2).isNull());
    EXPECT_TRUE(object.getMaterial(*part, 0xFFFFFFFFu).isNull()) << "the loaders' no-material index";

    EXPECT_TRUE(part->getMaterial(3).isNull());
    EXPECT_FALSE(part->removeMaterial(3)) << "looking up stored nothing";
    EXPECT_TRUE(object.getDefaultMaterial(3).isNull());
    EXPECT_FALSE(object.removeDefaultMaterial(3));

    EXPECT_TRUE(part->removeMaterial(1));
    EXPECT_EQ(object.getMaterial(*part, 1).get(), wood.get());
    EXPECT_TRUE(object.removeDefaultMaterial(1));
    EXPECT_TRUE(object.getMaterial(*part, 1).isNull());

    part->setMaterial(0, painted);
    part->setMaterial(0, wood);
    EXPECT_EQ(static_cast<const Drawable&>(*part).getMaterial(0).get(), wood.get()) << "replaced";
}

TEST_F(GeometryObjectTest, TheUpdatePassBoundsAnObjectByItsPlacedSubobjects)
{
    TransformationNode place;
    place.translate(10, 0, 0, true);
    place.scale(2, true);
    GeometryObject object;
    place.setChild(object);
    root().attachChild(place);

    GeometrySubobject cube;
    cube.setGeometry(makeGeometry("cube", Point(-1, -1, -1), Point(1, 1, 1)), 0);
    GeometrySubobject slab;
    slab.setGeometry(makeGeometry("slab", Point(0, 0, 0), Point(2, 1, 1)), 0);
    GeometrySubobject empty;
    object.addSubobject(cube);
    object.addSubobject(slab);
    object.addSubobject(empty);
    object.getTransformation(cube)->translate(0, 3, 0, false);
    object.getTransformation(slab)->rotateZ(HALF_PI, false);
    frame();

    // cube: (±1) + (0, 3, 0), scaled by 2, moved by 10 along x.
    expectBox(worldBound(cube), Point(8, 4, -2), Point(12, 8, 2));
    // slab: (x, y) turned to (−y, x): x in [−1, 0], y in [0, 2]; then scaled and moved.
    expectBox(worldBound(slab), Point(8, 0, 0), Point(10, 4, 2));
    EXPECT_EQ(worldBound(empty)->getState(), BoundingVolume::EMPTY) << "no geometry, no bound";
    expectBox(worldBound(object), Point(8, 0, -2), Point(12, 8, 2));
    expectBox(worldBound(place), Point(8, 0, -2), Point(12, 8, 2));

    object.getTransformation(cube)->translate(0, 0, 5, false);
    frame();
    expectBox(worldBound(cube), Point(8, 4, 8), Point(12, 8, 12));
    expectBox(worldBound(object), Point(8, 0, 0), Point(12, 8, 12));

    // A new geometry on a sub-object counts from the next pass on.
    empty.setGeometry(makeGeometry("pole", Point(0, 0, 0), Point(0, 10, 0)), 0);
    frame();
    expectBox(worldBound(object), Point(8, 0, 0), Point(12, 20, 12));
}
