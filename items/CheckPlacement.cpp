// The progression check: can the game still be finished with the items where
// the current placement puts them?
#include <algorithm>
#include <array>
#include <map>
#include <optional>
#include <vector>

#include "app/VelmoraDlg.h"
#include "catalogue/AreaNeeds.h"

namespace velmora {
namespace {

/// The area of the slot that holds each item (the first such slot), found
/// once per check instead of once per requirement.
class PlacedAreas {
 public:
  explicit PlacedAreas(const GeneratorState& state) : state_(state) {
    const size_t slots = std::min(state.m_placement.size(), state.m_slotArea.size());
    for (size_t slot = state.m_placement.size(); slot-- > 0;) {
      const int item = state.m_placement[slot];
      if (item < 0 || item >= kItemCount) continue;
      // Walking back from the last slot, the first slot holding the item
      // is the last one written.
      placed_[static_cast<size_t>(item)] = slot < slots;
      area_[static_cast<size_t>(item)] = slot < slots ? state.m_slotArea[slot] : 0;
    }
  }

  /// The area, or nothing when no slot holds the item or the slot has no
  /// area. Requirement lists can name ids that lie in no slot (the lock
  /// tables' error marker -99).
  std::optional<int> Of(int item) const {
    if (item >= 0 && item < kItemCount) {
      const auto i = static_cast<size_t>(item);
      if (!placed_[i]) return std::nullopt;
      return area_[i];
    }
    const auto at = std::find(state_.m_placement.begin(), state_.m_placement.end(), item);
    if (at == state_.m_placement.end()) return std::nullopt;
    const auto slot = static_cast<size_t>(at - state_.m_placement.begin());
    if (slot >= state_.m_slotArea.size()) return std::nullopt;
    return state_.m_slotArea[slot];
  }

 private:
  const GeneratorState& state_;
  std::array<int, kItemCount> area_{};
  std::array<bool, kItemCount> placed_{};
};

bool Contains(const std::vector<int>& list, int value) {
  return std::find(list.begin(), list.end(), value) != list.end();
}

// The recursive search of one item's requirements, on the check's visiting
// list.
bool Reachable(const GeneratorState& state, const PlacedAreas& areas, std::vector<int>& visiting,
               int item) {
  const std::optional<int> area = areas.Of(item);
  if (!area) return false;

  // The check never changes the table, so it reads the lists in place.
  const AreaNeeds needs = NeedsOf(state.m_areaRequirements, *area);

  // The item stays on the visiting list while its requirements are
  // searched, so a requirement that leads back to it fails instead of
  // looping. A failed search leaves its entries there; a successful one
  // removes the last entry.
  visiting.push_back(item);

  for (int r : needs.all) {
    if (Contains(visiting, r)) return false;
    if (r != -1 && !Reachable(state, areas, visiting, r)) return false;
  }

  if (needs.alternatives.empty()) {
    visiting.pop_back();
    return true;
  }

  for (const std::span<const int> alternative : needs.alternatives) {
    bool passes = true;
    for (int r : alternative) {
      if (Contains(visiting, r) || (r != -1 && !Reachable(state, areas, visiting, r))) {
        passes = false;
        break;
      }
    }
    if (passes) {
      visiting.pop_back();
      return true;
    }
  }
  return false;
}

}  // namespace

void CVelmoraDlg::CheckPlacement() {
  const PlacedAreas areas(*this);
  for (int item = 0; item < kSlotCount; ++item) {
    const auto forbidden = m_itemForbiddenAreas.find(item);
    if (forbidden == m_itemForbiddenAreas.end()) continue;
    const std::optional<int> area = areas.Of(item);
    if (area && Contains(forbidden->second, *area)) return;
  }

  for (int item = 0; item < kSlotCount; ++item) {
    if (!Reachable(*this, areas, m_visiting, item)) {
      m_visiting.clear();
      return;
    }
  }

  m_placementValid = true;
}

bool CVelmoraDlg::IsItemReachable(int item) {
  return Reachable(*this, PlacedAreas(*this), m_visiting, item);
}

}  // namespace velmora
