#include "catalogue/ItemNames.h"

#include <stdexcept>

#include "app/GeneratorState.h"
#include "app/VelmoraDlg.h"

namespace velmora {
namespace {

/// The names of one item id for Jill Normal, Jill Hard, Chris Normal and
/// Chris Hard.
struct ItemNameRow {
  int id;
  std::string_view jill_normal, jill_hard, chris_normal, chris_hard;
};

constexpr ItemNameRow Same(int id, std::string_view name) { return {id, name, name, name, name}; }

constexpr ItemNameRow ByCharacter(int id, std::string_view jill, std::string_view chris) {
  return {id, jill, jill, chris, chris};
}

constexpr ItemNameRow ByDifficulty(int id, std::string_view normal, std::string_view hard) {
  return {id, normal, hard, normal, hard};
}

constexpr ItemNameRow BySelection(int id, std::string_view jill_normal,
                                  std::string_view jill_hard, std::string_view chris_normal,
                                  std::string_view chris_hard) {
  return {id, jill_normal, jill_hard, chris_normal, chris_hard};
}

// clang-format off
constexpr std::array<ItemNameRow, kItemCount> kItemNameTable = {
    ByCharacter(0, "Lighter", "Jill's Handgun"),
    Same(1, "Ink Ribbon"),
    Same(2, "Blue Gemstone"),
    Same(3, "Shield Key"),
    Same(4, "Handgun Magazine"),
    Same(5, "Green Herb (Left)"),
    Same(6, "Green Herb (Right)"),
    ByCharacter(7, "Battery Pack", "Flash Grenade"),
    Same(8, "Handgun Magazine"),
    ByCharacter(9, "Battery Pack", "Old Key"),
    ByCharacter(10, "Battery Pack", "Flash Grenade"),
    Same(11, "Broken Shotgun"),
    Same(12, "Ink Ribbon"),
    Same(13, "Shotgun Shells"),
    Same(14, "MO Disk"),
    Same(15, "Missing Music"),
    Same(16, "Mask w/out Eyes"),
    Same(17, "Shotgun Shells"),
    Same(18, "Mask w/out Mouth"),
    Same(19, "Dagger"),
    Same(20, "Dagger"),
    Same(21, "Handgun Magazine"),
    Same(22, "Ink Ribbon"),
    Same(23, "Dagger"),
    Same(24, "Jewelry Box with Emblem Key"),
    Same(25, "Green Herb"),
    Same(26, "Dagger"),
    Same(27, "Ink Ribbon"),
    Same(28, "Herbicide"),
    Same(29, "Green Herb (Right)"),
    Same(30, "Green Herb (Left)"),
    Same(31, "Red Herb"),
    ByCharacter(32, "Dagger", "Old Key"),
    Same(33, "Shotgun Shells"),
    Same(34, "Metal Object"),
    ByCharacter(35, "Battery Pack", "Flash Grenade"),
    Same(36, "Fuel Canteen"),
    ByCharacter(37, "Grenade Launcher", "Old Key"),
    Same(38, "First Aid Spray"),
    Same(39, "Handgun Magazine"),
    ByCharacter(40, "Incendiary Shells", "Shotgun Shells"),
    Same(41, "Shotgun Shells"),
    ByCharacter(42, "Battery Pack", "Flash Grenade"),
    Same(43, "First Aid Spray"),
    ByCharacter(44,
        "Battery Pack (after getting plant 42 item)",
        "Flash Grenade (after getting plant 42 item)"),
    ByDifficulty(45,
        "First Aid Spray (after getting plant 42 item)",
        "Shotgun Shells (after getting plant 42 item)"),
    BySelection(46,
        "Grenade Shells (after getting plant 42 item)",
        "Dagger (after getting plant 42 item)",
        "Shotgun Shells (after getting plant 42 item)",
        "Dagger (after getting plant 42 item)"),
    Same(47, "Last Book Volume 1 - Medal of Eagle"),
    Same(48, "Dog Collar"),
    Same(49, "Dagger"),
    Same(50, "Green Herb"),
    Same(51, "Golden Arrow / Arrowhead"),
    Same(52, "Handgun Magazine"),
    Same(53, "Green Herb (Left)"),
    Same(54, "Green Herb (Right)"),
    Same(55, "Red Herb"),
    Same(56, "Shotgun Shells (Left)"),
    BySelection(57, "Acid Shells", "Magnum Rounds", "Shotgun Shells (Right)", "Magnum Rounds"),
    ByCharacter(58, "Battery Pack", "Flash Grenade"),
    Same(59, "Battery"),
    BySelection(60, "Grenade Shells", "Handgun Magazine", "Shotgun Shells", "Handgun Magazine"),
    Same(61, "Red Gemstone"),
    Same(62, "Yellow Gemstone"),
    Same(63, "Dagger"),
    Same(64, "Green Herb (Right)"),
    Same(65, "Green Herb (Left)"),
    Same(66, "Last Book Volume 2 - Medal of Wolf"),
    Same(67, "Dagger"),
    Same(68, "Green Herb (Left)"),
    Same(69, "Green Herb (Right)"),
    Same(70, "Green Herb (Right)"),
    Same(71, "Green Herb (Left)"),
    Same(72, "Handgun Magazine (Cupboard)"),
    Same(73, "Handgun Magazine (Table)"),
    Same(74, "Music, mid-pages"),
    ByCharacter(75, "Bottle #2", "Flash Grenade"),
    ByCharacter(76, "Bottle #3", "Shotgun Shells"),
    Same(77, "Mask w/out Nose"),
    Same(78, "Wooden Mount"),
    Same(79, "Jewelry Box with Mask w/out All"),
    Same(80, "Dagger"),
    Same(81, "Green Herb"),
    Same(82, "Dog Whistle"),
    Same(83, "Handgun Magazine"),
    Same(84, "First Aid Box (First Aid Spray)"),
    ByCharacter(85, "Bottle #4", "Old Key"),
    Same(86, "Ink Ribbon"),
    Same(87, "Green Herb"),
    Same(88, "Red Herb"),
    Same(89, "Fishhook"),
    Same(90, "Bee Specimen"),
    Same(91, "Lure w/out hook"),
    Same(92, "Wind Crest"),
    Same(93, "Dagger"),
    ByCharacter(94, "Bottle #1", "Old Key"),
    Same(95, "Red Herb"),
    Same(96, "Blue Herb"),
    Same(97, "Dagger"),
    Same(98, "Handgun Magazine"),
    Same(99, "Shotgun Shells"),
    Same(100, "Book of Curses / Sword Key"),
    ByDifficulty(101, "Shotgun Shells", "Handgun Magazine"),
    Same(102, "Stone and Metal Object"),
    Same(103, "Moon Crest"),
    Same(104, "Star Crest"),
    Same(105, "Sun Crest"),
    Same(106, "Magnum Revolver"),
    Same(107, "Square Crank"),
    Same(108, "Green Herb"),
    Same(109, "Blue Herb"),
    Same(110, "Red Herb"),
    Same(111, "Ink Ribbon"),
    Same(112, "Green Herb"),
    Same(113, "Handgun Magazine (Near Door)"),
    Same(114, "Shaft"),
    Same(115, "Handgun Magazine (Near Elevator)"),
    Same(116, "Hexagon Crank"),
    ByDifficulty(117, "Shotgun Shells", "Handgun Magazine"),
    Same(118, "Survival Knife"),
    Same(119, "Blue Herb (Right)"),
    Same(120, "Blue Herb (Left)"),
    Same(121, "First Aid Box (First Aid Spray)"),
    Same(122, "Cylinder"),
    Same(123, "Broken Flamethrower"),
    Same(124, "Green Herb"),
    ByDifficulty(125, "Red Herb", "Green Herb"),
    Same(126, "Magnum Rounds"),
    Same(127, "Handgun Magazine"),
    ByCharacter(128, "Battery Pack", "Flash Grenade"),
    Same(129, "Jewelry Box 3 / Stone Ring"),
    Same(130, "Blue Herb"),
    Same(131, "Green Herb"),
    Same(132, "Blue Herb (Right)"),
    Same(133, "Blue Herb (Middle)"),
    Same(134, "Blue Herb (Left)"),
    Same(135, "Ink Ribbon"),
    ByCharacter(136, "Battery Pack", "Flash Grenade"),
    Same(137, "Self Defense Gun"),
    Same(138, "Handgun Magazine"),
    Same(139, "Control Room Key"),
    Same(140, "Green Herb (Left)"),
    Same(141, "Green Herb (Right)"),
    Same(142, "Unprinted Book"),
    Same(143, "First Aid Box (Green + Blue Herb)"),
    Same(144, "Shotgun Shells"),
    Same(145, "Key for Room 001"),
    Same(146, "Handgun Magazine"),
    Same(147, "Insecticide Spray"),
    Same(148, "Key for Room 003"),
    Same(149, "Red Herb"),
    Same(150, "Helmet Key"),
    Same(151, "Green Herb"),
    Same(152, "First Aid Box (Green + Green Herb)"),
    ByDifficulty(153, "Shotgun Shells", "Magnum Rounds"),
    Same(154, "Gallery Key"),
    Same(155, "Magnum Rounds"),
    Same(156, "Ink Ribbon"),
    Same(157, "Green Herb (Far)"),
    Same(158, "Green Herb (Near)"),
    Same(159, "MO Disk"),
    Same(160, "First Aid Spray"),
    Same(161, "MO Disk"),
    Same(162, "Shotgun Shells"),
    Same(163, "Key for the Power Area"),
    ByDifficulty(164, "First Aid Box (Green + Green Herb)", "First Aid Box (Green Herb)"),
    BySelection(165, "Incendiary Shells", "Handgun Magazine", "Magnum Rounds", "Handgun Magazine"),
    Same(166, "Slide Filter"),
    Same(167, "X-Ray of CLARK"),
    Same(168, "X-Ray of GAIL"),
    Same(169, "Dagger"),
    Same(170, "Magnum Rounds"),
    ByCharacter(171, "Battery Pack", "Flash Grenade"),
    Same(172, "First Aid Box (Green Herb)"),
    ByCharacter(173, "Battery Pack", "Flash Grenade"),
    Same(174, "Shotgun Shells"),
    Same(175, "Ink Ribbon"),
    Same(176, "First Aid Spray"),
    BySelection(177, "Grenade Shells", "Incendiary Shells", "Shotgun Shells", "Shotgun Shells"),
    Same(178, "Fuel Supply Capsule (Empty)"),
    ByCharacter(179, "Battery Pack", "Flash Grenade"),
    Same(180, "Shotgun Shells"),
    Same(181, "Shotgun Shells"),
    Same(182, "First Aid Box (Green Herb)"),
    Same(183, "Fuse Unit"),
    Same(184, "Shotgun Shells"),
    Same(185, "Fuel Supply Capsule (ARMED)"),
    Same(186, "Shotgun"),
};
// clang-format on

constexpr bool RowsAreInIdOrder() {
  for (int id = 0; id < kItemCount; ++id)
    if (kItemNameTable[id].id != id) return false;
  return true;
}
static_assert(RowsAreInIdOrder(), "one row per item id, in id order");

}  // namespace

std::string_view ItemName(int id, Character character, Difficulty difficulty) {
  if (id < 0 || id >= kItemCount) throw std::out_of_range("no item id " + std::to_string(id));
  const ItemNameRow& row = kItemNameTable[id];
  if (character == Character::kJill)
    return difficulty == Difficulty::kNormal ? row.jill_normal : row.jill_hard;
  return difficulty == Difficulty::kNormal ? row.chris_normal : row.chris_hard;
}

std::vector<std::string> ItemNames(Character character, Difficulty difficulty) {
  std::vector<std::string> names;
  names.reserve(kItemCount);
  for (int id = 0; id < kItemCount; ++id)
    names.emplace_back(ItemName(id, character, difficulty));
  return names;
}

void CVelmoraDlg::FillItemNames() {
  for (std::string& name : ItemNames(SelectedCharacter(), SelectedDifficulty()))
    m_itemNames.push_back(std::move(name));
}

}  // namespace velmora
