#include "SceneFixture.h"

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
#include "resource/Texture3D.h"
#include "scene/BoundingBox.h"
#include "scene/Overlay.h"
#include "scene/SceneGraph.h"
#include "scene/SceneManager.h"

#include <gtest/gtest.h>

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

using ScenePixels = RenderTest::SceneFixture;

/// A texture of a kind the renderer does not upload.
class Volume : public Texture3D {
public:
    bool hasChanged(long long) const override { return false; }
    const CppLib::SharedPtr<TextureSource> getTextureSource(unsigned int, unsigned int) const override { return {}; }
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
    expectPixels({{40, 40, {178, 0, 0}}, {20, 32, {51, 0, 0}}, {40, 20, BLACK}, {30, 40, BLACK}});
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
    other.addObject(makeQuad(-1, -1, 1, 1, -1, Color(0.5f, 0, 0, 1)), makeMaterial());
    addViewport(other.addCamera())->setRelativeLayout(0.5f, 0.0f, 0.5f, 1.0f);

    const std::string log = logOfTwoFrames();
    EXPECT_EQ(lines(log), 1) << log;
    EXPECT_NE(log.find("9 lights"), std::string::npos) << log;
    EXPECT_GT(readPixel(16, 32).r, 150) << readPixel(16, 32);
    // Only the global ambient light: 0.2 × 0.5.
    expectPixels({{48, 32, {25, 0, 0}}});
}

TEST_F(ScenePixels, TexturesShowTheirTexelsInEveryByteOrderAndUnreadableImagesAreRefusedOnce)
{
    addViewport(camera());
    // Rows from the bottom: red, green / blue, white.
    const std::vector<unsigned char> rgb = {255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 255, 255};
    const std::vector<unsigned char> bgr = {0, 0, 255, 0, 255, 0, 255, 0, 0, 255, 255, 255};
    const std::vector<unsigned char> bgra = {0, 0, 255, 255, 0, 255, 0, 255, 255, 0, 0, 255, 255, 255, 255, 255};
    const std::vector<unsigned char> unknown(16, 128);
    const std::pair<Color::Format, const std::vector<unsigned char>*> cases[] = {
        {Color::RGB, &rgb}, {Color::BGR, &bgr}, {Color::BGRA, &bgra}, {Color::UNKNOWN, &unknown}};
    float x0 = -1.0f;
    for (const auto& [format, bytes] : cases) {
        CppLib::SharedPtr<Texture2D> texture = makeTexture(2, 2, format, *bytes);
        texture->setAllFilters(Texture::NEAREST);
        CppLib::SharedPtr<Material> material = makeMaterial();
        material->setTexture(0, texture);
        mBuilder->addObject(makeQuad(x0, -1, x0 + 0.5f, 1, -1, Color(1, 1, 1, 1)), material);
        x0 += 0.5f;
    }
    // Hidden behind the others, but drawn.
    CppLib::SharedPtr<Material> volume = makeMaterial();
    volume->setTexture(0, CppLib::SharedPtr<Texture>(new Volume()));
    mBuilder->addObject(makeQuad(-1, -1, 1, 1, -2, Color(1, 1, 1, 1)), volume);
    const std::string log = logOfTwoFrames();
    EXPECT_EQ(lines(log), 2) << log;
    EXPECT_NE(log.find("colour format"), std::string::npos) << log;
    EXPECT_NE(log.find("only two-dimensional textures"), std::string::npos) << log;

    // Each quad is 16 pixels wide; its texels are 8 × 32 pixels.
    for (int left = 4; left < 48; left += 16) {
        expectPixels({{left, 16, RED}, {left + 8, 16, GREEN}, {left, 48, BLUE}, {left + 8, 48, WHITE}});
    }
    // The refused image leaves its quad untextured, in its vertex colour.
    expectPixels({{56, 32, WHITE}});
}

