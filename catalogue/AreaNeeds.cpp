#include "catalogue/AreaNeeds.h"

namespace velmora {

AreaNeeds NeedsOf(const AreaRequirements& requirements, int area) {
  AreaNeeds needs;
  const auto entry = requirements.find(area);
  if (entry == requirements.end()) return needs;
  const std::map<int, std::vector<int>>& lists = entry->second;
  if (const auto all = lists.find(0); all != lists.end()) needs.all = all->second;
  for (int k = 1;; ++k) {
    const auto alternative = lists.find(k);
    if (alternative == lists.end() || alternative->second.empty()) break;
    needs.alternatives.emplace_back(alternative->second);
  }
  return needs;
}

}  // namespace velmora
