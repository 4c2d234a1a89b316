#include "display/SpeedGauge.h"

#include "display/GlyphSheet.h"
#include "display/OverlayImages.h"
#include "display/OverlayQuads.h"
#include "geometry/GeometryData.h"
#include "geometry/GeometryObject.h"
#include "geometry/VertexData.h"
#include "resource/Material.h"
#include "resource/Texture2D.h"
#include "resource/TextureProxy.h"
#include "scene/TransformationNode.h"

#include <algorithm>
#include <cmath>

namespace Ripplejet {

namespace {

/// Where the group is placed.
constexpr float PLACE_X = 0.0f;
constexpr float PLACE_Y = 0.3f;
constexpr int STYLE_SPEED = 2;
constexpr int STYLE_BONUS = 4;
constexpr int DECIMAL_POINT = 10;

/// The bar quad and how its top edge moves with the step: its upper
/// vertices (quad 2's third and fourth) rise 0.425 and their v falls 0.685
/// over the whole bar.
constexpr unsigned int BAR_QUAD = 2;
constexpr float BAR_LEFT = 0.024f;
constexpr float BAR_RIGHT = 0.125f;
constexpr float BAR_BOTTOM = -0.27f;
constexpr float BAR_RISE = 0.425f;
constexpr float BAR_Z = 0.01f;
constexpr float BAR_U_LEFT = 0.1f;
constexpr float BAR_U_RIGHT = 0.53f;
constexpr float BAR_V_BOTTOM = 0.942f;
constexpr float BAR_V_SPAN = 0.685f;

CppLib::SharedPtr<Velta::Texture2D> texture(const CppLib::SharedPtr<Velta::TextureSource>& image)
{
    return CppLib::SharedPtr<Velta::Texture2D>(new Velta::Texture2D(image));
}

} // namespace

SpeedGauge::SpeedGauge(const GlyphSheet& glyphs)
    : mText(OverlayImages::editableCopy("overlays\\tachotext.png", 128, 64)),
      mSpeedDigits(glyphs, *mText, STYLE_SPEED, 0, {0, 21, 42, 69}),
      mBonusDigits(glyphs, *mText, STYLE_BONUS, 44, {55, 66, 78, 88})
{
    const OverlayQuads::Quad gauge = {0.0f, 0.19f, -0.3f, 0.3f, 0.0f, 0.0f, 0.762f, 0.0f, 1.0f};
    const CppLib::SharedPtr<Velta::TextureSource> gaugeImage = OverlayImages::load("overlays\\tacho.png");
    const CppLib::SharedPtr<Velta::GeometryData> geometry =
        OverlayQuads::create("speed",
                             {
                                 gauge,
                                 {0.0288f, 0.156f, 0.195f, 0.267f, 0.01f, 0.0f, 1.0f, 0.0f, 1.0f},
                                 {BAR_LEFT, BAR_RIGHT, BAR_BOTTOM, 0.155f, BAR_Z, BAR_U_LEFT, BAR_U_RIGHT, 0.244f,
                                  BAR_V_BOTTOM},
                             },
                             1);
    mVertices = geometry->getIndexedData(0);
    mObject = OverlayQuads::createObject(
        "speed", geometry,
        {OverlayQuads::createMaterial({texture(gaugeImage)}),
         OverlayQuads::createMaterial({texture(mText)}),
         OverlayQuads::createMaterial({texture(OverlayImages::load("overlays\\speedbar.png"))})});
    mNode = std::make_unique<Velta::TransformationNode>("speed");
    mNode->setChild(*mObject);
    mNode->translate(PLACE_X, PLACE_Y, 0.0f, false);
    // The speed text and the bar are drawn over the gauge, each by its own
    // alpha: the gauge's opaque pixels stay opaque.
    mOpaqueArea = OverlayQuads::findOpaqueArea(gauge, *gaugeImage, PLACE_X, PLACE_Y);

    glyphs.draw(*mText, STYLE_SPEED, DECIMAL_POINT, 63, 0);
}

SpeedGauge::~SpeedGauge() = default;

void SpeedGauge::setSpeedBar(float fraction)
{
    if (!(fraction > 0.0f)) {
        fraction = 0.0f;
    }
    const int step = std::min(BAR_STEPS, static_cast<int>(std::floor(std::min(fraction, 1.0f) * BAR_STEPS)));
    if (step == mBarStep) {
        return;
    }
    mBarStep = step;
    const float q = static_cast<float>(step) / BAR_STEPS;
    const float top = BAR_BOTTOM + BAR_RISE * q;
    const float v = BAR_V_BOTTOM - BAR_V_SPAN * q;
    const unsigned int first = BAR_QUAD * OverlayQuads::VERTICES_PER_QUAD;
    mVertices->setCurrentVertex(first + 2);
    mVertices->setVertex(BAR_RIGHT, top, BAR_Z);
    mVertices->setTexCoordinate(BAR_U_RIGHT, v, 0);
    mVertices->setCurrentVertex(first + 3);
    mVertices->setVertex(BAR_LEFT, top, BAR_Z);
    mVertices->setTexCoordinate(BAR_U_LEFT, v, 0);
    mVertices->setModified();
}

void SpeedGauge::setSpeedometer(float kilometresPerHour)
{
    float speed = kilometresPerHour > 0.0f ? std::min(kilometresPerHour, 999.9f) : 0.0f;
    const int whole = static_cast<int>(speed);
    const int tenth = std::min(9, static_cast<int>((speed - static_cast<float>(whole)) * 10.0f));
    const int digits[4] = {whole / 100, whole % 100 / 10, whole % 10, tenth};
    mSpeedDigits.show(digits);
}

void SpeedGauge::showBonus(int value)
{
    const int shown = std::clamp(value, 0, 9999);
    const int digits[4] = {shown / 1000, shown % 1000 / 100, shown % 100 / 10, shown % 10};
    mBonusDigits.show(digits);
}

} // namespace Ripplejet
