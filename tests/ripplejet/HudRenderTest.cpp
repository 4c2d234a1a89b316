// The head-up display drawn on a camera's overlay in a real 1024 × 768
// window: its groups where the layout puts them, the right digits at the
// right pixels, and only the rewritten glyphs uploaded.
#include "HudReading.h"

#include "display/Hud.h"
#include "display/ItemPanel.h"
#include "plugins/render/opengl/GLRenderContext.h"
#include "resource/RenderSettings.h"
#include "resource/TextureProxy.h"
#include "scene/Branch.h"
#include "scene/Camera.h"
#include "scene/Overlay.h"
#include "scene/SceneGraph.h"
#include "scene/SceneManager.h"
#include "support/RenderWindowFixture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <memory>

namespace {

using Velta::TextureSource;

constexpr int WIDTH = 1024;
constexpr int HEIGHT = 768;

/// Where one of the display's images lies on the screen: the window pixel
/// position of its top left corner (y up from the bottom) and window pixels
/// per image pixel across and down.
struct OnScreen {
    float left, top, scaleX, scaleY;
};

/// The time/status image: the time panel's quad −0.16 … 0.16 × −0.11 … 0
/// placed at (0.25, 1), showing u 0 … 1 and v 0 … 0.625 of 512 × 256.
const OnScreen TIME_TEXT = {(0.25f - 0.16f) * WIDTH, HEIGHT, 0.32f * WIDTH / 512.0f, 0.11f * HEIGHT / 160.0f};
/// The speed text image: 0.0288 … 0.156 × 0.195 … 0.267 placed at (0, 0.3),
/// the whole of 128 × 64.
const OnScreen SPEED_TEXT = {0.0288f * WIDTH, (0.3f + 0.267f) * HEIGHT, (0.156f - 0.0288f) * WIDTH / 128.0f,
                             (0.267f - 0.195f) * HEIGHT / 64.0f};

class HudOnScreen : public VeltaTest::RenderWindowFixture {
protected:
    HudOnScreen() : RenderWindowFixture(WIDTH, HEIGHT) {}

    void SetUp() override
    {
        std::filesystem::current_path(RIPPLEJET_BIN_DIR);
        RenderWindowFixture::SetUp();
        if (IsSkipped() || HasFatalFailure()) {
            return;
        }
        // As the level sets up its camera's overlay.
        Velta::SceneGraph& scene = core().getSceneManager().createSceneGraph();
        Velta::Overlay& overlay = core().getSceneManager().createOverlay();
        mCamera = CppLib::SharedPtr<Velta::Camera>(new Velta::Camera("camera"));
        scene.getRoot()->attachChild(*mCamera);
        CppLib::SharedPtr<Velta::RenderSettings> flat(new Velta::RenderSettings());
        flat->setShadingMode(Velta::RenderSettings::SHADE_FLAT);
        flat->setUseLights(false);
        mCamera->setOverlay(overlay);
        mCamera->getOverlaySettings().setRenderSettings(flat);
        addViewport(mCamera);

        mHud = std::make_unique<Ripplejet::Hud>();
        overlay.getRoot()->attachChild(mHud->build(100, 5));
        mCharMap = RipplejetTest::loadCharMap();
        ASSERT_FALSE(mCharMap.isNull());
    }

    void TearDown() override
    {
        mHud.reset();
        mCamera.setNull();
        RenderWindowFixture::TearDown();
        std::filesystem::current_path(mWorkingDirectory);
    }

