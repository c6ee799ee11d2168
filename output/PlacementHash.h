// The placement hash: five item names that stand for the bytes of an item
// list, so that players can see at a glance that they hold the same seed.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace velmora {

/// The names the hash is spelt with: 64 distinct item names that are easy to
/// read aloud, so each name carries six bits.
inline constexpr std::array<std::string_view, 64> kPlacementHashNames = {
    "Lighter",         "Ink Ribbon",       "Blue Gemstone",     "Shield Key",
    "Handgun Magazine", "Green Herb",      "Flash Grenade",     "Old Key",
    "Broken Shotgun",  "MO Disk",          "Missing Music",     "Dagger",
    "Herbicide",       "Metal Object",     "Grenade Launcher",  "Medal of Eagle",
    "Dog Collar",      "Golden Arrow",     "Battery",           "Red Gemstone",
    "Yellow Gemstone", "Medal of Wolf",    "Magnum Rounds",     "Red Herb",
    "Wooden Mount",    "Dog Whistle",      "Fishhook",          "Bee Specimen",
    "Wind Crest",      "Sword Key",        "Stone Ring",        "Moon Crest",
    "Star Crest",      "Sun Crest",        "Square Crank",      "Shaft",
    "Hexagon Crank",   "Cylinder",         "Flamethrower",      "Self Defense Gun",
    "Control Room Key", "Unprinted Book",  "Insecticide Spray", "Helmet Key",
    "Gallery Key",     "Slide Filter",     "Fuel Canteen",      "Fuse Unit",
    "Shotgun",         "Survival Knife",   "Magnum Revolver",   "Blue Herb",
    "First Aid Spray", "Acid Shells",      "Incendiary Shells", "Book of Curses",
    "Jewelry Box",     "Fuel Capsule",     "Power Area Key",    "Lure",
    "Bottle",          "Battery Pack",     "Shotgun Shells",    "Grenade Shells",
};

/// The hash of `item_list_bytes` as "Name · Name · Name · Name · Name" (a
/// middle dot, U+00B7 in UTF-8, between blanks). The names are the top 30
/// bits of the bytes' 64-bit XXH3 hash, six bits per name, highest first.
std::string PlacementHash(std::string_view item_list_bytes);

}  // namespace velmora
