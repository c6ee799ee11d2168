// The progression check: can the game still be finished with the items where
// the current placement puts them?
#include <algorithm>
#include <optional>
#include <vector>

#include "app/VelmoraDlg.h"

namespace velmora {
namespace {

/// The area of the slot that holds `item` (the first such slot), or nothing
/// when no slot holds it or the slot has no area. Requirement lists can name
/// ids that lie in no slot (the lock tables' error marker -99).
std::optional<int> AreaOfItem(const GeneratorState& state, int item) {
  const auto at = std::find(state.m_placement.begin(), state.m_placement.end(), item);
  if (at == state.m_placement.end()) return std::nullopt;
  const auto slot = static_cast<size_t>(at - state.m_placement.begin());
  if (slot >= state.m_slotArea.size()) return std::nullopt;
  return state.m_slotArea[slot];
}

bool Contains(const std::vector<int>& list, int value) {
  return std::find(list.begin(), list.end(), value) != list.end();
}

}  // namespace

void CVelmoraDlg::CheckPlacement() {
  for (int item = 0; item < kSlotCount; ++item) {
    const auto forbidden = m_itemForbiddenAreas.find(item);
    if (forbidden == m_itemForbiddenAreas.end()) continue;
    const std::optional<int> area = AreaOfItem(*this, item);
    if (area && Contains(forbidden->second, *area)) return;
  }

  for (int item = 0; item < kSlotCount; ++item) {
    if (!IsItemReachable(item)) {
      m_visiting.clear();
      return;
    }
  }

  m_placementValid = true;
}

bool CVelmoraDlg::IsItemReachable(int item) {
  const std::optional<int> area = AreaOfItem(*this, item);
  if (!area) return false;

  // Index 0: the items that are all needed. Indices 1, 2, ...: alternative
  // sets, up to the first missing or empty one. The check never changes the
  // table, so it reads the lists in place.
  static const std::vector<int> kNothing;
  const std::vector<int>* required = &kNothing;
  std::vector<const std::vector<int>*> alternatives;
  if (const auto by_index = m_areaRequirements.find(*area);
      by_index != m_areaRequirements.end()) {
    if (const auto list = by_index->second.find(0); list != by_index->second.end())
      required = &list->second;
    for (int k = 1;; ++k) {
      const auto list = by_index->second.find(k);
      if (list == by_index->second.end() || list->second.empty()) break;
      alternatives.push_back(&list->second);
    }
  }

  // The item stays on m_visiting while its requirements are searched, so a
  // requirement that leads back to it fails instead of looping. A failed
  // search leaves its entries there; a successful one removes the last entry.
  m_visiting.push_back(item);

  for (int r : *required) {
    if (Contains(m_visiting, r)) return false;
    if (r != -1 && !IsItemReachable(r)) return false;
  }

  if (alternatives.empty()) {
    m_visiting.pop_back();
    return true;
  }

  for (const std::vector<int>* alternative : alternatives) {
    bool passes = true;
    for (int r : *alternative) {
      if (Contains(m_visiting, r) || (r != -1 && !IsItemReachable(r))) {
        passes = false;
        break;
      }
    }
    if (passes) {
      m_visiting.pop_back();
      return true;
    }
  }
  return false;
}

}  // namespace velmora
