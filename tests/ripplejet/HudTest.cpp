// The head-up display without a window: what it writes into its images and
// geometry, read back and compared with the character map and the layout.
#include "HudReading.h"

#include "display/Hud.h"
#include "display/ItemPanel.h"
#include "display/OverlayQuads.h"
#include "display/SpeedGauge.h"
#include "display/TimePanel.h"
#include "geometry/VertexData.h"
#include "resource/ResourceManager.h"
#include "resource/Texture2D.h"
#include "resource/TextureManager.h"
#include "resource/TextureProxy.h"
#include "scene/Branch.h"
#include "scene/Overlay.h"
#include "scene/SceneManager.h"
#include "scene/TransformationNode.h"
#include "support/AllocationCounter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <unistd.h>

namespace {

using Digits = std::vector<int>;
using RipplejetTest::holdsGlyph;
using RipplejetTest::readDigits;
using Velta::TextureProxy;
using Velta::TextureSource;

CppLib::SharedPtr<TextureSource> image(const char* name)
{
    return Velta::VeltaCore::getSingleton().getResourceManager().getTextureManager().getTextureSource(name);
}

bool sameBytes(const TextureSource& a, const TextureSource& b)
{
    return a.getTextureInfo() == b.getTextureInfo() && a.getTextureData() && b.getTextureData() &&
           std::memcmp(a.getTextureData(), b.getTextureData(), a.getTextureInfo().getMemSize()) == 0;
}

struct Vertex {
    float x, y, z, u, v;
};

Vertex vertexOf(const Velta::VertexData& data, unsigned int index, unsigned int unit = 0)
{
    const auto* position = static_cast<const float*>(data.getVertices()) + 3 * index;
    const char* layers = static_cast<const char*>(data.getTexCoordinates(0));
    const auto* uv = reinterpret_cast<const float*>(layers + index * data.getStride(Velta::VertexDataSet::TEX_COORDINATES)) +
                     2 * unit;
    return {position[0], position[1], position[2], uv[0], uv[1]};
}

void expectVertex(const Velta::VertexData& data, unsigned int index, const Vertex& expected, unsigned int unit = 0)
{
    const Vertex seen = vertexOf(data, index, unit);
    EXPECT_FLOAT_EQ(seen.x, expected.x) << "vertex " << index;
    EXPECT_FLOAT_EQ(seen.y, expected.y) << "vertex " << index;
    EXPECT_FLOAT_EQ(seen.z, expected.z) << "vertex " << index;
    EXPECT_FLOAT_EQ(seen.u, expected.u) << "vertex " << index << " unit " << unit;
    EXPECT_FLOAT_EQ(seen.v, expected.v) << "vertex " << index << " unit " << unit;
}

class HudOverGameData : public RipplejetTest::GameDataFixture {
protected:
    void SetUp() override
    {
        GameDataFixture::SetUp();
        mCharMap = RipplejetTest::loadCharMap();
        ASSERT_FALSE(mCharMap.isNull()) << "the game's data is generated in " << RIPPLEJET_BIN_DIR;
    }

    Digits time(Ripplejet::Hud& hud)
    {
        return readDigits(hud.getTimePanel().getText(), {120, 168, 208, 256, 296, 344, 384}, 39, *mCharMap, 1);
    }
    Digits health(Ripplejet::Hud& hud)
    {
        return readDigits(hud.getTimePanel().getText(), {170, 184, 198}, 118, *mCharMap, 3);
    }
    Digits oxygen(Ripplejet::Hud& hud)
    {
        return readDigits(hud.getTimePanel().getText(), {390, 404, 418}, 118, *mCharMap, 3);
    }
    Digits speed(Ripplejet::Hud& hud)
    {
        return readDigits(hud.getSpeedGauge().getText(), {0, 21, 42, 69}, 0, *mCharMap, 2);
    }
    Digits bonus(Ripplejet::Hud& hud)
    {
        return readDigits(hud.getSpeedGauge().getText(), {55, 66, 78, 88}, 44, *mCharMap, 4);
    }

