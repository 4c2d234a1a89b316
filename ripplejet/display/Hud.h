#pragma once

#include "cpplib/SharedPtr.h"
#include "display/GlyphSheet.h"
#include "scene/Overlay.h"

#include <memory>
#include <vector>

namespace Velta {
class Branch;
class TextureProxy;
class TextureSource;
} // namespace Velta

namespace Ripplejet {

class ItemPanel;
class SpeedGauge;
class TimePanel;

/// The player's head-up display: speed (bar and speedometer) and bonus at
/// the left, the race time with health and oxygen at the top, the carried
/// items at the top right. Numbers are glyphs copied from the character map
/// into the display's images, and a new value rewrites only the glyphs that
/// changed; the renderer then uploads only those rectangles.
///
/// Owned by the player's duck, which forwards its display calls here. Owns
/// every node, geometry, material and image it made; build() hands out the
/// branch to attach to the camera's overlay (drawn with flat shading and
/// without lights). Needs a set-up engine core while it lives. Updates
/// other than a rebuild of the item strip allocate nothing.
///
/// A missing image (reported once by the texture manager) leaves its place
/// empty: without the character map no digits show, without a backing
/// image the digits show on transparent ground.
class Hud {
public:
    /// Loads the character map and the images and builds the three groups.
    Hud();
    ~Hud();

    Hud(const Hud&) = delete;
    Hud& operator=(const Hud&) = delete;

    /// The branch with the speed group, the time panel and the item panel,
    /// built on the first call (later calls answer the same branch). Starts
    /// at time 0, bonus 0, speedometer 0, bar 0 and the given health and
    /// oxygen.
    Velta::Branch& build(int health, int oxygen);

    /// H:MM:SS.hh in style 1 on the time/status image.
    void showTime(long long milliseconds);
    /// 0 … 100 (shown clamped to three digits).
    void showHealth(int value);
    void showOxygen(int value);
    void showBonus(int value);
    /// The fraction of the bar, clamped, in 22 steps.
    void setSpeedBar(float fraction);
    void setSpeedometer(float kilometresPerHour);

    /// The carried items changed (`rebuild`: the strip is redrawn from
    /// `icons`, in inventory order) or only the selection did; `selected` is
    /// the selected index or −1 for none; `label` is the selected item's
    /// label image, empty for none (then "empty.png" shows).
    void updateItemDisplay(bool rebuild, const std::vector<CppLib::SharedPtr<Velta::TextureSource>>& icons,
                           int selected, const CppLib::SharedPtr<Velta::TextureSource>& label);

    /// Called every duck update with the frame's timestamp: glides the strip
    /// toward the selected icon.
    void scrollItemStrip(long long timestamp, int selected);

    /// Copies glyph `glyph` (0 … 9 digits, 10 the decimal point, 11 the
    /// colon) of style 1 … 4 to (x, y) of `target`; false when nothing was
    /// drawn.
    bool drawGlyph(Velta::TextureProxy& target, int style, int glyph, int x, int y);

    /// Where the display hides the scene behind it whatever it shows: the
    /// speed gauge and the item panel. The time panel is left out: its
    /// digits are mixed into it in one pass that lets their soft edges show
    /// a little of what lies behind.
    std::vector<Velta::Overlay::Area> getOpaqueAreas() const;

    /// Null before build().
    Velta::Branch* getBranch() const { return mBuilt ? mBranch.get() : nullptr; }
    const GlyphSheet& getGlyphs() const { return mGlyphs; }
    SpeedGauge& getSpeedGauge() { return *mSpeed; }
    TimePanel& getTimePanel() { return *mTime; }
    ItemPanel& getItemPanel() { return *mItems; }

private:
    GlyphSheet mGlyphs;
    std::unique_ptr<Velta::Branch> mBranch;
    std::unique_ptr<SpeedGauge> mSpeed;
    std::unique_ptr<TimePanel> mTime;
    std::unique_ptr<ItemPanel> mItems;
    bool mBuilt = false;
};

} // namespace Ripplejet
