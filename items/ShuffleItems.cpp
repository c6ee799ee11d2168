// One deal of the item randomizer: the 185 items over the 185 slots, with
// the pinned slots returned to their own items.
#include "items/ItemLoop.h"

#include <algorithm>
#include <vector>

#include "app/ControlIds.h"
#include "app/VelmoraDlg.h"
#include "items/Pins.h"

namespace velmora {

void CVelmoraDlg::ShuffleItems() {
  m_placement.clear();
  std::vector<int> pool;
  for (int item = 0; item < kSlotCount; ++item) pool.push_back(item);
  while (!pool.empty()) {
    const int index = m_random.Draw(static_cast<int>(pool.size()));
    m_placement.push_back(pool[index]);
    pool.erase(pool.begin() + index);
  }

  for (int slot : kAlwaysPinnedSlots) PinSlot(slot);
  if (IsChecked(kIdHard)) PinHardModeSlots();
  if (IsChecked(kIdChris)) {
    if (IsChecked(kIdHard))
      for (int slot : kChrisHardPinnedSlots) PinSlot(slot);
  } else {
    for (int slot : kJillPinnedSlots) PinSlot(slot);
    if (!IsChecked(kIdHard)) PinSlot(kJillNormalPinnedSlot);
  }
}

void CVelmoraDlg::PinHardModeSlots() {
  for (int slot : kHardPinnedSlots) PinSlot(slot);
}

void CVelmoraDlg::PinSlot(int slot) {
  // The item that lies at the slot moves to where the slot's own item was.
  const auto home = std::find(m_placement.begin(), m_placement.end(), slot);
  if (home == m_placement.end() || slot < 0 || slot >= static_cast<int>(m_placement.size()))
    return;
  *home = m_placement[slot];
  m_placement[slot] = slot;
}

}  // namespace velmora
