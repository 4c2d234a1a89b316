#include "display/TimePanel.h"

#include "display/GlyphSheet.h"
#include "display/OverlayImages.h"
#include "display/OverlayQuads.h"
#include "geometry/GeometryData.h"
#include "geometry/GeometryObject.h"
#include "resource/Material.h"
#include "resource/Texture2D.h"
#include "resource/TextureProxy.h"
#include "scene/TransformationNode.h"

#include <algorithm>

namespace Ripplejet {

namespace {

constexpr int STYLE_TIME = 1;
constexpr int STYLE_STATUS = 3;
constexpr int TIME_Y = 39;
constexpr int STATUS_Y = 118;
constexpr int DECIMAL_POINT = 10;
constexpr int COLON = 11;

/// Shown seconds wrap after ten hours: there is one hour digit.
constexpr long long SECONDS_SHOWN = 36000;

void digitsOf(int value, int* digits)
{
    const int shown = std::clamp(value, 0, 999);
    digits[0] = shown / 100;
    digits[1] = shown % 100 / 10;
    digits[2] = shown % 10;
}

} // namespace

TimePanel::TimePanel(const GlyphSheet& glyphs)
    : mText(OverlayImages::editableCopy("overlays\\time.png", 512, 256)),
      mTimeDigits(glyphs, *mText, STYLE_TIME, TIME_Y, {120, 168, 208, 256, 296, 344, 384}),
      mHealthDigits(glyphs, *mText, STYLE_STATUS, STATUS_Y, {170, 184, 198}),
      mOxygenDigits(glyphs, *mText, STYLE_STATUS, STATUS_Y, {390, 404, 418})
{
    // The time/status image goes over the bare panel by its own alpha.
    CppLib::SharedPtr<Velta::Texture2D> panel(new Velta::Texture2D(OverlayImages::load("overlays\\panel.png")));
    CppLib::SharedPtr<Velta::Texture2D> text(new Velta::Texture2D(mText));
    text->setTexMode(Velta::Texture::BLEND_BY_TEXTURE_ALPHA);
    mObject = OverlayQuads::createObject(
        "time", OverlayQuads::create("time", {{-0.16f, 0.16f, -0.11f, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.625f}}, 2),
        {OverlayQuads::createMaterial({panel, text})});
    mNode = std::make_unique<Velta::TransformationNode>("time");
    mNode->setChild(*mObject);
    mNode->translate(0.25f, 1.0f, 0.0f, false);

    // The separators first: each following digit's cell overlaps the last
    // three columns of the separator's, and later digits are drawn over it.
    glyphs.draw(*mText, STYLE_TIME, COLON, 160, TIME_Y);
    glyphs.draw(*mText, STYLE_TIME, COLON, 248, TIME_Y);
    glyphs.draw(*mText, STYLE_TIME, DECIMAL_POINT, 336, TIME_Y);
}

TimePanel::~TimePanel() = default;

void TimePanel::showTime(long long milliseconds)
{
    const long long ms = std::max(0LL, milliseconds);
    const int s = static_cast<int>(ms / 1000 % SECONDS_SHOWN);
    const int c = static_cast<int>(ms % 1000);
    const int digits[7] = {s / 3600, s % 3600 / 600, s % 600 / 60, s % 60 / 10, s % 10, c / 100, c % 100 / 10};
    mTimeDigits.show(digits);
}

void TimePanel::showHealth(int value)
{
    int digits[3];
    digitsOf(value, digits);
    mHealthDigits.show(digits);
}

void TimePanel::showOxygen(int value)
{
    int digits[3];
    digitsOf(value, digits);
    mOxygenDigits.show(digits);
}

} // namespace Ripplejet
