#include "RenderScene.h"

#include "geometry/GeometryDataGroup.h"
#include "geometry/GeometryObject.h"
#include "geometry/IndexElementData.h"
#include "geometry/IndexedTriangles.h"
#include "geometry/VertexData.h"
#include "plugins/render/opengl/GLRenderContext.h"
#include "render/RenderTarget.h"
#include "render/Viewport.h"
#include "resource/RenderSettings.h"
#include "resource/Texture2D.h"
#include "scene/Overlay.h"
#include "scene/SceneGraph.h"
#include "scene/SceneManager.h"
#include "support/RenderWindowFixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

using namespace Velta;
using RenderTest::makeMaterial;
using RenderTest::makeQuad;
using RenderTest::makeTexture;
using RenderTest::SceneBuilder;
using VeltaTest::Pixel;

namespace {

const Pixel BLACK{0, 0, 0, 0};
const Pixel RED{255, 0, 0, 255};
const Pixel GREEN{0, 255, 0, 255};
const Pixel BLUE{0, 0, 255, 255};
const Pixel WHITE{255, 255, 255, 255};

/// Frames of small scenes seen by a camera at the origin looking along −z
/// with fields of view of 90 degrees, in a 64 × 64 window: a point (x, y, −d)
/// shows at pixel ((x / d + 1) × 32, (y / d + 1) × 32).
class ScenePixels : public VeltaTest::RenderWindowFixture {
protected:
    ScenePixels() : mScene(nullptr) {}

    void SetUp() override
    {
        RenderWindowFixture::SetUp();
        if (IsSkipped() || HasFatalFailure()) {
            return;
        }
        mScene = &core().getSceneManager().createSceneGraph();
        mBuilder = std::make_unique<SceneBuilder>(*mScene);
    }

    void TearDown() override
    {
        mBuilder.reset();
        RenderWindowFixture::TearDown();
    }

    /// A camera in the scene with settings of its own, shown over the whole
    /// window.
    CppLib::SharedPtr<Camera> camera(bool lights = false, bool fog = false)
    {
        CppLib::SharedPtr<Camera> camera = mBuilder->addCamera();
        CppLib::SharedPtr<RenderSettings> settings(new RenderSettings());
        settings->setUseLights(lights);
        settings->setUseFog(fog);
        camera->getCamSettings().setRenderSettings(settings);
        return camera;
    }

    GeometryObject& quad(float x0, float y0, float x1, float y1, float z, const Color& color, bool blended = false)
    {
        return mBuilder->addObject(makeQuad(x0, y0, x1, y1, z, color), makeMaterial(blended));
    }

    static int lines(const std::string& text) { return static_cast<int>(std::count(text.begin(), text.end(), '\n')); }

    SceneGraph* mScene;
    std::unique_ptr<SceneBuilder> mBuilder;
};

} // namespace

TEST_F(ScenePixels, ALitQuadShowsWhereItIsAndLightFallsOnTheSideFacingIt)
{
    addViewport(camera(true));
    // Facing the light (from +z) on the upper right, edge-on to it on the left.
    quad(0, 0, 1, 1, -2, Color(0.5f, 0, 0, 1));
    mBuilder->addObject(makeQuad(-1, -1, -0.5f, 1, -2, Color(0.5f, 0, 0, 1), {1, 0, 0}), makeMaterial());
    mBuilder->addLight(Light::DIRECTIONAL);
    renderFrame();

    // Lit: (global 0.2 + light ambient 0.2 + diffuse 1) × 0.5; edge-on: 0.4 × 0.5.
    EXPECT_TRUE(readPixel(40, 40).isNear({178, 0, 0})) << readPixel(40, 40);
    EXPECT_TRUE(readPixel(20, 32).isNear({51, 0, 0})) << readPixel(20, 32);
    EXPECT_TRUE(readPixel(40, 20).isNear(BLACK)) << readPixel(40, 20);
    EXPECT_TRUE(readPixel(30, 40).isNear(BLACK)) << readPixel(30, 40);
}