    /// How far the window's pixels over glyph `glyph` of `style`, drawn at
    /// (x, y) of an image on screen, are from the character map filtered as
    /// OpenGL filters it: the mean difference per colour component over the
    /// pixels that sample only the glyph (its first `columns` columns).
    double mismatch(const OnScreen& image, int style, int glyph, int x, int y, int columns = 0) const
    {
        int sx = 0, sy = 0, width = 0, height = 0;
        RipplejetTest::glyphRect(style, glyph, sx, sy, width, height);
        if (columns > 0) {
            width = columns;
        }
        const int firstColumn = static_cast<int>(std::ceil(image.left + (x + 0.5f) * image.scaleX - 0.5f));
        const int lastColumn = static_cast<int>(std::floor(image.left + (x + width - 0.5f) * image.scaleX - 0.5f));
        const int topRow = static_cast<int>(std::floor(image.top - (y + 0.5f) * image.scaleY - 0.5f));
        const int bottomRow = static_cast<int>(std::ceil(image.top - (y + height - 0.5f) * image.scaleY - 0.5f));
        double sum = 0.0;
        int count = 0;
        for (int row = bottomRow; row <= topRow; ++row) {
            for (int column = firstColumn; column <= lastColumn; ++column) {
                const float tx = (column + 0.5f - image.left) / image.scaleX;
                const float ty = (image.top - (row + 0.5f)) / image.scaleY;
                float expected[4];
                RipplejetTest::sampleLinear(*mCharMap, sx + tx - x, sy + ty - y, expected);
                const VeltaTest::Pixel seen = readPixel(column, row);
                sum += std::fabs(seen.r - expected[0]) + std::fabs(seen.g - expected[1]) +
                       std::fabs(seen.b - expected[2]);
                count += 3;
            }
        }
        return count > 0 ? sum / count : 1e9;
    }

    /// The digit the window shows at (x, y) of the image: the one it matches
    /// best, which must match well.
    int digitAt(const OnScreen& image, int style, int x, int y) const
    {
        int best = -1;
        double bestError = 1e9;
        for (int digit = 0; digit < 10; ++digit) {
            const double error = mismatch(image, style, digit, x, y);
            if (error < bestError) {
                bestError = error;
                best = digit;
            }
        }
        EXPECT_LT(bestError, 6.0) << "style " << style << " at (" << x << ", " << y << ")";
        return best;
    }

    std::vector<int> digitsAt(const OnScreen& image, int style, std::initializer_list<int> xs, int y) const
    {
        std::vector<int> digits;
        for (int x : xs) {
            digits.push_back(digitAt(image, style, x, y));
        }
        return digits;
    }

