#include "SceneProbe.h"

#include "resource/RenderSettings.h"
#include "scene/Branch.h"
#include "scene/Camera.h"
#include "scene/Frustrum.h"
#include "scene/Light.h"
#include "scene/Overlay.h"
#include "scene/SceneGraph.h"
#include "scene/SceneManager.h"
#include "scene/UpdateTraverser.h"
#include "scene/View.h"
#include "support/CoreFixture.h"

#include <map>

using namespace Velta;
using Matrix4 = CppLib::Matrix<float, 4>;
using SceneTest::ProbeLeaf;
using SceneTest::RecordingHandler;
using Log = std::vector<std::string>;

namespace {

using Cameras = VeltaTest::CoreFixture;

/// Notes the view filter's distance while each node is handed over, as the
/// renderer does to sort what it draws.
class DistanceHandler : public Traverser::Handler {
public:
    explicit DistanceHandler(View& view) : mView(&view) {}
    StatusResult handle(Node& node, Direction, Node*) override
    {
        mDistances[node.getName()] = mView->getViewFilter()->getLastDistance();
        return CONTINUE;
    }

    View* mView;
    std::map<std::string, float> mDistances;
};

/// Seen from the origin along −z: 90 degrees both ways, near 0.1, far 100.
CppLib::SharedPtr<Frustrum> squareFrustrum(const Matrix4& view = Matrix4())
{
    CameraSettings settings(CameraSettings::PERSPECTIVE);
    settings.setFarDistance(100.0);
    return settings.getFrustrum(view, 1.0f);
}

BoundingBox boxAround(float x, float y, float z, float half)
{
    return BoundingBox(Point(x - half, y - half, z - half), Point(x + half, y + half, z + half));
}

} // namespace

TEST(CameraFrustrum, EffectiveAnglesFollowTheAspectMode)
{
    CameraSettings settings(CameraSettings::PERSPECTIVE);
    settings.setFovX(90.0f);
    settings.setFovY(60.0f);

    settings.setAspectMode(CameraSettings::FOVY_FIXED);
    CppLib::SharedPtr<Frustrum> frustrum = settings.getFrustrum(Matrix4(), 1.5f);
    EXPECT_FLOAT_EQ(frustrum->getFovX(), 90.0f);
    EXPECT_FLOAT_EQ(frustrum->getFovY(), 60.0f);

    settings.setAspectMode(CameraSettings::FOVX_FIXED);
    frustrum = settings.getFrustrum(Matrix4(), 2.0f);
    EXPECT_FLOAT_EQ(frustrum->getFovX(), 90.0f);
    EXPECT_FLOAT_EQ(frustrum->getFovY(), 45.0f);

    settings.setAspectMode(CameraSettings::FIXED_FOV);
    settings.setFovYRadian(3.14159265f / 3.0f);
    frustrum = settings.getFrustrum(Matrix4(), 2.0f);
    EXPECT_FLOAT_EQ(frustrum->getFovX(), 90.0f);
    EXPECT_NEAR(frustrum->getFovY(), 60.0f, 1e-4f);

    // 90 degrees at near 0.1 reach 0.1 to either side.
    frustrum = squareFrustrum();
    EXPECT_NEAR(frustrum->getRight(), 0.1f, 1e-6f);
    EXPECT_NEAR(frustrum->getProjectionMatrix().get(0, 0), 1.0f, 1e-5f);
    EXPECT_NEAR(frustrum->getProjectionMatrix().get(2, 3), -2.0 * 0.1 * 100.0 / 99.9, 1e-4);
    EXPECT_EQ(frustrum->getProjectionMatrix().get(3, 3), 0.0f);
}

TEST(CameraFrustrum, BoxesAreCulledByWhereTheyLieAgainstTheFrustrum)
{
    const CppLib::SharedPtr<Frustrum> frustrum = squareFrustrum();
    EXPECT_EQ(boxAround(0, 0, -10, 1).intersects(*frustrum), 1);   // in front
    EXPECT_EQ(boxAround(0, 0, 10, 1).intersects(*frustrum), -1);   // behind
    EXPECT_EQ(boxAround(-10, 0, -10, 1).intersects(*frustrum), 0); // across the left side
    EXPECT_EQ(boxAround(0, 0, 0, 1).intersects(*frustrum), 0);     // around the eye
    EXPECT_EQ(boxAround(0, 0, -150, 1).intersects(*frustrum), -1); // beyond the far plane
    EXPECT_EQ(boxAround(30, 0, -10, 1).intersects(*frustrum), -1); // off to the right

    EXPECT_GT(boxAround(0, 0, -10, 1).getDistance(*frustrum), 0.0f);
    EXPECT_GT(boxAround(0, 0, 0, 1).getDistance(*frustrum), 0.0f);
    EXPECT_LT(boxAround(0, 0, 10, 1).getDistance(*frustrum), 0.0f);
    EXPECT_EQ(BoundingBox().getDistance(*frustrum), -1.0f);
    BoundingBox everything;
    everything.setInfinite();
    EXPECT_EQ(everything.getDistance(*frustrum), 0.0f);

    // The same box seen by an eye 50 along z, turned half round.
    const Matrix4 eye = Matrix4::translation(0, 0, 50) * Matrix4::rotationY(3.14159265f);
    const CppLib::SharedPtr<Frustrum> turned = squareFrustrum(eye.inverse());
    EXPECT_EQ(boxAround(0, 0, 10, 1).intersects(*turned), -1);
    EXPECT_EQ(boxAround(0, 0, 60, 1).intersects(*turned), 1);
    EXPECT_TRUE(turned->contains(Point(0, 0, 60)));
}

