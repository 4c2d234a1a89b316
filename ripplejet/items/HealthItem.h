#pragma once

#include "items/Item.h"

namespace Ripplejet {

/// A first-aid kit: carried, and when used gives 25 health at once.
class HealthItem : public Item {
public:
    static constexpr int HEALTH = 25;

    HealthItem();

    bool activate(Duck& duck, long long timestamp) override;
};

} // namespace Ripplejet
