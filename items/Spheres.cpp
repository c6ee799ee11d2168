#include "items/Spheres.h"

#include <algorithm>
#include <set>

namespace velmora {
namespace {

constexpr int kNoItem = -1;

bool AllMet(const std::vector<int>& items, const std::set<int>& collected) {
  return std::all_of(items.begin(), items.end(),
                     [&collected](int id) { return id == kNoItem || collected.contains(id); });
}

bool AreaOpen(int area, const AreaRequirements& requirements, const std::set<int>& collected) {
  const auto entry = requirements.find(area);
  if (entry == requirements.end()) return true;
  const std::map<int, std::vector<int>>& lists = entry->second;
  if (const auto required = lists.find(0);
      required != lists.end() && !AllMet(required->second, collected))
    return false;
  bool has_alternatives = false;
  for (int k = 1;; ++k) {
    const auto alternative = lists.find(k);
    if (alternative == lists.end() || alternative->second.empty()) break;
    has_alternatives = true;
    if (AllMet(alternative->second, collected)) return true;
  }
  return !has_alternatives;
}

}  // namespace

Spheres CollectSpheres(const std::vector<int>& placement, const std::vector<int>& slot_area,
                       const AreaRequirements& requirements) {
  Spheres result;
  std::set<int> collected;
  std::vector<bool> entered(placement.size(), false);
  size_t entered_count = 0;

  for (;;) {
    // A round judges every area by what earlier rounds collected, so items
    // found in this round open nothing before the next one.
    std::set<int> found;
    for (size_t slot = 0; slot < placement.size(); ++slot) {
      if (entered[slot] || slot >= slot_area.size()) continue;
      if (!AreaOpen(slot_area[slot], requirements, collected)) continue;
      entered[slot] = true;
      ++entered_count;
      if (!collected.contains(placement[slot])) found.insert(placement[slot]);
    }
    if (found.empty()) break;
    collected.insert(found.begin(), found.end());
    result.rounds.emplace_back(found.begin(), found.end());
  }
  result.all_collected = entered_count == placement.size();
  return result;
}

}  // namespace velmora