TEST_F(Cameras, APlacedCamerasViewSkipsWhatLiesOutsideButEntersGroupsHoldingLights)
{
    SceneGraph& scene = core().getSceneManager().createSceneGraph();
    TransformationNode mount("mount");
    Camera camera("camera");
    camera.getCamSettings().setAspectMode(CameraSettings::FIXED_FOV);
    mount.setChild(camera);
    mount.translate(0, 0, 20, true); // seen from the origin, both boxes would be behind
    Branch front("front");
    ProbeLeaf ahead("ahead", Point(-1, -1, 9), Point(1, 1, 11));
    front.attachChild(ahead);
    Branch back("back");
    ProbeLeaf behind("behind", Point(-1, -1, 29), Point(1, 1, 31));
    back.attachChild(behind);
    for (Node* node : {static_cast<Node*>(&mount), static_cast<Node*>(&front), static_cast<Node*>(&back)}) {
        scene.getRoot()->attachChild(*node);
    }
    scene.getUpdateTraverser()->update(0);

    CppLib::SharedPtr<View> view = camera.getView(4.0f / 3.0f);
    ASSERT_FALSE(view.isNull());
    CppLib::SharedPtr<RecordingHandler> handler(new RecordingHandler());
    view->addHandler(handler);
    CppLib::SharedPtr<DistanceHandler> distances(new DistanceHandler(*view));
    view->addHandler(distances);
    view->walk(0, false);
    // The camera's own bound is empty, so views never enter it.
    EXPECT_EQ(handler->mLog, (Log{" DOWN", "front DOWN", "ahead DOWN", "front UP", " UP"}));
    EXPECT_GT(distances->mDistances["ahead"], 0.0f);

    Light lamp("lamp");
    back.attachChild(lamp);
    scene.getUpdateTraverser()->update(0);
    view = camera.getView(1.0f);
    handler->mLog.clear();
    view->addHandler(handler);
    view->walk(0, false);
    EXPECT_EQ(handler->mLog, (Log{" DOWN", "front DOWN", "ahead DOWN", "front UP", "back NEXT", "lamp DOWN",
                                  "back UP", " UP"}));
}

TEST_F(Cameras, ViewsNeedASceneAndOverlaysAreDrawnOnlyWhenPresent)
{
    Camera camera;
    EXPECT_TRUE(camera.getView(1.0f).isNull());
    EXPECT_FALSE(camera.useOverlay());
    EXPECT_TRUE(camera.getOverlayView(1.0f).isNull());

    Overlay& overlay = core().getSceneManager().createOverlay();
    ProbeLeaf far("far", Point(50, 50, 50), Point(60, 60, 60));
    overlay.getRoot()->attachChild(far);
    overlay.getUpdateTraverser()->update(0);
    CppLib::SharedPtr<RenderSettings> flat(new RenderSettings());
    camera.getOverlaySettings().setRenderSettings(flat);
    camera.setOverlay(overlay);
    EXPECT_TRUE(camera.useOverlay());

    CppLib::SharedPtr<View> view = camera.getOverlayView(1.0f);
    ASSERT_FALSE(view.isNull());
    EXPECT_EQ(view->getRenderSettings(), flat);
    EXPECT_EQ(view->getFrustrum()->getProjectionMode(), CameraSettings::ORTHOGRAPHIC);
    EXPECT_NEAR(view->getFrustrum()->getViewMatrix().get(2, 3), -2.0f, 1e-6f);
    // Overlays are not culled: what lies outside still gets drawn.
    EXPECT_EQ(view->getViewFilter(), nullptr);
    CppLib::SharedPtr<RecordingHandler> handler(new RecordingHandler());
    view->addHandler(handler);
    view->walk(0, false);
    EXPECT_EQ(handler->mLog, (Log{" DOWN", "far DOWN", " UP"}));
}
