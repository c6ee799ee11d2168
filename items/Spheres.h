// The spheres of a placement: which items a player can collect, round by
// round, starting with nothing.
//
// This is a plain fixed-point search over the same tables as the progression
// check, and deliberately a different algorithm: it needs no recursion and no
// visiting list, so it serves as an independent judge of a placement (the
// verifier, the spoiler, and tests of the check).
#pragma once

#include <vector>

#include "app/GeneratorState.h"

namespace velmora {

struct Spheres {
  /// Round k holds the item ids first collected in round k, ascending and
  /// without repeats. Round 0 holds the items of the areas that need nothing.
  /// Empty rounds never occur: the search stops at the first one.
  std::vector<std::vector<int>> rounds;
  /// True when the area of every slot of the placement was entered, so that
  /// every slot's item was collected.
  bool all_collected = false;
};

/// Collects, in rounds, every item whose slot lies in an area that the items
/// collected in earlier rounds open, until a round adds nothing.
///
/// `placement[s]` is the item at slot s and `slot_area[s]` the area of slot
/// s; a slot missing from `slot_area` is never entered. An area is open when
/// every entry of its index-0 list is met and, if it has alternatives
/// (indices 1, 2, ... up to the first missing or empty list), every entry of
/// one of them is met. An area without entries needs nothing. The entry -1 is
/// always met; any other entry is met once that id has been collected, so an
/// id that no slot holds (such as the -99 marker) is never met.
Spheres CollectSpheres(const std::vector<int>& placement, const std::vector<int>& slot_area,
                       const AreaRequirements& requirements);

}  // namespace velmora
