#pragma once

#include "items/Item.h"

namespace Ripplejet {

/// A banana: eaten the moment it is touched, for 5 bonus points.
class BonusItem : public Item {
public:
    static constexpr int POINTS = 5;

    BonusItem();

    bool isUsedOnContact() const override { return true; }
    bool activate(Duck& duck, long long timestamp) override;
    std::string getParticleSprite(float& size) const override;
};

} // namespace Ripplejet
