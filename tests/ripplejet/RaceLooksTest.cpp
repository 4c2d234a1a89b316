// The race's first frames in a real window: the course and its sign drawn
// from the generated data.
#include "race/Timerace.h"

#include "scene/Camera.h"

#include "support/RenderWindowFixture.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

namespace {

class RaceLooks : public VeltaTest::RenderWindowFixture {
protected:
    RaceLooks() : RenderWindowFixture(128, 96) {}

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

    void frame()
    {
        race->update(clock().getTimestamp() + 16);
        renderFrame();
    }

    std::filesystem::path mWorkingDirectory = std::filesystem::current_path();
    std::unique_ptr<Ripplejet::Timerace> race;
};

TEST_F(RaceLooks, ShowsTheSkyOverTheValleyAndTheReadySignWithoutALogLine)
{
    if (IsSkipped() || HasFatalFailure()) {
        return;
    }
    testing::internal::CaptureStderr();
    race = std::make_unique<Ripplejet::Timerace>();
    ASSERT_TRUE(race->load());
    race->start();
    addViewport(race->getCamera());
    for (int i = 0; i < 3; ++i) {
        frame();
    }
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

} // namespace
