#pragma once

#include <array>

namespace Ripplejet {

class Item;

/// The items a duck carries, in the order picked up, and which of them is
/// selected for use. Holds at most CAPACITY; borrows the items (the level
/// owns them). Changing it allocates nothing.
class Inventory {
public:
    static constexpr int CAPACITY = 10;

    /// Appends `item`; false when the inventory is full.
    bool add(Item& item);

    /// Moves the selection one on or back; false, changing nothing, at
    /// either end.
    bool selectNext();
    bool selectPrevious();

    /// Takes the selected item out, or null when nothing is selected. The
    /// selection then stays on the same place, or moves back by one when it
    /// was the last.
    Item* takeSelected();

    int getCount() const { return mCount; }
    /// The selected index; meaningful while the inventory is not empty.
    int getSelected() const { return mSelected; }
    bool hasSelection() const { return mSelected >= 0 && mSelected < mCount; }
    Item* getSelectedItem() const { return hasSelection() ? mItems[mSelected] : nullptr; }
    Item* get(int index) const { return index >= 0 && index < mCount ? mItems[index] : nullptr; }

    /// Empties it; the selection goes back to the first place.
    void clear();

private:
    std::array<Item*, CAPACITY> mItems{};
    int mCount = 0;
    int mSelected = 0;
};

} // namespace Ripplejet
