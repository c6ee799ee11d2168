// Whether a well-formed item list makes sense as a seed: the enemy kinds, the
// door map, the lock deal and the item placement, judged with the game's
// tables for the character and difficulty the file is for.
#pragma once

#include <optional>

#include "catalogue/Selection.h"
#include "verify/ItemListReader.h"

namespace velmora {

/// How the item section was made, as far as the file shows it.
enum class PlacementKind {
  kKept,      ///< every slot holds its own item, or what a pool modifier made of it
  kShuffled,  ///< a permutation of the items (modifiers aside), without door values
  kDoorMode,  ///< the placement of a seed with door values
};

struct SeedSense {
  /// The first problem found, or nothing when the seed is sound.
  std::optional<ItemListProblem> problem;
  PlacementKind placement = PlacementKind::kKept;
  /// With a shuffled placement: the rounds of the fixed-point search.
  int spheres = 0;
};

/// Checks `list` in this order, stopping at the first problem: the option
/// combination (door values neither with Hard nor with a lock section); the
/// enemy kinds against the kinds each position allows; the door values (fixed
/// doors, doors of rooms never rewired, every rewired connection two-way,
/// every placed room reachable from "Main Hall"); the lock deal (the lock
/// types of the game's deal, reversed only where a door can be turned, the
/// lock rules, every pinned item reachable); and the items: door-mode items
/// only in door seeds, each item in one slot, pinned slots, forbidden areas,
/// and, for a shuffled placement, that every item an area with slots needs
/// can be collected (the armed capsule 185 counting as 178).
SeedSense CheckSeedSense(const ItemListContents& list, Character character, Difficulty difficulty);

}  // namespace velmora