TEST_F(ScenePixels, LightsOfOneViewDoNotLightTheNextAndANinthLightIsReportedOnce)
{
    addViewport(camera(true))->setRelativeLayout(0.0f, 0.0f, 0.5f, 1.0f);
    quad(-1, -1, 1, 1, -1, Color(0.5f, 0, 0, 1));
    for (int i = 0; i < 9; ++i) {
        mBuilder->addLight(Light::POINT, {0, 0, 5});
    }
    // A second scene without lights on the right half.
    SceneBuilder other(core().getSceneManager().createSceneGraph());
    CppLib::SharedPtr<Camera> dark = other.addCamera();
    other.addObject(makeQuad(-1, -1, 1, 1, -1, Color(0.5f, 0, 0, 1)), makeMaterial());
    addViewport(dark)->setRelativeLayout(0.5f, 0.0f, 0.5f, 1.0f);

    testing::internal::CaptureStderr();
    renderFrame();
    renderFrame();
    const std::string log = testing::internal::GetCapturedStderr();
    EXPECT_EQ(lines(log), 1) << log;
    EXPECT_NE(log.find("9 lights"), std::string::npos) << log;
    EXPECT_GT(readPixel(16, 32).r, 150) << readPixel(16, 32);
    // Only the global ambient light: 0.2 × 0.5.
    EXPECT_TRUE(readPixel(48, 32).isNear({25, 0, 0})) << readPixel(48, 32);
}

TEST_F(ScenePixels, TexturesShowTheirTexelsInEveryByteOrderAndUnreadableImagesAreRefusedOnce)
{
    addViewport(camera());
    // Rows from the bottom: red, green / blue, white.
    const std::vector<unsigned char> rgb = {255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 255, 255};
    const std::vector<unsigned char> bgra = {0, 0, 255, 255, 0, 255, 0, 255, 255, 0, 0, 255, 255, 255, 255, 255};
    const std::vector<unsigned char> unknown(16, 128);
    struct Case {
        Color::Format format;
        const std::vector<unsigned char>* bytes;
        float x0;
    };
    std::vector<unsigned char> bgr;
    for (size_t i = 0; i < rgb.size(); i += 3) {
        bgr.insert(bgr.end(), {rgb[i + 2], rgb[i + 1], rgb[i]});
    }
    const Case cases[] = {{Color::RGB, &rgb, -1.0f}, {Color::BGR, &bgr, -0.5f}, {Color::BGRA, &bgra, 0.0f},
                          {Color::UNKNOWN, &unknown, 0.5f}};
    for (const Case& each : cases) {
        CppLib::SharedPtr<Texture2D> texture = makeTexture(2, 2, each.format, *each.bytes);
        texture->setAllFilters(Texture::NEAREST);
        CppLib::SharedPtr<Material> material = makeMaterial();
        material->setTexture(0, texture);
        mBuilder->addObject(makeQuad(each.x0, -1, each.x0 + 0.5f, 1, -1, Color(1, 1, 1, 1)), material);
    }
    testing::internal::CaptureStderr();
    renderFrame();
    renderFrame();
    const std::string log = testing::internal::GetCapturedStderr();
    EXPECT_EQ(lines(log), 1) << log;
    EXPECT_NE(log.find("colour format"), std::string::npos) << log;

    // Each quad is 16 pixels wide; its texels are 8 × 32 pixels.
    for (int quadIndex = 0; quadIndex < 3; ++quadIndex) {
        const int left = quadIndex * 16 + 4;
        EXPECT_TRUE(readPixel(left, 16).isNear(RED)) << quadIndex << " " << readPixel(left, 16);
        EXPECT_TRUE(readPixel(left + 8, 16).isNear(GREEN)) << quadIndex << " " << readPixel(left + 8, 16);
        EXPECT_TRUE(readPixel(left, 48).isNear(BLUE)) << quadIndex << " " << readPixel(left, 48);
        EXPECT_TRUE(readPixel(left + 8, 48).isNear(WHITE)) << quadIndex << " " << readPixel(left + 8, 48);
    }
    // The refused image leaves its quad untextured, in its vertex colour.
    EXPECT_TRUE(readPixel(56, 32).isNear(WHITE)) << readPixel(56, 32);
}

