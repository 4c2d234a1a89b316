// The race's first frames in a real window: the course and its sign drawn
// from the generated data.
#include "race/Timerace.h"

#include "plugins/render/opengl/sdl/GLSDLRenderWindow.h"
#include "resource/Material.h"
#include "scene/Camera.h"
#include "scene/Overlay.h"
#include "terrain/TerrainTile.h"
#include "water/Water.h"

#include "support/RenderWindowFixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace {

class RaceLooks : public VeltaTest::RenderWindowFixture {
protected:
    RaceLooks() : RenderWindowFixture(WIDTH, HEIGHT) {}

    void SetUp() override
    {
        std::filesystem::current_path(RIPPLEJET_BIN_DIR);
        setenv("ALSOFT_DRIVERS", "null", 0);
        RenderWindowFixture::SetUp();
    }

    void TearDown() override
    {
        race.reset();
        RenderWindowFixture::TearDown();
        std::filesystem::current_path(mWorkingDirectory);
    }

    /// A race loaded and started, shown in the window.
    bool startRace()
    {
        race = std::make_unique<Ripplejet::Timerace>();
        if (!race->load()) {
            return false;
        }
        race->start();
        addViewport(race->getCamera());
        return true;
    }

    void frame()
    {
        race->update(clock().getTimestamp() + 16);
        renderFrame();
    }

    void frames(int count)
    {
        for (int i = 0; i < count; ++i) {
            frame();
        }
    }

    /// The same moment drawn again, without an update in between.
    void redraw() { window().render(clock().getTimestamp()); }

    /// Every pixel of the window, row by row.
    std::vector<VeltaTest::Pixel> picture() const
    {
        std::vector<VeltaTest::Pixel> pixels;
        for (int y = 0; y < HEIGHT; ++y) {
            for (int x = 0; x < WIDTH; ++x) {
                pixels.push_back(readPixel(x, y));
            }
        }
        return pixels;
    }

    static constexpr int WIDTH = 128;
    static constexpr int HEIGHT = 96;
    std::filesystem::path mWorkingDirectory = std::filesystem::current_path();
    std::unique_ptr<Ripplejet::Timerace> race;
};

TEST_F(RaceLooks, ShowsTheSkyOverTheValleyAndTheReadySignWithoutALogLine)
{
    if (IsSkipped() || HasFatalFailure()) {
        return;
    }
    testing::internal::CaptureStderr();
    ASSERT_TRUE(startRace());
    frames(3);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");

    // The sky, unlit: light blue above the valley walls.
    const VeltaTest::Pixel sky = readPixel(64, 92); // between the top panels
    EXPECT_GT(sky.b, 180) << sky;
    EXPECT_GT(sky.b, sky.r + 30) << sky;
    // The river fills most of the bottom edge (a buoy and a traffic light
    // stand in it).
    int blue = 0;
    for (int x = 0; x < 128; x += 8) {
        const VeltaTest::Pixel water = readPixel(x, 2);
        blue += water.b > water.r + 40 ? 1 : 0;
    }
    EXPECT_GE(blue, 10);
    // The sign: its golden "READY?" across the middle goes with it.
    const auto golden = [this] {
        int count = 0;
        for (int y = 48; y < 72; ++y) {
            for (int x = 24; x < 104; ++x) {
                const VeltaTest::Pixel p = readPixel(x, y);
                count += p.r > 200 && p.g > 140 && p.b < 100 ? 1 : 0;
            }
        }
        return count;
    };
    const int withSign = golden();
    EXPECT_GT(withSign, 60);
    race->getCamera()->setUseOverlay(false);
    frame();
    EXPECT_LT(golden(), withSign / 4);
}

TEST_F(RaceLooks, TheRiverBedTakesTheWatersColourWhereTheWaterIsLeftOutAndLooksTheSame)
{
    if (IsSkipped() || HasFatalFailure()) {
        return;
    }
    ASSERT_TRUE(startRace());
    race->getCamera()->setUseOverlay(false);
    frames(3);
    const std::vector<VeltaTest::Pixel> oneLayer = picture();

    // Drawn the old way, the water over the bed as it is: the same picture
    // but for rounding.
    Velta::Terrain::Tile& tile = *race->getTerrain()->getTile(0, 0);
    tile.setCoverShown(false);
    redraw();
    const std::vector<VeltaTest::Pixel> twoLayers = picture();
    tile.setCoverShown(true);
    long long difference = 0;
    int worst = 0;
    for (size_t i = 0; i < oneLayer.size(); ++i) {
        for (const auto channel : {&VeltaTest::Pixel::r, &VeltaTest::Pixel::g, &VeltaTest::Pixel::b}) {
            const int step = std::abs(oneLayer[i].*channel - twoLayers[i].*channel);
            difference += step;
            worst = std::max(worst, step);
        }
    }
    EXPECT_LT(static_cast<double>(difference) / (3.0 * oneLayer.size()), 0.5);
    EXPECT_LE(worst, 3);

    // Where the bed carries the water's colour, the water is left out: drawn
    // there after all, it shows twice over most of the river in view.
    race->getWater()->getDefaultMaterial(0)->setSkipsMarkedPixels(false);
    redraw();
    const std::vector<VeltaTest::Pixel> waterTwice = picture();
    race->getWater()->getDefaultMaterial(0)->setSkipsMarkedPixels(true);
    int covered = 0;
    for (size_t i = 0; i < oneLayer.size(); ++i) {
        covered += oneLayer[i].isNear(waterTwice[i], 3) ? 0 : 1;
    }
    EXPECT_GT(covered, WIDTH * HEIGHT / 5);
}

TEST_F(RaceLooks, TheSceneIsNotShadedWhereTheDisplayHidesItAndThePictureStaysTheSame)
{
    if (IsSkipped() || HasFatalFailure()) {
        return;
    }
    ASSERT_TRUE(startRace());
    Velta::Overlay& display = *race->getCamera()->getOverlay();
    const std::vector<Velta::Overlay::Area> areas = display.getOpaqueAreas();
    // The speed gauge and the item panel, each less its rounded edge.
    ASSERT_EQ(areas.size(), 2u);
    float covered = 0.0f;
    for (const Velta::Overlay::Area& area : areas) {
        covered += (area.xMax - area.xMin) * (area.yMax - area.yMin);
    }
    EXPECT_GT(covered, 0.12f);
    EXPECT_LT(covered, 0.19f * 0.6f + 0.32f * 0.11f);

    frames(3);
    const std::vector<VeltaTest::Pixel> heldOut = picture();
    display.setOpaqueAreas({});
    redraw();
    const std::vector<VeltaTest::Pixel> shaded = picture();
    int differing = 0;
    for (size_t i = 0; i < heldOut.size(); ++i) {
        differing += heldOut[i].isNear(shaded[i], 0) ? 0 : 1;
    }
    EXPECT_EQ(differing, 0);
}

} // namespace
