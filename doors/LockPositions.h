// The 38 lockable doors ("lock positions"): the label the cheat sheet prints
// for each and the lock type each has in the unshuffled game.
#pragma once

#include <array>
#include <string_view>

namespace velmora {

inline constexpr int kLockPositionCount = 38;

struct LockPositionRow {
  std::string_view label;  ///< printed right before the lock type's name
  int unshuffled_type;
};

/// Indexed by lock position.
inline constexpr std::array<LockPositionRow, kLockPositionCount> kLockPositions = {{
    {"West Wing Inner Stairway -> Small Storeroom : ", 5},
    {"West Wing Inner Stairway -> Northern Corridor / Tea Room : ", 0},
    {"West Wing Inner Stairway -> Dining Room 2F : ", 14},
    {"West Wing Inner Stairway -> Outside Balcony : ", 5},
    {"West Wing Inner Stairway -> Mirror Corridor : ", 6},
    {"West Wing Inner Stairway -> Trophy Room : ", 4},
    {"Tea Room -> Northern Corridor : ", 6},
    {"Tea room -> Bar : ", 0},
    {"Tea room -> Kitchen : ", 14},
    {"Northern Corridor -> Researcher's Bedroom : ", 15},
    {"Main Hall -> C Corridor : ", 14},
    {"Main Hall -> Outside Patio : ", 0},
    {"Main Hall -> Large Art Room : ", 4},
    {"Main Hall -> Outside Balcony : ", 6},
    {"Art Room -> L Corridor : ", 14},
    {"Winding Corridor -> Dark Corridor : ", 15},
    {"Winding Corridor -> Outside Boiler : ", 5},
    {"Dark Corridor -> Large Gallery : ", 0},
    {"Dark Corridor -> Courtyard Study : ", 2},
    {"Graveyard / Crypt -> Large Gallery : ", 8},
    {"Dining Room 2F -> Mirror Corridor : ", 6},
    {"C Corridor -> Pillar Room : ", 0},
    {"C Corridor -> East Wing Stairway : ", 6},
    {"C Corridor -> Armor Room : ", 0},
    {"East Wing Stairway -> Deer Room : ", 0},
    {"Deer Room -> Fish Tank Room : ", 5},
    {"Elevator Corridor -> Mirror Corridor : ", 6},
    {"Death Passage -> Library: ", 4},
    {"Resting Room -> Sliding Trap Room / Secret Passage : ", 4},
    {"Attic Entry -> Attic : ", 13},
    {"Concrete Passage 2 -> Kitchen : ", 6},
    {"Entry Corridor -> Room 001 : ", 11},
    {"Central Corridor -> Gallery : ", 3},
    {"Central Corridor -> Room 002 : ", 15},
    {"Gallery -> Room 003 : ", 12},
    {"Aqua Ring Walkway -> Control Room : ", 1},
    {"O Room -> Elevator Entry : ", 10},
    {"O Room -> Morgue : ", 10},
}};

/// The label of each lock position, indexed by position.
inline constexpr std::array<std::string_view, kLockPositionCount> kLockPositionLabels = [] {
  std::array<std::string_view, kLockPositionCount> labels{};
  for (int p = 0; p < kLockPositionCount; ++p) labels[p] = kLockPositions[p].label;
  return labels;
}();

/// The unshuffled deal: the lock type of each position in the game as shipped.
inline constexpr std::array<int, kLockPositionCount> kUnshuffledLockTypes = [] {
  std::array<int, kLockPositionCount> types{};
  for (int p = 0; p < kLockPositionCount; ++p) types[p] = kLockPositions[p].unshuffled_type;
  return types;
}();

/// The only positions whose one-way door (6) or mixed lock (8) a deal may
/// turn around (into 7 or 9).
inline constexpr std::array<int, 10> kReversibleLockPositions = {1, 2, 3, 4, 6, 8, 10, 13, 19, 26};

constexpr bool IsReversibleLockPosition(int position) {
  for (int p : kReversibleLockPositions)
    if (p == position) return true;
  return false;
}

/// One deal: a lock type for each position.
using LockDeal = std::array<int, kLockPositionCount>;

}  // namespace velmora
