// The item randomizer: deals the 185 items over the 185 slots, returns the
// pinned slots to their own items, and repeats the deal until the
// progression check passes.
#include "items/ShuffleItems.h"

#include <algorithm>
#include <string>
#include <vector>

#include "app/ControlIds.h"
#include "app/VelmoraDlg.h"
#include "items/Pins.h"

namespace velmora {

void CVelmoraDlg::RandomizeItems() {
  m_itemAttempts = 0;
  if (IsChecked(kIdDoors)) {
    AppendStatus("Doing custom item rando for door rando mode . . .");
    PlaceItemsForDoorMode();
    AppendStatus("done!\n");
    return;
  }

  AppendStatus("Randomizing Items. . .");
  uint64_t attempts = 0;
  uint64_t attempts_since_last_dot = 0;
  while (!m_placementValid) {
    // A bound is set only when a lock deal is tried out; the generation
    // itself loops until a deal passes.
    if (m_itemAttemptLimit != 0 && attempts >= m_itemAttemptLimit) break;
    if (ProgressDotDue(attempts_since_last_dot)) {
      AppendStatus(" .");
      attempts_since_last_dot = 0;
    }
    ShuffleItems();
    CheckPlacement();
    ++attempts;
    ++attempts_since_last_dot;
    m_itemAttempts = attempts;
  }
  if (!m_placementValid) return;
  AppendStatus("done after " + std::to_string(attempts) + " attempts!\n");
}

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
