#include "display/Hud.h"

#include "display/ItemPanel.h"
#include "display/SpeedGauge.h"
#include "display/TimePanel.h"
#include "scene/Branch.h"
#include "scene/TransformationNode.h"

namespace Ripplejet {

Hud::Hud()
    : mBranch(std::make_unique<Velta::Branch>("hud")),
      mSpeed(std::make_unique<SpeedGauge>(mGlyphs)),
      mTime(std::make_unique<TimePanel>(mGlyphs)),
      mItems(std::make_unique<ItemPanel>())
{
}

// The groups leave the branch as they go.
Hud::~Hud() = default;

Velta::Branch& Hud::build(int health, int oxygen)
{
    if (mBuilt) {
        return *mBranch;
    }
    mBuilt = true;
    mBranch->attachChild(mSpeed->getNode());
    mBranch->attachChild(mTime->getNode());
    mBranch->attachChild(mItems->getNode());
    mSpeed->showBonus(0);
    mSpeed->setSpeedometer(0.0f);
    mSpeed->setSpeedBar(0.0f);
    mTime->showTime(0);
    mTime->showHealth(health);
    mTime->showOxygen(oxygen);
    return *mBranch;
}

void Hud::showTime(long long milliseconds)
{
    mTime->showTime(milliseconds);
}

void Hud::showHealth(int value)
{
    mTime->showHealth(value);
}

void Hud::showOxygen(int value)
{
    mTime->showOxygen(value);
}

void Hud::showBonus(int value)
{
    mSpeed->showBonus(value);
}

void Hud::setSpeedBar(float fraction)
{
    mSpeed->setSpeedBar(fraction);
}

void Hud::setSpeedometer(float kilometresPerHour)
{
    mSpeed->setSpeedometer(kilometresPerHour);
}

void Hud::updateItemDisplay(bool rebuild, const std::vector<CppLib::SharedPtr<Velta::TextureSource>>& icons,
                            int selected, const CppLib::SharedPtr<Velta::TextureSource>& label)
{
    mItems->update(rebuild, icons, selected, label);
}

void Hud::scrollItemStrip(long long timestamp, int selected)
{
    mItems->scroll(timestamp, selected);
}

std::vector<Velta::Overlay::Area> Hud::getOpaqueAreas() const
{
    std::vector<Velta::Overlay::Area> areas;
    for (const std::optional<Velta::Overlay::Area>& area : {mSpeed->getOpaqueArea(), mItems->getOpaqueArea()}) {
        if (area) {
            areas.push_back(*area);
        }
    }
    return areas;
}

bool Hud::drawGlyph(Velta::TextureProxy& target, int style, int glyph, int x, int y)
{
    return mGlyphs.draw(target, style, glyph, x, y);
}

} // namespace Ripplejet
