// How a requirement table is read: what one area needs, and whether a set of
// items opens it. Every reader of the table goes through here, so the rule is
// written once.
#pragma once

#include <algorithm>
#include <span>
#include <vector>

#include "app/GeneratorState.h"

namespace velmora {

/// The entry that stands for no item: it is always met.
inline constexpr int kNoItemNeeded = -1;

/// What an area needs: every item of `all` (the index-0 list, empty when the
/// area has none) and, when there are alternatives, every item of one of
/// them. The alternatives are the lists at indices 1, 2, ... up to the first
/// missing or empty one; later lists are never read.
struct AreaNeeds {
  std::span<const int> all;
  std::vector<std::span<const int>> alternatives;
};

/// The needs of `area`; an area without an entry needs nothing. The spans
/// point into `requirements`, which must outlive them.
AreaNeeds NeedsOf(const AreaRequirements& requirements, int area);

/// Whether `needs` are met when `has(id)` tells whether item `id` is held.
/// `has` is never asked about the no-item entry.
template <typename Has>
bool NeedsMet(const AreaNeeds& needs, Has has) {
  auto met = [&has](std::span<const int> items) {
    return std::all_of(items.begin(), items.end(),
                       [&has](int id) { return id == kNoItemNeeded || has(id); });
  };
  if (!met(needs.all)) return false;
  return needs.alternatives.empty() ||
         std::any_of(needs.alternatives.begin(), needs.alternatives.end(), met);
}

/// Whether `area` is open to a player holding the items `has` accepts.
template <typename Has>
bool AreaOpen(const AreaRequirements& requirements, int area, Has has) {
  return NeedsMet(NeedsOf(requirements, area), has);
}

}  // namespace velmora