TEST_F(ScenePixels, TwoTextureUnitsCombineByTheVertexAlpha)
{
    addViewport(camera());
    CppLib::SharedPtr<GeometryData> geometry(new GeometryData("two layers"));
    CppLib::SharedPtr<VertexData> vertices(new VertexData());
    vertices->setUseColor(true);
    vertices->setUseTexCoordinates(true);
    vertices->addTextureIndex(0);
    vertices->addTextureIndex(1);
    vertices->initialize(4, 4);
    const float corners[4][2] = {{-1, -1}, {1, -1}, {1, 1}, {-1, 1}};
    for (const auto& corner : corners) {
        vertices->addVertex();
        vertices->setVertex(corner[0], corner[1], -1);
        vertices->setColor(1, 1, 1, 0.25f);
        vertices->setTexCoordinate(0.5f, 0.5f, 0);
        vertices->setTexCoordinate(0.5f, 0.5f, 1);
    }
    geometry->setIndexedVertexData(vertices);
    auto* triangles = new IndexedTriangles(6);
    triangles->addTriangle(0, 1, 2);
    triangles->addTriangle(0, 2, 3);
    geometry->createGroup().addElement(*triangles);
    geometry->setBoundingVolume(new BoundingBox(Point(-1, -1, -1), Point(1, 1, -1)));

    CppLib::SharedPtr<Material> material = makeMaterial();
    material->setTexture(0, makeTexture(1, 1, Color::RGB, {255, 0, 0}));
    CppLib::SharedPtr<Texture2D> green = makeTexture(1, 1, Color::RGB, {0, 255, 0});
    green->setTexMode(Texture::BLEND_BY_VERTEX_ALPHA);
    material->setTexture(1, green);
    mBuilder->addObject(geometry, material);
    renderFrame();
    // A quarter green over three quarters red.
    EXPECT_TRUE(readPixel(32, 32).isNear({191, 64, 0})) << readPixel(32, 32);
}

TEST_F(ScenePixels, BlendedSurfacesComeAfterOpaqueOnesFarthestFirstWithoutDepthWrites)
{
    addViewport(camera());
    // Walk order: near blended green, far blended blue (right half only),
    // then opaque red behind both on the left half.
    quad(-1, -1, 1, 1, -1, Color(0, 1, 0, 0.5f), true);
    quad(0, -2, 2, 2, -2, Color(0, 0, 1, 0.5f), true);
    quad(-3, -3, 0, 3, -3, Color(1, 0, 0, 1));
    renderFrame();

    // Left: red, then green over it.
    EXPECT_TRUE(readPixel(16, 32).isNear({128, 128, 0}, 4)) << readPixel(16, 32);
    // Right: blue over black first, green over that.
    EXPECT_TRUE(readPixel(48, 32).isNear({0, 128, 64}, 4)) << readPixel(48, 32);
    // Blended surfaces leave the depth buffer as they found it.
    EXPECT_FLOAT_EQ(readDepth(48, 32), 1.0f);
    EXPECT_LT(readDepth(16, 32), 1.0f);
}

TEST_F(ScenePixels, FogTurnsDistantSurfacesIntoTheFogColour)
{
    addViewport(camera(false, true));
    quad(-100, -100, 0, 100, -100, Color(1, 1, 1, 1));
    quad(0, -1, 1, 1, -1, Color(1, 1, 1, 1));
    renderFrame();
    const auto fogged = [](float color, float distance) {
        const float f = std::exp(-0.04f * distance);
        return static_cast<int>(std::lround((f + (1.0f - f) * color) * 255.0f));
    };
    const Pixel far{fogged(0.155f, 100), fogged(0.415f, 100), fogged(0.545f, 100), 255};
    const Pixel near{fogged(0.155f, 1), fogged(0.415f, 1), fogged(0.545f, 1), 255};
    EXPECT_TRUE(readPixel(16, 32).isNear(far, 4)) << readPixel(16, 32) << " expected " << far;
    EXPECT_TRUE(readPixel(48, 32).isNear(near, 4)) << readPixel(48, 32) << " expected " << near;
}

TEST_F(ScenePixels, TheOverlayIsDrawnOverTheScene)
{
    CppLib::SharedPtr<Camera> eye = camera();
    addViewport(eye);
    quad(-1, -1, 1, 1, -0.5f, Color(1, 0, 0, 1));

    Overlay& overlay = core().getSceneManager().createOverlay();
    SceneBuilder hud(overlay);
    hud.addObject(makeQuad(0, 0, 0.5f, 0.5f, 0, Color(0, 0, 1, 1)), makeMaterial());
    CppLib::SharedPtr<RenderSettings> flat(new RenderSettings());
    flat->setUseLights(false);
    eye->getOverlaySettings().setRenderSettings(flat);
    eye->setOverlay(overlay);
    renderFrame();
    EXPECT_TRUE(readPixel(16, 16).isNear(BLUE)) << readPixel(16, 16);
    EXPECT_TRUE(readPixel(48, 48).isNear(RED)) << readPixel(48, 48);

    eye->setUseOverlay(false);
    renderFrame();
    EXPECT_TRUE(readPixel(16, 16).isNear(RED)) << readPixel(16, 16);
}