TEST_F(ScenePixels, TwoTextureUnitsCombineByTheVertexAlpha)
{
    addViewport(camera());
    CppLib::SharedPtr<Material> material = makeMaterial();
    material->setTexture(0, makeTexture(1, 1, Color::RGB, {255, 0, 0}));
    CppLib::SharedPtr<Texture2D> green = makeTexture(1, 1, Color::RGB, {0, 255, 0});
    green->setTexMode(Texture::BLEND_BY_VERTEX_ALPHA);
    material->setTexture(1, green);
    mBuilder->addObject(makeQuad(-1, -1, 1, 1, -1, Color(1, 1, 1, 0.25f), {0, 0, 1}, 2), material);
    renderFrame();
    // A quarter green over three quarters red.
    expectPixels({{32, 32, {191, 64, 0}}});
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
    // Left: red, then green over it. Right: blue over black first, green over that.
    expectPixels({{16, 32, {128, 128, 0}, 4}, {48, 32, {0, 128, 64}, 4}});
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
    const auto fogged = [](float distance) {
        const float f = std::exp(-0.04f * distance);
        const auto mix = [f](float color) { return static_cast<int>(std::lround((f + (1.0f - f) * color) * 255.0f)); };
        return Pixel{mix(0.155f), mix(0.415f), mix(0.545f), 255};
    };
    expectPixels({{16, 32, fogged(100), 4}, {48, 32, fogged(1), 4}});
}

TEST_F(ScenePixels, TheOverlayIsDrawnOverTheScene)
{
    CppLib::SharedPtr<Camera> eye = camera();
    addViewport(eye);
    quad(-1, -1, 1, 1, -0.5f, Color(1, 0, 0, 1));

    Overlay& overlay = core().getSceneManager().createOverlay();
    SceneBuilder hud(overlay);
    hud.addObject(makeQuad(0, 0, 0.5f, 0.5f, 0, Color(0, 0, 1, 1)), makeMaterial());
    eye->getOverlaySettings().setRenderSettings(eye->getCamSettings().getRenderSettings());
    eye->setOverlay(overlay);
    renderFrame();
    expectPixels({{16, 16, BLUE}, {48, 48, RED}});

    eye->setUseOverlay(false);
    renderFrame();
    expectPixels({{16, 16, RED}});
}

TEST_F(ScenePixels, TheSceneIsLeftOutOverTheWholePixelsOfTheOverlaysOpaqueAreasOnly)
{
    CppLib::SharedPtr<Camera> eye = camera();
    addViewport(eye);
    quad(-1, -1, 1, 1, -0.5f, Color(1, 0, 0, 1));
    // The overlay draws nothing: where the scene is left out, the
    // background shows.
    Overlay& overlay = core().getSceneManager().createOverlay();
    eye->getOverlaySettings().setRenderSettings(eye->getCamSettings().getRenderSettings());
    eye->setOverlay(overlay);
    const float nan = std::nanf("");
    overlay.setOpaqueAreas({
        {0.24f, 0.24f, 0.76f, 0.76f}, // 15.36 … 48.64 of 64: pixels 16 to 47
        {0.9f, -0.5f, 1.5f, 1.5f},    // clipped to the viewport: columns 58 to 63
        {nan, 0.0f, 1.0f, 1.0f},
        {0.2f, 0.0f, 0.1f, 1.0f}, // inside out
    });
    renderFrame();
    expectPixels({{16, 16, BLACK},
                  {47, 47, BLACK},
                  {15, 32, RED},
                  {48, 32, RED},
                  {32, 15, RED},
                  {32, 48, RED},
                  {60, 1, BLACK},
                  {60, 62, BLACK},
                  {57, 32, RED},
                  {4, 32, RED}});

    eye->setUseOverlay(false);
    renderFrame();
    expectPixels({{32, 32, RED}, {60, 32, RED}});
}

