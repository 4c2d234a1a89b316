#include "GeometryTestSupport.h"

#include "core/ProcessManager.h"
#include "geometry/GeometryObject.h"
#include "geometry/GeometrySubobject.h"
#include "resource/Material.h"
#include "scene/Branch.h"
#include "scene/SceneGraph.h"
#include "scene/SceneManager.h"
#include "scene/SceneProbe.h"
#include "support/CoreFixture.h"

#include <memory>

using namespace Velta;
using GeometryTest::makeGeometry;
using SceneTest::expectBox;
using SceneTest::expectPoint;
using SceneTest::worldBound;
using SceneTest::worldOrigin;

namespace {

class GeometryObjectTest : public VeltaTest::CoreFixture {
protected:
    void SetUp() override
    {
        CoreFixture::SetUp();
        mRoot = core().getSceneManager().createSceneGraph().getRoot();
    }
    Branch& root() { return *mRoot; }
    void frame() { core().getProcessManager().update(true); }

    Branch* mRoot = nullptr;
};

} // namespace

TEST_F(GeometryObjectTest, OwnSubobjectsSitUnderTheirOwnTransformationsAndEachHasOnePlace)
{
    auto object = std::make_unique<GeometryObject>("boat");
    GeometrySubobject hull;
    ASSERT_TRUE(object->addSubobject(hull));
    GeometrySubobject* sail = object->addSubobject(std::make_unique<GeometrySubobject>("sail"));
    root().attachChild(*object);
    EXPECT_NE(hull.getParent(), sail->getParent());
    EXPECT_EQ(hull.getParent()->getParent(), object.get());
    object->getTransformation(*sail)->translate(0, 3, 0, false);
    frame();
    object->getTransformation(hull.getNodeId())->translate(5, 0, 0, false);
    frame();
    expectPoint(worldOrigin(hull), 5, 0, 0);
    expectPoint(worldOrigin(*sail), 0, 3, 0);

    GeometryObject other;
    GeometrySubobject theirs;
    other.addSubobject(theirs);
    EXPECT_FALSE(object->addSubobject(theirs));
    EXPECT_EQ(object->getAttachedChildCount(), 2);
    EXPECT_EQ(object->getSubobject(theirs.getNodeId()), nullptr);
    EXPECT_EQ(object->getTransformation(theirs), nullptr);

    unsigned long long id = 0;
    {
        GeometrySubobject passing;
        passing.setGeometry(makeGeometry("buoy", Point(0, 0, 0), Point(1, 1, 1)), 0);
        object->addSubobject(passing);
        id = passing.getNodeId();
        EXPECT_EQ(object->getSubobject(object->getAttachedChild(2)->getNodeId()), nullptr) << "the holder";
        frame();
    }
    EXPECT_EQ(object->getSubobject(id), nullptr) << "destroyed first, it left the object";
    frame();
    EXPECT_EQ(worldBound(*object).getState(), BoundingVolume::EMPTY);

    object.reset(); // takes its holders and owned sub-objects out of the scene
    frame();
}

TEST_F(GeometryObjectTest, MaterialsAreLookedUpByIndexWithTheObjectsDefaultsAsFallback)
{
    GeometryObject object;
    GeometrySubobject* part = object.addSubobject(std::make_unique<GeometrySubobject>());
    CppLib::SharedPtr<Material> painted(new Material());
    CppLib::SharedPtr<Material> plain(new Material());
    part->setMaterial(1, painted);
    object.setDefaultMaterial(0, plain);
    object.setDefaultMaterial(1, plain);

    EXPECT_EQ(object.getMaterial(*part, 1).get(), painted.get());
    EXPECT_EQ(object.getMaterial(*part, 0).get(), plain.get());
    EXPECT_TRUE(object.getMaterial(*part, 0xFFFFFFFFu).isNull()) << "the loaders' no-material index";
    EXPECT_TRUE(part->getMaterial(3).isNull());
    EXPECT_FALSE(part->removeMaterial(3)) << "looking up stored nothing";
    EXPECT_FALSE(object.removeDefaultMaterial(3));

    EXPECT_TRUE(part->removeMaterial(1));
    EXPECT_EQ(object.getMaterial(*part, 1).get(), plain.get());
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
    GeometrySubobject slab;
    GeometrySubobject bare;
    cube.setGeometry(makeGeometry("cube", Point(-1, -1, -1), Point(1, 1, 1)), 0);
    slab.setGeometry(makeGeometry("slab", Point(0, 0, 0), Point(2, 1, 1)), 0);
    for (GeometrySubobject* part : {&cube, &slab, &bare}) {
        object.addSubobject(*part);
    }
    object.getTransformation(cube)->translate(0, 3, 0, false);
    object.getTransformation(slab)->rotateZ(1.57079632679f, false);
    frame();

    // cube: ±1 around (0, 3, 0), scaled by 2, moved 10 along x.
    expectBox(worldBound(cube), Point(8, 4, -2), Point(12, 8, 2));
    // slab: (x, y) turned to (−y, x), so x in [−1, 0] and y in [0, 2]; scaled, moved.
    expectBox(worldBound(slab), Point(8, 0, 0), Point(10, 4, 2));
    EXPECT_EQ(worldBound(bare).getState(), BoundingVolume::EMPTY);
    expectBox(worldBound(object), Point(8, 0, -2), Point(12, 8, 2));

    object.getTransformation(cube)->translate(0, 0, 5, false);
    bare.setGeometry(makeGeometry("pole", Point(0, 0, 0), Point(0, 10, 0)), 0);
    frame();
    expectBox(worldBound(object), Point(8, 0, 0), Point(12, 20, 12));
}