TEST_F(ScenePixels, ViewportsAreDrawnInIndexOrderAndCamerasOutsideAnySceneAreSkipped)
{
    CppLib::SharedPtr<Camera> eye = camera();
    addViewport(eye);
    quad(-2, -2, 2, 2, -1, Color(1, 0, 0, 1));
    SceneBuilder other(core().getSceneManager().createSceneGraph());
    CppLib::SharedPtr<Camera> second = other.addCamera();
    second->getCamSettings().setRenderSettings(eye->getCamSettings().getRenderSettings());
    other.addObject(makeQuad(-2, -2, 2, 2, -1, Color(0, 1, 0, 1)), makeMaterial());
    addViewport(second)->setRelativeLayout(0.5f, 0.0f, 0.5f, 1.0f);
    CppLib::SharedPtr<Camera> nowhere(new Camera("nowhere"));
    addViewport(nowhere)->setRelativeLayout(0.0f, 0.5f, 1.0f, 0.5f);
    renderFrame();
    EXPECT_TRUE(readPixel(16, 16).isNear(RED)) << readPixel(16, 16);
    EXPECT_TRUE(readPixel(16, 48).isNear(RED)) << readPixel(16, 48);
    EXPECT_TRUE(readPixel(48, 16).isNear(GREEN)) << readPixel(48, 16);
    EXPECT_TRUE(readPixel(48, 48).isNear(GREEN)) << readPixel(48, 48);
}

TEST_F(ScenePixels, IndexListsPointingPastTheirVerticesAreNotDrawnAndReportedOnce)
{
    addViewport(camera());
    CppLib::SharedPtr<GeometryData> geometry = makeQuad(-1, -1, 1, 1, -1, Color(0, 1, 0, 1));
    auto* bad = new IndexedTriangles(3);
    bad->addTriangle(0, 1, 7);
    geometry->createGroup().addElement(*bad);
    mBuilder->addObject(geometry, makeMaterial());
    testing::internal::CaptureStderr();
    renderFrame();
    renderFrame();
    const std::string log = testing::internal::GetCapturedStderr();
    EXPECT_EQ(lines(log), 1) << log;
    EXPECT_TRUE(readPixel(32, 32).isNear(GREEN)) << readPixel(32, 32);
}

TEST_F(ScenePixels, PointSpritesCoverTheirSizeWithTheirTexture)
{
    addViewport(camera());
    CppLib::SharedPtr<GeometryData> geometry(new GeometryData("sprite"));
    CppLib::SharedPtr<VertexData> vertices(new VertexData());
    vertices->setUseTexCoordinates(true);
    vertices->addTextureIndex(0);
    vertices->addVertex();
    vertices->setVertex(0, 0, -1);
    geometry->setIndexedVertexData(vertices);
    auto* points = new IndexElementData(GeometryElement::POINTS, 1, 1);
    points->getIndexList().addIndex(0);
    geometry->createGroup().addElement(*points);
    geometry->setBoundingVolume(new BoundingBox(Point(0, 0, -1), Point(0, 0, -1)));
    CppLib::SharedPtr<Material> material = makeMaterial();
    material->setUsePointSprites(true);
    material->setSpriteSize(16);
    material->setTexture(0, makeTexture(1, 1, Color::RGB, {0, 0, 255}));
    mBuilder->addObject(geometry, material);
    renderFrame();
    if (!context().supportsPointSprites()) {
        GTEST_SKIP() << "the driver has no point sprites";
    }
    EXPECT_TRUE(readPixel(32, 32).isNear(BLUE)) << readPixel(32, 32);
    EXPECT_TRUE(readPixel(38, 26).isNear(BLUE)) << readPixel(38, 26);
    EXPECT_TRUE(readPixel(44, 32).isNear(BLACK)) << readPixel(44, 32);
}