TEST_F(ScenePixels, ViewportsAreDrawnInIndexOrderAndCamerasOutsideAnySceneAreSkipped)
{
    addViewport(camera());
    quad(-2, -2, 2, 2, -1, Color(1, 0, 0, 1));
    SceneBuilder other(core().getSceneManager().createSceneGraph());
    other.addObject(makeQuad(-2, -2, 2, 2, -1, Color(0, 1, 0, 1)), makeMaterial());
    addViewport(other.addCamera(false))->setRelativeLayout(0.5f, 0.0f, 0.5f, 1.0f);
    CppLib::SharedPtr<Camera> nowhere(new Camera("nowhere"));
    addViewport(nowhere)->setRelativeLayout(0.0f, 0.5f, 1.0f, 0.5f);
    renderFrame();
    expectPixels({{16, 16, RED}, {16, 48, RED}, {48, 16, GREEN}, {48, 48, GREEN}});
}

TEST_F(ScenePixels, WhereNoViewportDrawsTheWindowShowsItsTargetsBackground)
{
    addViewport(camera())->setRelativeLayout(0.0f, 0.0f, 0.5f, 1.0f);
    quad(-2, -2, 2, 2, -1, Color(1, 0, 0, 1));
    renderFrame();
    expectPixels({{16, 32, RED}, {48, 32, BLACK}});

    target().setBackgroundColor(Color(0.0f, 1.0f, 0.0f, 1.0f));
    renderFrame();
    expectPixels({{16, 32, RED}, {48, 32, GREEN}});
}

TEST_F(ScenePixels, IndexListsPointingPastTheirVerticesAreNotDrawnAndReportedOnce)
{
    addViewport(camera());
    CppLib::SharedPtr<GeometryData> geometry = makeQuad(-1, -1, 1, 1, -1, Color(0, 1, 0, 1));
    auto* bad = new IndexedTriangles(3);
    bad->addTriangle(0, 1, 7);
    geometry->createGroup().addElement(*bad);
    mBuilder->addObject(geometry, makeMaterial());
    const std::string log = logOfTwoFrames();
    EXPECT_EQ(lines(log), 1) << log;
    expectPixels({{32, 32, GREEN}});
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
    expectPixels({{32, 32, BLUE}, {38, 26, BLUE}, {44, 32, BLACK}});
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
    // (global 0.2 + light ambient 0.2) × ambient + diffuse; then OpenGL's
    // default material: 0.4 × 0.2 + 0.8.
    expectPixels({{8, 32, {178, 0, 0}}, {24, 32, {0, 178, 0}}, {40, 32, {224, 224, 224}}, {56, 32, RED}});
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
    expectPixels({{16, 32, BLACK}, {48, 32, BLUE}});
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
    expectPixels({{8, 32, BLACK}, {24, 32, GREEN}, {40, 32, BLUE}});
}

TEST_F(ScenePixels, ASurfaceThatSkipsMarkedPixelsIsLeftOutOnlyWhereAMarkingSurfaceShows)
{
    addViewport(camera());
    // Red marks the middle. Green, in front of its left half, is queued after
    // it (its bound is made to reach far behind), yet no mark may stay where
    // green shows. Blue, half-transparent and skipping marks, lies over all.
    CppLib::SharedPtr<Material> marking = makeMaterial();
    marking->setMarksPixels(true);
    mBuilder->addObject(makeQuad(-1, -1, 1, 1, -2, Color(1, 0, 0, 1)), marking);
    CppLib::SharedPtr<GeometryData> near = makeQuad(-2, -2, 0, 2, -1, Color(0, 1, 0, 1));
    near->setBoundingVolume(new BoundingBox(Point(-2, -2, -5), Point(0, 2, -1)));
    mBuilder->addObject(near, makeMaterial());
    CppLib::SharedPtr<Material> skipping = makeMaterial(true);
    skipping->setSkipsMarkedPixels(true);
    mBuilder->addObject(makeQuad(-3, -3, 3, 3, -0.5f, Color(0, 0, 1, 0.5f)), skipping);
    renderFrame();
    // Green under blue; red alone; blue over the black background.
    expectPixels({{24, 32, {0, 128, 128}, 4}, {40, 32, RED}, {60, 32, {0, 0, 128}, 4}});
    // The next frame starts without marks: blue over red, once the red no
    // longer marks.
    marking->setMarksPixels(false);
    renderFrame();
    expectPixels({{40, 32, {128, 0, 128}, 4}});
}
