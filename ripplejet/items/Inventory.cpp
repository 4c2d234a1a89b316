#include "items/Inventory.h"

namespace Ripplejet {

bool Inventory::add(Item& item)
{
    if (mCount == CAPACITY) {
        return false;
    }
    mItems[mCount++] = &item;
    return true;
}

bool Inventory::selectNext()
{
    if (mSelected >= mCount - 1) {
        return false;
    }
    ++mSelected;
    return true;
}

bool Inventory::selectPrevious()
{
    if (mSelected < 1) {
        return false;
    }
    --mSelected;
    return true;
}

Item* Inventory::takeSelected()
{
    if (!hasSelection()) {
        return nullptr;
    }
    Item* taken = mItems[mSelected];
    for (int i = mSelected; i + 1 < mCount; ++i) {
        mItems[i] = mItems[i + 1];
    }
    mItems[--mCount] = nullptr;
    if (mSelected >= mCount && mSelected > 0) {
        --mSelected;
    }
    return taken;
}

void Inventory::clear()
{
    mItems.fill(nullptr);
    mCount = 0;
    mSelected = 0;
}

} // namespace Ripplejet