    std::unique_ptr<Ripplejet::Hud> mHud;
    CppLib::SharedPtr<Velta::Camera> mCamera;
    CppLib::SharedPtr<TextureSource> mCharMap;

private:
    std::filesystem::path mWorkingDirectory = std::filesystem::current_path();
};

using Digits = std::vector<int>;

TEST_F(HudOnScreen, ShowsTheTimeSpeedHealthOxygenAndBonusDigitsWhereTheLayoutPutsThem)
{
    mHud->showTime(3723456);
    mHud->showBonus(1234);
    mHud->setSpeedometer(123.4f);
    mHud->setSpeedBar(0.5f);
    renderFrame();
    EXPECT_EQ(digitsAt(TIME_TEXT, 1, {120, 168, 208, 256, 296, 344, 384}, 39), (Digits{1, 0, 2, 0, 3, 4, 5}));
    EXPECT_LT(mismatch(TIME_TEXT, 1, 11, 160, 39, 8), mismatch(TIME_TEXT, 1, 10, 160, 39, 8)) << "a colon";
    EXPECT_LT(mismatch(TIME_TEXT, 1, 11, 248, 39, 8), mismatch(TIME_TEXT, 1, 10, 248, 39, 8)) << "a colon";
    EXPECT_LT(mismatch(TIME_TEXT, 1, 10, 336, 39, 8), mismatch(TIME_TEXT, 1, 11, 336, 39, 8)) << "a point";
    EXPECT_LT(mismatch(TIME_TEXT, 1, 10, 336, 39, 8), 6.0);
    EXPECT_EQ(digitsAt(TIME_TEXT, 3, {170, 184, 198}, 118), (Digits{1, 0, 0}));
    EXPECT_EQ(digitsAt(TIME_TEXT, 3, {390, 404, 418}, 118), (Digits{0, 0, 5}));
    EXPECT_EQ(digitsAt(SPEED_TEXT, 2, {0, 21, 42, 69}, 0), (Digits{1, 2, 3, 4}));
    EXPECT_LT(mismatch(SPEED_TEXT, 2, 10, 63, 0), 6.0) << "the speed's point";
    EXPECT_EQ(digitsAt(SPEED_TEXT, 4, {55, 66, 78, 88}, 44), (Digits{1, 2, 3, 4}));

    // Step 11 of the bar ends 0.3 − 0.27 + 0.425 / 2 of the screen up, at
    // row 186.2: lit below, the gauge's dark track above.
    const VeltaTest::Pixel lit = readPixel(76, 182);
    EXPECT_GT(lit.r + lit.g, 300) << lit;
    EXPECT_TRUE(readPixel(76, 187).isNear({16, 26, 44})) << readPixel(76, 187);
}

TEST_F(HudOnScreen, AFrameAfterATimeChangeUploadsOnlyTheRewrittenGlyph)
{
    mHud->showTime(1000);
    renderFrame();
    renderFrame();
    const Velta::GLRenderContext& gl = context();
    const unsigned long long bytes = gl.getTextureUploadBytes();
    const unsigned long long uploads = gl.getTextureUploadCount();
    mHud->showTime(1100);
    renderFrame();
    EXPECT_EQ(gl.getTextureUploadBytes() - bytes, 39u * 66u * 4u) << "one style-1 glyph of RGBA bytes";
    EXPECT_EQ(gl.getTextureUploadCount() - uploads, 1u);
    EXPECT_EQ(digitsAt(TIME_TEXT, 1, {296, 344, 384}, 39), (Digits{1, 1, 0}));
    renderFrame();
    EXPECT_EQ(gl.getTextureUploadBytes() - bytes, 39u * 66u * 4u) << "and nothing after it";
}

TEST_F(HudOnScreen, TheSelectedIconComesToRestAHundredAndSixtyOnePixelsIntoItsWindow)
{
    // Blue icons with a red stripe down the middle (columns 39 and 40).
    std::vector<CppLib::SharedPtr<TextureSource>> icons;
    for (int i = 0; i < 3; ++i) {
        CppLib::SharedPtr<Velta::TextureProxy> icon(new Velta::TextureProxy(80, 60, Velta::Color(0, 0, 1, 1)));
        const CppLib::SharedPtr<TextureSource> red(new Velta::TextureProxy(2, 60, Velta::Color(1, 0, 0, 1)));
        icon->copyRect(red, 39, 0, 0, 0, 0, 0, 2, 60, 1);
        icons.push_back(icon);
    }
    mHud->updateItemDisplay(true, icons, 1, {});
    long long now = 10000;
    for (int frame = 0; frame < 200; ++frame) {
        mHud->scrollItemStrip(now += 16, 1);
    }
    ASSERT_EQ(mHud->getItemPanel().getScroll(), 94.0f);
    renderFrame();

    // The panel's 512 columns span 0.32 of the screen from 0.59, and the
    // strip's 425 pixels span the panel. The selected slot starts 161
    // pixels in; the stripe is 12 + 40 pixels further.
    const float stripe = (0.59f + 0.32f * (161.0f + 12.0f + 40.0f) / 425.0f) * WIDTH;
    // Halfway down the icons' rows, in the panel mask's window.
    const int row = 730;
    double weight = 0.0;
    double sum = 0.0;
    for (int x = static_cast<int>(stripe) - 20; x <= static_cast<int>(stripe) + 20; ++x) {
        const VeltaTest::Pixel pixel = readPixel(x, row);
        EXPECT_GT(pixel.r + pixel.b, 200) << "the icon at " << x;
        const double red = std::max(0, pixel.r - 128);
        weight += red;
        sum += red * (x + 0.5);
    }
    ASSERT_GT(weight, 0.0) << "the stripe shows";
    EXPECT_NEAR(sum / weight, stripe, 0.75);
}

} // namespace
