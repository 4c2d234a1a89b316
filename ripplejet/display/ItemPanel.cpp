#include "display/ItemPanel.h"

#include "display/OverlayImages.h"
#include "display/OverlayQuads.h"
#include "geometry/GeometryData.h"
#include "geometry/GeometryObject.h"
#include "geometry/VertexData.h"
#include "resource/Material.h"
#include "resource/Texture2D.h"
#include "resource/TextureProxy.h"
#include "scene/Branch.h"
#include "scene/TransformationNode.h"

#include <algorithm>
#include <cmath>

namespace Ripplejet {

namespace {

/// Where the panel is placed.
constexpr float PLACE_X = 0.75f;
constexpr float PLACE_Y = 1.0f;

const Velta::Color CLEAR(0.0f, 0.0f, 0.0f, 0.0f);

/// The strip's rows on the panel: v runs from −0.53 at the top edge to 1.65
/// at the bottom, so the icons sit in the mask's window.
constexpr float STRIP_V_TOP = -0.53f;
constexpr float STRIP_V_BOTTOM = 1.65f;
/// Closer than this (strip pixels) the strip has arrived.
constexpr float ARRIVED = 0.01f;

CppLib::SharedPtr<Velta::Texture2D> texture(const CppLib::SharedPtr<Velta::TextureSource>& image,
                                            Velta::Texture::TexMode mode = Velta::Texture::MODULATE)
{
    CppLib::SharedPtr<Velta::Texture2D> made(new Velta::Texture2D(image));
    made->setTexMode(mode);
    return made;
}

} // namespace

ItemPanel::ItemPanel()
    : mStrip(OverlayImages::editableCopy("empty.png", 256, 32)),
      mStripTexture(texture(mStrip)),
      mEmptyLabel(OverlayImages::editableCopy("empty.png", 256, 32)),
      mLabel(texture(mEmptyLabel))
{
    // Outside the strip, transparent.
    mStripTexture->setAllWrapModes(Velta::Texture::CLAMP_TO_BORDER);
    mStripTexture->setBorderColor(CLEAR);

    const OverlayQuads::Quad window = {-0.16f, 0.16f, -0.11f, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.625f};
    const CppLib::SharedPtr<Velta::TextureSource> panelImage = OverlayImages::load("overlays\\panel.png");
    mPanelObject = OverlayQuads::createObject("itempanel", OverlayQuads::create("itempanel", {window}, 1),
                                              {OverlayQuads::createMaterial({texture(panelImage)})});
    // The strip and the label are drawn over the panel, each by its own
    // alpha: the panel's opaque pixels stay opaque.
    mOpaqueArea = OverlayQuads::findOpaqueArea(window, *panelImage, PLACE_X, PLACE_Y);

    OverlayQuads::Quad strip = window;
    strip.z = 0.01f;
    const CppLib::SharedPtr<Velta::GeometryData> stripGeometry = OverlayQuads::create("itemstrip", {strip}, 3);
    mStripVertices = stripGeometry->getIndexedData(0);
    mStripObject = OverlayQuads::createObject(
        "itemstrip", stripGeometry,
        {OverlayQuads::createMaterial(
            {mStripTexture, texture(OverlayImages::load("overlays\\panelmask.png")),
             texture(OverlayImages::load("overlays\\item.png"), Velta::Texture::BLEND_BY_TEXTURE_ALPHA)})});

    mLabelObject = OverlayQuads::createObject(
        "itemlabel",
        OverlayQuads::create("itemlabel", {{-0.028f, 0.13f, -0.103f, -0.078f, 0.02f, 0.0f, 0.82f, 0.0f, 1.0f}}, 1),
        {OverlayQuads::createMaterial({mLabel})});

    mLayers = std::make_unique<Velta::Branch>("items");
    mLayers->attachChild(*mPanelObject);
    mLayers->attachChild(*mStripObject);
    mLayers->attachChild(*mLabelObject);
    mNode = std::make_unique<Velta::TransformationNode>("items");
    mNode->setChild(*mLayers);
    mNode->translate(PLACE_X, PLACE_Y, 0.0f, false);
}

ItemPanel::~ItemPanel() = default;

void ItemPanel::update(bool rebuild, const std::vector<CppLib::SharedPtr<Velta::TextureSource>>& icons, int selected,
                       const CppLib::SharedPtr<Velta::TextureSource>& label)
{
    if (rebuild) {
        buildStrip(icons);
    }
    const CppLib::SharedPtr<Velta::TextureSource>& shown = selected >= 0 && !label.isNull() ? label : mEmptyLabel;
    if (mLabel->getTextureSource(0, 0).get() != shown.get()) {
        mLabel->setTextureSource(shown);
    }
}

void ItemPanel::buildStrip(const std::vector<CppLib::SharedPtr<Velta::TextureSource>>& icons)
{
    CppLib::SharedPtr<Velta::TextureProxy> strip(new Velta::TextureProxy(STRIP_WIDTH, STRIP_HEIGHT, CLEAR));
    for (std::size_t i = 0; i < icons.size(); ++i) {
        const unsigned long long x = ICON_LEFT + ICON_SPACING * static_cast<unsigned long long>(i);
        if (x >= STRIP_WIDTH) {
            break;
        }
        strip->copyRect(OverlayImages::asRgba(icons[i]), static_cast<unsigned int>(x), 0, 0, 0, 0, 0, ICON_WIDTH,
                        ICON_HEIGHT, 1);
    }
    mStrip = strip;
    mStripTexture->setTextureSource(mStrip);
    mScrollPending = true;
}

void ItemPanel::scroll(long long timestamp, int selected)
{
    const float target = static_cast<float>(selected) * static_cast<float>(ICON_SPACING);
    const long long elapsed = timestamp - mLastScroll;
    mLastScroll = timestamp;
    if (mScroll == target && !mScrollPending) {
        return;
    }
    mScrollPending = false;
    const float k = std::clamp(static_cast<float>(elapsed) / 300.0f + 0.03f, 0.0f, 1.0f);
    mScroll += (target - mScroll) * k;
    if (std::fabs(target - mScroll) < ARRIVED) {
        mScroll = target;
    }
    const float width = static_cast<float>(std::max(1u, mStrip->getTextureInfo().getWidth()));
    const float u = (mScroll - SELECTED_AT) / width;
    OverlayQuads::setTexCoordinates(*mStripVertices, 0, 0, u, u + WINDOW_WIDTH / width, STRIP_V_TOP,
                                    STRIP_V_BOTTOM);
    mStripVertices->setModified();
}

} // namespace Ripplejet
