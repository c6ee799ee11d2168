// The names of the game's items, by item id, and the groups of names by which
// the pool modifiers recognise an item's kind.
//
// An item id is the slot where the item lies in the unshuffled game (0..184);
// 185 and 186 are two extra items that no slot holds at home.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/Selection.h"

namespace velmora {

/// The 187 item names for a character and difficulty, indexed by item id.
std::vector<std::string> ItemNames(Character character, Difficulty difficulty);

/// The name of one item id (0..186) for a character and difficulty.
std::string_view ItemName(int id, Character character, Difficulty difficulty);

// The name groups, each in the order in which a modifier tests its names.

inline constexpr std::array<std::string_view, 16> kHealingItemNames = {
    "Green Herb (Left)",
    "Green Herb (Right)",
    "Green Herb (Far)",
    "Green Herb (Near)",
    "Green Herb",
    "Red Herb",
    "Blue Herb",
    "First Aid Spray",
    "Blue Herb (Right)",
    "Blue Herb (Middle)",
    "Blue Herb (Left)",
    "First Aid Box (First Aid Spray)",
    "First Aid Box (Green + Green Herb)",
    "First Aid Box (Green + Blue Herb)",
    "First Aid Box (Green Herb)",
    "First Aid Spray (after getting plant 42 item)",
};

inline constexpr std::array<std::string_view, 14> kAmmunitionNames = {
    "Incendiary Shells",
    "Shotgun Shells (after getting plant 42 item)",
    "Shotgun Shells (Right)",
    "Shotgun Shells (Left)",
    "Grenade Shells",
    "Acid Shells",
    "Grenade Shells (after getting plant 42 item)",
    "Handgun Magazine",
    "Shotgun Shells",
    "Magnum Rounds",
    "Handgun Magazine (Cupboard)",
    "Handgun Magazine (Table)",
    "Handgun Magazine (Near Door)",
    "Handgun Magazine (Near Elevator)",
};

inline constexpr std::array<std::string_view, 1> kInkRibbonNames = {
    "Ink Ribbon",
};

/// "Dagger (after getting plant 42 item)" is deliberately in no group.
inline constexpr std::array<std::string_view, 5> kDefenceItemNames = {
    "Battery Pack",
    "Dagger",
    "Flash Grenade",
    "Flash Grenade (after getting plant 42 item)",
    "Battery Pack (after getting plant 42 item)",
};

/// Swapped for the Self Defense Gun together with the four groups above.
inline constexpr std::array<std::string_view, 9> kFurtherSwapItemNames = {
    "Magnum Revolver",
    "Grenade Launcher",
    "Jill's Handgun",
    "Broken Shotgun",
    "X-Ray of CLARK",
    "X-Ray of GAIL",
    "Wooden Mount",
    "Slide Filter",
    "Fuel Canteen",
};

/// The items that take the place of a removed item, indexed by a draw from 4:
/// "X-Ray of CLARK", "X-Ray of GAIL", "Wooden Mount", "Slide Filter".
inline constexpr std::array<int, 4> kFillerItems = {167, 168, 78, 166};

/// "Self Defense Gun", the target of the swap modifier.
inline constexpr int kSelfDefenseGun = 137;
/// "Fuel Supply Capsule (Empty)", at home in slot 178.
inline constexpr int kEmptyFuelCapsule = 178;
/// "Fuel Supply Capsule (ARMED)", an extra item that no slot holds at home.
inline constexpr int kArmedFuelCapsule = 185;
/// "Shotgun", an extra item that only the door-mode placement hands out.
inline constexpr int kDoorModeShotgun = 186;

}  // namespace velmora
