#include "TerrainTestSupport.h"

#include "resource/RenderSettings.h"
#include "scene/Branch.h"
#include "scene/Camera.h"
#include "scene/SceneGraph.h"
#include "scene/SceneManager.h"
#include "scene/TransformationNode.h"
#include "plugins/render/opengl/GLRenderContext.h"
#include "support/RenderWindowFixture.h"

#include <algorithm>
#include <string>
#include <vector>

using namespace Velta;
using TerrainTest::makeHeightMap;
using TerrainTest::makeImage;
using VeltaTest::Pixel;

namespace {

class TerrainLooks : public VeltaTest::RenderWindowFixture {
protected:
    /// An 8 × 8 flat tile seen unlit straight from above, 5 units up: tile
    /// (u, v) shows at pixel ((u × 8 − 4) / 5 + 1) × 32, (1 − (v × 8 − 4) / 5) × 32,
    /// so (0, 0) is at the upper left. A green base; grass (layer 0, red)
    /// where the colour map's alpha is 1, its right half; the river (layer 1,
    /// blue) where its alpha map is white, the bottom half; a grey light map.
    void build(TransformationNode& eye, Terrain& terrain)
    {
        SceneGraph& scene = core().getSceneManager().createSceneGraph();
        CppLib::SharedPtr<Camera> camera(new Camera("camera"));
        CppLib::SharedPtr<RenderSettings> settings(new RenderSettings());
        settings->setUseLights(false);
        camera->getCamSettings().setRenderSettings(settings);
        eye.setChild(*camera);
        eye.translate(4, 5, 4, true);
        eye.rotateX(-3.14159265f / 2, true);
        scene.getRoot()->attachChild(eye);
        addViewport(camera);

        scene.getRoot()->attachChild(terrain);
        terrain.initializeTerrain(3, 0, 8.0f);
        Terrain::Tile& tile = *terrain.getTile(0, 0);
        tile.setEnabled(true);
        tile.load(makeHeightMap(8, [](unsigned, unsigned) { return 0; }), 0, 0);
        tile.setColorMap(makeImage(2, 1, {255, 255, 255, 0, 255, 255, 255, 255}, Color::RGBA));
        const auto solid = [](unsigned char r, unsigned char g, unsigned char b) {
            return makeImage(2, 2, {r, g, b, r, g, b, r, g, b, r, g, b}, Color::RGB);
        };
        tile.setBaseMap(solid(0, 255, 0), 8.0f);
        tile.addTextureLayer(solid(255, 0, 0), solid(0, 0, 0), 8.0f);
        tile.addTextureLayer(solid(0, 0, 255), makeHeightMap(8, [](unsigned, unsigned y) { return y < 4 ? 0 : 255; }),
                             8.0f);
        tile.setLightMap(makeHeightMap(8, [](unsigned, unsigned) { return 128; }), 1.0f, 0.0f);
        tile.updateTile();
    }

    Pixel at(float u, float v) const
    {
        return readPixel(static_cast<int>(((u * 8 - 4) / 5 + 1) * 32), static_cast<int>((1 - (v * 8 - 4) / 5) * 32));
    }
};

TEST_F(TerrainLooks, LayersBlendByColourMapAlphaAndLastAlphaUnderTheLightMap)
{
    TransformationNode eye;
    Terrain terrain(1, 1);
    build(eye, terrain);
    renderFrame();

    EXPECT_TRUE(at(0.15f, 0.15f).isNear({0, 128, 0})) << at(0.15f, 0.15f);  // base
    EXPECT_TRUE(at(0.85f, 0.15f).isNear({128, 0, 0})) << at(0.85f, 0.15f);  // layer 0
    EXPECT_TRUE(at(0.15f, 0.85f).isNear({0, 0, 128})) << at(0.15f, 0.85f);  // layer 1
    EXPECT_TRUE(at(0.85f, 0.85f).isNear({0, 0, 128})) << at(0.85f, 0.85f);
    EXPECT_TRUE(readPixel(2, 32).isNear({0, 0, 0})) << readPixel(2, 32);    // beside the tile
}

TEST_F(TerrainLooks, ATileNeedingMoreUnitsThanTheDriverOffersIsDrawnWithWhatFitsAndReportedOnce)
{
    // Base, two layers and the light map take six units; the driver is
    // taken to offer four, so the light unit (and the river's alpha in it)
    // is left out.
    context().limitTextureUnits(4);
    TransformationNode eye;
    Terrain terrain(1, 1);
    build(eye, terrain);

    testing::internal::CaptureStderr();
    for (int frame = 0; frame < 3; ++frame) {
        renderFrame();
    }
    const std::string log = testing::internal::GetCapturedStderr();
    EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 1) << log;
    EXPECT_NE(log.find("texture unit 5"), std::string::npos) << log;
    // The base shows, unlit by the missing light map and not hidden by the
    // layers, whose weights are 0 there.
    EXPECT_TRUE(at(0.15f, 0.15f).isNear({0, 255, 0})) << at(0.15f, 0.15f);
}

} // namespace
