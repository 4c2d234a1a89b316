#include "render/Viewport.h"
#include "resource/RenderSettings.h"
#include "scene/Branch.h"
#include "scene/Camera.h"
#include "scene/SceneGraph.h"
#include "scene/SceneManager.h"
#include "scene/TransformationNode.h"
#include "support/RenderWindowFixture.h"
#include "water/Water.h"

#include <memory>

using namespace Velta;
using VeltaTest::Pixel;

namespace {

class WaterPixels : public VeltaTest::RenderWindowFixture {};

} // namespace

TEST_F(WaterPixels, TheStripIsDrawnTranslucentBetweenItsBanks)
{
    // Seen from 10 above with fields of view of 90 degrees: x to the right,
    // z down the window, a unit 3.2 pixels.
    SceneGraph& scene = core().getSceneManager().createSceneGraph();
    CppLib::SharedPtr<Camera> camera(new Camera());
    CppLib::SharedPtr<RenderSettings> settings(new RenderSettings());
    settings->setUseLights(false);
    camera->getCamSettings().setRenderSettings(settings);
    TransformationNode eye;
    eye.rotateX(-3.14159265f / 2, false);
    eye.translate(0, 10, 0, false);
    eye.setChild(*camera);
    scene.getRoot()->attachChild(eye);
    auto water = std::make_unique<Water>();
    for (float z : {8.0f, 0.0f, -8.0f}) {
        water->addQuad(CppLib::TVector<float, 4>(-3, 0, z, 1), CppLib::TVector<float, 4>(3, 0, z, 1), 1.0f);
    }
    scene.getRoot()->attachChild(*water);
    addViewport(camera);
    renderFrame();

    const Pixel background = readPixel(4, 32);
    EXPECT_TRUE(readPixel(32, 4).isNear(background)) << readPixel(32, 4); // past the last section
    // 60 % of the water's green-blue over what lies below.
    const Pixel expected{int(0.6f * 7.65f + 0.4f * background.r + 0.5f),
                         int(0.6f * 84.15f + 0.4f * background.g + 0.5f),
                         int(0.6f * 122.4f + 0.4f * background.b + 0.5f), 255};
    for (int x : {25, 32, 39}) {
        for (int y : {10, 32, 54}) {
            EXPECT_TRUE(readPixel(x, y).isNear(expected)) << x << ", " << y << ": " << readPixel(x, y);
        }
    }
    scene.getRoot()->detachChild(water->getNodeId());
    scene.getRoot()->detachChild(eye.getNodeId());
}
