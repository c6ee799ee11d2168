#include "items/Spheres.h"

#include <set>

#include "catalogue/AreaNeeds.h"

namespace velmora {

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
      if (!AreaOpen(requirements, slot_area[slot],
                    [&collected](int id) { return collected.contains(id); }))
        continue;
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
