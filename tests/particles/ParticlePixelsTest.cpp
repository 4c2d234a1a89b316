#include "geometry/GeometryObject.h"
#include "geometry/GeometrySubobject.h"
#include "particles/ParticleEngine.h"
#include "render/Viewport.h"
#include "resource/Material.h"
#include "resource/RenderSettings.h"
#include "scene/Branch.h"
#include "scene/Camera.h"
#include "scene/SceneGraph.h"
#include "scene/SceneManager.h"
#include "support/RenderWindowFixture.h"

using namespace Velta;
using Vector3 = CppLib::TVector<float, 3>;
using VeltaTest::Pixel;

namespace {

class ParticlePixels : public VeltaTest::RenderWindowFixture {};

} // namespace

TEST_F(ParticlePixels, LiveParticlesAreDrawnAsSpritesAndDeadOnesAreNot)
{
    // A camera at the origin looking along -z, fields of view of 90
    // degrees: (x, y, -d) shows at ((x / d + 1) × 32, (y / d + 1) × 32).
    SceneGraph& scene = core().getSceneManager().createSceneGraph();
    CppLib::SharedPtr<Camera> camera(new Camera());
    CppLib::SharedPtr<RenderSettings> settings(new RenderSettings());
    settings->setUseLights(false);
    camera->getCamSettings().setRenderSettings(settings);
    scene.getRoot()->attachChild(*camera);

    ParticleEngine engine;
    ParticleData& data = engine.getParticleData();
    data.addParticle(Vector3(0, 0, -5), 0);
    data.addParticle(Vector3(2.5f, 0, -5), 0);
    data.addParticle(Vector3(-2.5f, 2.5f, -5), 0);
    data.deleteParticle();
    data.updateData(clock().getTimestamp());

    CppLib::SharedPtr<Material> material(new Material());
    material->setUsePointSprites(true);
    material->setSpriteSize(8);
    material->setUseAlphaTest(false);
    material->setUseDefaultVertexColor(true);
    material->setDefaultVertexColor(Color(1, 0, 0, 1));
    GeometryObject sparks;
    GeometrySubobject points;
    points.setGeometry(data.getGeometryData(), 0);
    sparks.addSubobject(points);
    sparks.setDefaultMaterial(0, material);
    scene.getRoot()->attachChild(sparks);
    addViewport(camera);
    renderFrame();

    const Pixel red{255, 0, 0, 255};
    EXPECT_TRUE(readPixel(32, 32).isNear(red)) << readPixel(32, 32);
    EXPECT_TRUE(readPixel(48, 32).isNear(red)) << readPixel(48, 32);
    EXPECT_TRUE(readPixel(40, 32).isNear({0, 0, 0, 0})) << readPixel(40, 32);
    EXPECT_TRUE(readPixel(16, 48).isNear({0, 0, 0, 0})) << readPixel(16, 48); // the dead one
    scene.getRoot()->detachChild(sparks.getNodeId());
    scene.getRoot()->detachChild(camera->getNodeId());
}
