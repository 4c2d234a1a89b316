#pragma once

#include "items/Item.h"

namespace Ripplejet {

/// A bottle of air: carried, and when used gives 5 oxygen a second until 50
/// are given (about ten seconds), breathing all the while, then shrinks away.
class OxygenItem : public Item {
public:
    static constexpr int SUPPLY = 50;
    static constexpr int PER_TICK = 5;
    static constexpr long long TICK = 1000;

    OxygenItem();

    bool hasLastingEffect() const override { return true; }
    bool activate(Duck& duck, long long timestamp) override;
    bool update(Duck& duck, long long timestamp) override;
    bool deactivate(Duck& duck, long long timestamp) override;

    /// Oxygen still to give.
    int getRemaining() const { return mRemaining; }

private:
    int mRemaining = SUPPLY;
    long long mLastTick = 0;
};

} // namespace Ripplejet
