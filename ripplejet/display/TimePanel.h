#pragma once

#include "cpplib/SharedPtr.h"
#include "display/GlyphRow.h"

#include <memory>

namespace Velta {
class GeometryObject;
class TextureProxy;
class TransformationNode;
} // namespace Velta

namespace Ripplejet {

class GlyphSheet;

/// The display's time panel at the top of the screen: the race time as
/// H:MM:SS.hh and health and oxygen below it, written into the time/status
/// image (a copy of "overlays\time.png"), shown over "overlays\panel.png".
///
/// Owns its nodes, geometry and images; borrows the glyph sheet, which must
/// outlive it. Starts with the time's separators drawn and no digits.
class TimePanel {
public:
    explicit TimePanel(const GlyphSheet& glyphs);
    ~TimePanel();

    TimePanel(const TimePanel&) = delete;
    TimePanel& operator=(const TimePanel&) = delete;

    /// The panel, placed by translate(0.25, 1, 0).
    Velta::TransformationNode& getNode() { return *mNode; }

    /// The time in milliseconds as H:MM:SS.hh (hours modulo 10; a negative
    /// time shows as 0).
    void showTime(long long milliseconds);
    /// Three digits each; shown clamped to 0 … 999.
    void showHealth(int value);
    void showOxygen(int value);

    /// The time/status image the digits are written into.
    Velta::TextureProxy& getText() { return *mText; }

private:
    CppLib::SharedPtr<Velta::TextureProxy> mText;
    std::unique_ptr<Velta::GeometryObject> mObject;
    std::unique_ptr<Velta::TransformationNode> mNode;
    GlyphRow mTimeDigits;
    GlyphRow mHealthDigits;
    GlyphRow mOxygenDigits;
};

} // namespace Ripplejet