    CppLib::SharedPtr<TextureSource> mCharMap;
};

TEST_F(HudOverGameData, EveryNumberReadsBackAsTheCharacterMapsGlyphsAtItsPlace)
{
    Velta::Overlay& overlay = core().getSceneManager().createOverlay();
    auto hud = std::make_unique<Ripplejet::Hud>();
    Velta::Branch& branch = hud->build(100, 5);
    EXPECT_EQ(&hud->build(1, 1), &branch) << "built once";
    EXPECT_EQ(branch.getAttachedChildCount(), 3);
    EXPECT_EQ(time(*hud), (Digits{0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(health(*hud), (Digits{1, 0, 0}));
    EXPECT_EQ(oxygen(*hud), (Digits{0, 0, 5}));
    EXPECT_EQ(speed(*hud), (Digits{0, 0, 0, 0}));
    EXPECT_EQ(bonus(*hud), (Digits{0, 0, 0, 0}));
    EXPECT_TRUE(holdsGlyph(hud->getSpeedGauge().getText(), 63, 0, *mCharMap, 2, 10)) << "the speed's point";

    hud->showTime(3723456);
    hud->showHealth(5);
    hud->showOxygen(100);
    hud->showBonus(1234);
    hud->setSpeedometer(123.4f);
    EXPECT_EQ(time(*hud), (Digits{1, 0, 2, 0, 3, 4, 5})) << "1:02:03.45";
    // The separators, where the next digit's cell does not cover them.
    const TextureProxy& text = hud->getTimePanel().getText();
    EXPECT_TRUE(holdsGlyph(text, 160, 39, *mCharMap, 1, 11, 8));
    EXPECT_TRUE(holdsGlyph(text, 248, 39, *mCharMap, 1, 11, 8));
    EXPECT_TRUE(holdsGlyph(text, 336, 39, *mCharMap, 1, 10, 8));
    EXPECT_EQ(health(*hud), (Digits{0, 0, 5}));
    EXPECT_EQ(oxygen(*hud), (Digits{1, 0, 0}));
    EXPECT_EQ(bonus(*hud), (Digits{1, 2, 3, 4}));
    EXPECT_EQ(speed(*hud), (Digits{1, 2, 3, 4}));

    // Values with more digits than places, or none, show the nearest that fits.
    hud->showTime(-20);
    EXPECT_EQ(time(*hud), (Digits{0, 0, 0, 0, 0, 0, 0}));
    hud->showTime(10 * 3600 * 1000LL + 61234);
    EXPECT_EQ(time(*hud), (Digits{0, 0, 1, 0, 1, 2, 3})) << "ten hours later the hour digit starts again";
    hud->showHealth(1500);
    hud->showBonus(-3);
    hud->setSpeedometer(5000.0f);
    EXPECT_EQ(health(*hud), (Digits{9, 9, 9}));
    EXPECT_EQ(bonus(*hud), (Digits{0, 0, 0, 0}));
    EXPECT_EQ(speed(*hud), (Digits{9, 9, 9, 9}));
    hud->setSpeedometer(std::numeric_limits<float>::quiet_NaN());
    EXPECT_EQ(speed(*hud), (Digits{0, 0, 0, 0}));

    // The display goes with its owner, out of the overlay it was put in.
    overlay.getRoot()->attachChild(branch);
    EXPECT_EQ(overlay.getRoot()->getAttachedChildCount(), 1);
    hud.reset();
    EXPECT_EQ(overlay.getRoot()->getAttachedChildCount(), 0);
}

TEST_F(HudOverGameData, ANewValueRewritesOnlyTheGlyphsThatChangedAndNoUpdateAllocates)
{
    Ripplejet::Hud hud;
    hud.build(100, 100);
    hud.showTime(1000);
    TextureProxy& text = hud.getTimePanel().getText();
    const TextureProxy::Region* regions = nullptr;
    unsigned int count = 0;

    // As a renderer does once it has uploaded what was written.
    text.forgetChangedRegions();
    unsigned long long before = text.getRevision();
    hud.showTime(1100);
    ASSERT_TRUE(text.getChangedRegions(before, regions, count));
    ASSERT_EQ(count, 1u) << "0:00:01.10 differs from 0:00:01.00 in one digit";
    EXPECT_EQ(regions[0].x, 344u);
    EXPECT_EQ(regions[0].y, 39u);
    EXPECT_EQ(regions[0].width, 39u);
    EXPECT_EQ(regions[0].height, 66u);

    text.forgetChangedRegions();
    before = text.getRevision();
    hud.showTime(1100);
    hud.showHealth(100);
    EXPECT_EQ(text.getRevision(), before) << "unchanged values draw nothing";
    hud.showHealth(90);
    ASSERT_TRUE(text.getChangedRegions(before, regions, count));
    EXPECT_EQ(count, 2u) << "100 to 090";

    const std::vector<CppLib::SharedPtr<TextureSource>> icons = {image("icons\\medicare.png"),
                                                                 image("icons\\banana.png")};
    const CppLib::SharedPtr<TextureSource> label = image("text\\banana.png");
    hud.updateItemDisplay(true, icons, 0, label);
    VeltaTest::AllocationCounter allocations;
    for (int i = 0; i < 200; ++i) {
        const long long now = 2000 + 16 * i;
        hud.showTime(now);
        hud.showHealth(100 - i % 100);
        hud.showOxygen(i % 100);
        hud.showBonus(i * 7);
        hud.setSpeedometer(static_cast<float>(i) * 0.37f);
        hud.setSpeedBar(static_cast<float>(i % 23) / 22.0f);
        hud.updateItemDisplay(false, icons, i % 2, label);
        hud.scrollItemStrip(now, i % 2);
    }
    EXPECT_EQ(allocations.getCount(), 0u);
}

TEST_F(HudOverGameData, DrawsOnlyGlyphsThatExistAndSaysOnceWhenAskedForOthers)
{
    Ripplejet::Hud hud;
    TextureProxy target(64, 64, Velta::Color(0, 0, 0, 0));
    EXPECT_TRUE(hud.drawGlyph(target, 4, 11, 3, 5));
    EXPECT_TRUE(holdsGlyph(target, 3, 5, *mCharMap, 4, 11));
    testing::internal::CaptureStderr();
    EXPECT_FALSE(hud.drawGlyph(target, 5, 3, 0, 0));
    EXPECT_FALSE(hud.drawGlyph(target, 1, 12, 0, 0));
    EXPECT_FALSE(hud.drawGlyph(target, 1, -1, 0, 0));
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "No glyph 3 of style 5 at (0, 0); nothing is drawn\n");
}

TEST_F(HudOverGameData, QuadsAreBuiltAsLaidOutAndTheSpeedBarRisesInTwentyTwoSteps)
{
    Ripplejet::Hud hud;
    hud.build(100, 100);
    Velta::VertexData& speed = hud.getSpeedGauge().getVertices();
    ASSERT_EQ(speed.getCount(), 12u);
    // The speed text: corners from the lower left counter-clockwise, the
    // smaller v at the top edge.
    expectVertex(speed, 4, {0.0288f, 0.195f, 0.01f, 0.0f, 1.0f});
    expectVertex(speed, 5, {0.156f, 0.195f, 0.01f, 1.0f, 1.0f});
    expectVertex(speed, 6, {0.156f, 0.267f, 0.01f, 1.0f, 0.0f});
    expectVertex(speed, 7, {0.0288f, 0.267f, 0.01f, 0.0f, 0.0f});
    EXPECT_FLOAT_EQ(hud.getSpeedGauge().getNode().getLocalTransformation().get(1, 3), 0.3f);
    EXPECT_FLOAT_EQ(hud.getTimePanel().getNode().getLocalTransformation().get(0, 3), 0.25f);
    EXPECT_FLOAT_EQ(hud.getItemPanel().getNode().getLocalTransformation().get(0, 3), 0.75f);

    // Built at bar 0: the top edge on the bottom one.
    EXPECT_EQ(hud.getSpeedGauge().getBarStep(), 0);
    expectVertex(speed, 10, {0.125f, -0.27f, 0.01f, 0.53f, 0.942f});
    hud.setSpeedBar(0.5f);
    EXPECT_EQ(hud.getSpeedGauge().getBarStep(), 11);
    const float q = 11.0f / 22.0f;
    expectVertex(speed, 8, {0.024f, -0.27f, 0.01f, 0.1f, 0.942f});
    expectVertex(speed, 9, {0.125f, -0.27f, 0.01f, 0.53f, 0.942f});
    expectVertex(speed, 10, {0.125f, -0.27f + 0.425f * q, 0.01f, 0.53f, 0.942f - 0.685f * q});
    expectVertex(speed, 11, {0.024f, -0.27f + 0.425f * q, 0.01f, 0.1f, 0.942f - 0.685f * q});

    const long long marked = speed.getModificationTime();
    mClock.advance(50);
    hud.setSpeedBar(0.52f);
    EXPECT_EQ(speed.getModificationTime(), marked) << "the same step changes nothing";
    hud.setSpeedBar(7.0f);
    EXPECT_EQ(hud.getSpeedGauge().getBarStep(), 22);
    EXPECT_GT(speed.getModificationTime(), marked);
    expectVertex(speed, 11, {0.024f, 0.155f, 0.01f, 0.1f, 0.257f});
    hud.setSpeedBar(std::numeric_limits<float>::quiet_NaN());
    EXPECT_EQ(hud.getSpeedGauge().getBarStep(), 0);
    hud.setSpeedBar(-1.0f);
    EXPECT_EQ(hud.getSpeedGauge().getBarStep(), 0);
}

TEST(OverlayOpaqueArea, IsThePanelLessItsRoundedCornersAndATexelAllRoundAndNoneWithAHole)
{
    const Velta::Color opaque(1.0f, 1.0f, 1.0f, 1.0f);
    const Velta::Color clear(0.0f, 0.0f, 0.0f, 0.0f);
    CppLib::SharedPtr<TextureProxy> panel(new TextureProxy(20, 10, opaque));
    const CppLib::SharedPtr<TextureSource> corner(new TextureProxy(2, 2, clear));
    for (const auto& [x, y] : {std::pair{0u, 0u}, {18u, 0u}, {0u, 8u}, {18u, 8u}}) {
        panel->copyRect(corner, x, y, 0, 0, 0, 0, 2, 2, 1);
    }
    // Opaque texels: columns 1 to 18 of rows 2 to 7; less a texel all round,
    // columns 2 to 17 and rows 3 to 6, edges at u 0.1 … 0.9, v 0.3 … 0.7.
    using Quad = Ripplejet::OverlayQuads::Quad;
    const Quad whole = {0.0f, 2.0f, 0.0f, 1.0f, 0.0f, 0.0f, 1.0f, 0.0f, 1.0f};
    const auto expectArea = [](const std::optional<Velta::Overlay::Area>& area, float xMin, float yMin, float xMax,
                               float yMax) {
        ASSERT_TRUE(area.has_value());
        EXPECT_FLOAT_EQ(area->xMin, xMin);
        EXPECT_FLOAT_EQ(area->yMin, yMin);
        EXPECT_FLOAT_EQ(area->xMax, xMax);
        EXPECT_FLOAT_EQ(area->yMax, yMax);
    };
    expectArea(Ripplejet::OverlayQuads::findOpaqueArea(whole, *panel, 0.5f, 0.25f), 0.7f, 0.55f, 2.3f, 0.95f);
    // The left half of the image across the same quad.
    const Quad half = {0.0f, 2.0f, 0.0f, 1.0f, 0.0f, 0.0f, 0.5f, 0.0f, 1.0f};
    expectArea(Ripplejet::OverlayQuads::findOpaqueArea(half, *panel, 0.0f, 0.0f), 0.4f, 0.3f, 1.8f, 0.7f);

    const CppLib::SharedPtr<TextureSource> missing(new TextureProxy(1, 1, clear));
    EXPECT_FALSE(Ripplejet::OverlayQuads::findOpaqueArea(whole, *missing, 0.0f, 0.0f));
    const Quad flat = {0.0f, 2.0f, 0.0f, 1.0f, 0.0f, 0.5f, 0.5f, 0.0f, 1.0f};
    EXPECT_FALSE(Ripplejet::OverlayQuads::findOpaqueArea(flat, *panel, 0.0f, 0.0f));
    panel->copyRect(corner, 10, 5, 0, 0, 0, 0, 1, 1, 1);
    EXPECT_FALSE(Ripplejet::OverlayQuads::findOpaqueArea(whole, *panel, 0.0f, 0.0f)) << "a hole inside";
}

TEST_F(HudOverGameData, TheStripHoldsTheIconsInOrderAndGlidesTheSelectedOneToItsPlace)
{
    Ripplejet::Hud hud;
    hud.build(100, 100);
    Ripplejet::ItemPanel& items = hud.getItemPanel();
    const CppLib::SharedPtr<TextureSource> empty = image("empty.png");
    ASSERT_FALSE(empty.isNull());
    EXPECT_TRUE(sameBytes(*items.getLabel()->getTextureSource(0, 0), *empty)) << "no items: \"empty.png\"";

    const std::vector<CppLib::SharedPtr<TextureSource>> icons = {
        image("icons\\medicare.png"), image("icons\\oxygen.png"), image("icons\\banana.png")};
    const CppLib::SharedPtr<TextureSource> label = image("text\\oxygen.png");
    hud.updateItemDisplay(true, icons, 1, label);
    const TextureProxy& strip = *items.getStrip();
    ASSERT_EQ(strip.getTextureInfo().getWidth(), 1024u);
    ASSERT_EQ(strip.getTextureInfo().getHeight(), 64u);
    for (unsigned int i = 0; i < icons.size(); ++i) {
        for (unsigned int row = 0; row < 60; ++row) {
            ASSERT_EQ(std::memcmp(strip.getPixel(12 + 94 * i, row, 0), icons[i]->getPixel(0, row, 0), 80 * 4), 0)
                << "icon " << i << " row " << row;
        }
    }
    const unsigned char clear[4] = {0, 0, 0, 0};
    EXPECT_EQ(std::memcmp(strip.getPixel(12 + 94 * 3, 10, 0), clear, 4), 0);
    EXPECT_EQ(std::memcmp(strip.getPixel(5, 62, 0), clear, 4), 0);
    EXPECT_EQ(items.getLabel()->getTextureSource(0, 0).get(), label.get());
    hud.updateItemDisplay(false, icons, -1, label);
    EXPECT_TRUE(sameBytes(*items.getLabel()->getTextureSource(0, 0), *empty)) << "nothing selected";

    // The strip glides by the time between updates, a twelfth of the way
    // at 16 ms, and comes to rest with slot 1 at 161 of 425 pixels.
    hud.scrollItemStrip(5000, 0);
    EXPECT_EQ(items.getScroll(), 0.0f);
    hud.scrollItemStrip(5016, 1);
    EXPECT_NEAR(items.getScroll(), 94.0f * (16.0f / 300.0f + 0.03f), 1e-4f);
    long long now = 5016;
    for (int frame = 0; frame < 400 && items.getScroll() != 94.0f; ++frame) {
        hud.scrollItemStrip(now += 16, 1);
    }
    EXPECT_EQ(items.getScroll(), 94.0f);
    const Velta::VertexData& quad = items.getStripVertices();
    const float u = (94.0f - 161.0f) / 1024.0f;
    expectVertex(quad, 0, {-0.16f, -0.11f, 0.01f, u, 1.65f});
    expectVertex(quad, 1, {0.16f, -0.11f, 0.01f, u + 425.0f / 1024.0f, 1.65f});
    expectVertex(quad, 2, {0.16f, 0.0f, 0.01f, u + 425.0f / 1024.0f, -0.53f});
    expectVertex(quad, 3, {-0.16f, 0.0f, 0.01f, u, -0.53f});
    for (unsigned int unit = 1; unit < 3; ++unit) {
        expectVertex(quad, 0, {-0.16f, -0.11f, 0.01f, 0.0f, 0.625f}, unit);
        expectVertex(quad, 2, {0.16f, 0.0f, 0.01f, 1.0f, 0.0f}, unit);
    }
    const long long marked = quad.getModificationTime();
    mClock.advance(100);
    hud.scrollItemStrip(now += 16, 1);
    EXPECT_EQ(quad.getModificationTime(), marked) << "at rest nothing changes";
}

/// An empty directory instead of the game's data.
std::filesystem::path emptyDirectory()
{
    const std::filesystem::path path =
        std::filesystem::temp_directory_path() / ("hud-without-data-" + std::to_string(getpid()));
    std::filesystem::create_directories(path);
    return path;
}

class HudWithoutData : public RipplejetTest::GameDataFixture {
protected:
    HudWithoutData() : GameDataFixture(emptyDirectory()) {}
    ~HudWithoutData() override { std::filesystem::remove_all(emptyDirectory()); }
};

TEST_F(HudWithoutData, BuildsAndUpdatesWithOneLinePerMissingImage)
{
    testing::internal::CaptureStderr();
    Ripplejet::Hud hud;
    hud.build(100, 100);
    hud.showTime(3723456);
    hud.showHealth(50);
    hud.showOxygen(50);
    hud.showBonus(12);
    hud.setSpeedometer(12.5f);
    hud.setSpeedBar(0.5f);
    const std::vector<CppLib::SharedPtr<TextureSource>> icons = {image("icons\\medicare.png")};
    hud.updateItemDisplay(true, icons, 0, image("text\\medicare.png"));
    hud.scrollItemStrip(1000, 0);
    const std::string log = testing::internal::GetCapturedStderr();

    const char* files[] = {"CharMap.png", "tacho.png",     "tachotext.png", "speedbar.png", "time.png",
                           "panel.png",   "panelmask.png", "item.png",      "empty.png",    "medicare.png"};
    for (const char* file : files) {
        EXPECT_NE(log.find(file), std::string::npos) << file << " in\n" << log;
    }
    EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 11) << "medicare.png twice (icon and label)\n" << log;
    // The digits' images are there, transparent, to draw into.
    EXPECT_EQ(hud.getTimePanel().getText().getTextureInfo().getWidth(), 512u);
    EXPECT_EQ(hud.getSpeedGauge().getText().getTextureInfo().getWidth(), 128u);
    EXPECT_EQ(hud.getItemPanel().getStrip()->getTextureInfo().getWidth(), 1024u);
    EXPECT_TRUE(hud.getOpaqueAreas().empty()) << "nothing shows where the panels would be";
}

} // namespace
