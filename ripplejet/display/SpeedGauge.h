#pragma once

#include "cpplib/SharedPtr.h"
#include "display/GlyphRow.h"
#include "scene/Overlay.h"

#include <memory>
#include <optional>

namespace Velta {
class GeometryObject;
class TextureProxy;
class TransformationNode;
class VertexData;
} // namespace Velta

namespace Ripplejet {

class GlyphSheet;

/// The display's speed group at the left edge of the screen: the gauge
/// ("overlays\tacho.png"), the speed bar ("overlays\speedbar.png") that
/// grows in 22 steps, and the speed text image (a copy of
/// "overlays\tachotext.png") with the speedometer (km/h, one decimal) and
/// the bonus counter written into it.
///
/// Owns its nodes, geometry and images; borrows the glyph sheet, which must
/// outlive it. Starts with the decimal point drawn and nothing else.
class SpeedGauge {
public:
    /// Steps of the speed bar.
    static constexpr int BAR_STEPS = 22;

    explicit SpeedGauge(const GlyphSheet& glyphs);
    ~SpeedGauge();

    SpeedGauge(const SpeedGauge&) = delete;
    SpeedGauge& operator=(const SpeedGauge&) = delete;

    /// The group, placed by translate(0, 0.3, 0).
    Velta::TransformationNode& getNode() { return *mNode; }

    /// The bar at `fraction` of its length (clamped to 0 … 1, NaN as 0),
    /// rounded down to a step. Changes the geometry only when the step does.
    void setSpeedBar(float fraction);
    /// The step shown, 0 … 22; −1 before the first setSpeedBar().
    int getBarStep() const { return mBarStep; }

    /// Three digits and one decimal of the speed; shown clamped to
    /// 0 … 999.9 (NaN as 0), the decimal cut off, not rounded.
    void setSpeedometer(float kilometresPerHour);

    /// Four digits; shown clamped to 0 … 9999.
    void showBonus(int value);

    /// The speed text image the digits are written into.
    Velta::TextureProxy& getText() { return *mText; }
    /// The group's vertices: 4 for the gauge, 4 for the speed text, 4 for
    /// the bar (its top edge is vertices 10 and 11).
    Velta::VertexData& getVertices() { return *mVertices; }

    /// Where the gauge hides what lies behind it, placed; none when its image
    /// is missing.
    const std::optional<Velta::Overlay::Area>& getOpaqueArea() const { return mOpaqueArea; }

private:
    CppLib::SharedPtr<Velta::TextureProxy> mText;
    CppLib::SharedPtr<Velta::VertexData> mVertices;
    std::unique_ptr<Velta::GeometryObject> mObject;
    std::unique_ptr<Velta::TransformationNode> mNode;
    GlyphRow mSpeedDigits;
    GlyphRow mBonusDigits;
    int mBarStep = -1;
    std::optional<Velta::Overlay::Area> mOpaqueArea;
};

} // namespace Ripplejet