TEST_F(ScenePixels, MaterialsAreLitWithTheirOwnColoursWhateverWasDrawnBefore)
{
    addViewport(camera(true));
    mBuilder->addLight(Light::DIRECTIONAL);
    // Left to right, all facing the light: vertex colours drive the lighting;
    // the material's own green; no lighting colours at all; unlit by its
    // own settings. The vertex colours of the last three are red.
    quad(-1, -1, -0.5f, 1, -1, Color(0.5f, 0, 0, 1));
    CppLib::SharedPtr<Material> green(new Material());
    green->setAmbientMaterialColor(Color(0, 0.5f, 0, 1));
    green->setDiffuseMaterialColor(Color(0, 0.5f, 0, 1));
    green->setUseAlphaTest(false);
    mBuilder->addObject(makeQuad(-0.5f, -1, 0, 1, -1, Color(1, 0, 0, 1)), green);
    CppLib::SharedPtr<Material> plain(new Material());
    mBuilder->addObject(makeQuad(0, -1, 0.5f, 1, -1, Color(1, 0, 0, 1)), plain);
    CppLib::SharedPtr<Material> unlit(new Material());
    CppLib::SharedPtr<RenderSettings> noLights(new RenderSettings());
    noLights->setUseLights(false);
    unlit->setRenderSettings(noLights);
    mBuilder->addObject(makeQuad(0.5f, -1, 1, 1, -1, Color(1, 0, 0, 1)), unlit);
    renderFrame();
    renderFrame();

    // (global 0.2 + light ambient 0.2) × ambient + diffuse.
    EXPECT_TRUE(readPixel(8, 32).isNear({178, 0, 0})) << readPixel(8, 32);
    EXPECT_TRUE(readPixel(24, 32).isNear({0, 178, 0})) << readPixel(24, 32);
    // OpenGL's default material: 0.4 × 0.2 + 0.8.
    EXPECT_TRUE(readPixel(40, 32).isNear({224, 224, 224})) << readPixel(40, 32);
    EXPECT_TRUE(readPixel(56, 32).isNear(RED)) << readPixel(56, 32);
}

TEST_F(ScenePixels, ElementGroupsWhoseBoundsLieOutsideTheViewAreLeftOut)
{
    addViewport(camera());
    CppLib::SharedPtr<GeometryData> left = makeQuad(-1, -1, 0, 1, -1, Color(1, 0, 0, 1));
    CppLib::SharedPtr<GeometryData> right = makeQuad(0, -1, 1, 1, -1, Color(0, 0, 1, 1));
    // The left quad's group claims to lie behind the camera.
    dynamic_cast<GeometryDataGroup&>(*left->getElementGroups().get(0))
        .setBounds(BoundingBox(Point(-1, -1, 1), Point(0, 1, 2)));
    dynamic_cast<GeometryDataGroup&>(*right->getElementGroups().get(0))
        .setBounds(BoundingBox(Point(0, -1, -1), Point(1, 1, -1)));
    mBuilder->addObject(left, makeMaterial());
    mBuilder->addObject(right, makeMaterial());
    renderFrame();

    EXPECT_TRUE(readPixel(16, 32).isNear(BLACK)) << readPixel(16, 32);
    EXPECT_TRUE(readPixel(48, 32).isNear(BLUE)) << readPixel(48, 32);
}

TEST_F(ScenePixels, MaterialsThatCullBackFacesLeaveOutWhatIsSeenFromBehind)
{
    addViewport(camera());
    CppLib::SharedPtr<Material> culling = makeMaterial();
    culling->setCullBackFaces(true);
    // Left: seen from behind (its corners run clockwise on the screen).
    mBuilder->addObject(makeQuad(-0.5f, -1, -1, 1, -1, Color(1, 0, 0, 1)), culling);
    mBuilder->addObject(makeQuad(-0.5f, -1, 0, 1, -1, Color(0, 1, 0, 1)), culling);
    mBuilder->addObject(makeQuad(0.5f, -1, 0, 1, -1, Color(0, 0, 1, 1)), makeMaterial());
    renderFrame();

    EXPECT_TRUE(readPixel(8, 32).isNear(BLACK)) << readPixel(8, 32);
    EXPECT_TRUE(readPixel(24, 32).isNear(GREEN)) << readPixel(24, 32);
    EXPECT_TRUE(readPixel(40, 32).isNear(BLUE)) << readPixel(40, 32);
}
