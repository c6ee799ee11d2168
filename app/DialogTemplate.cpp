#include "app/DialogTemplate.h"

#include "app/ControlIds.h"
#include "app/Version.h"

namespace velmora {
namespace {

using K = ControlKind;

constexpr ControlSpec kControls[] = {
    {-1, K::kStatic, "Morvessa Randomizer Seed Generator by Quorran Dravik", 15, 18, 266, 8, false, false, false},
    {kIdVersion, K::kStatic, "Version 1.25", 15, 35, 41, 8, false, false, false},
    {-1, K::kGroupBox, "Play As:", 17, 55, 77, 58, false, false, false},
    {kIdJill, K::kRadioButton, "Jill", 33, 72, 23, 10, false, false, true},
    {kIdChris, K::kRadioButton, "Chris", 33, 91, 32, 10, false, false, false},
    {-1, K::kGroupBox, "Difficulty:", 101, 55, 77, 58, false, false, false},
    {kIdNormal, K::kRadioButton, "Normal", 116, 72, 38, 10, false, false, true},
    {kIdHard, K::kRadioButton, "Hard", 116, 91, 31, 10, false, false, false},
    {-1, K::kGroupBox, "Randomize:", 186, 55, 89, 99, false, false, false},
    {kIdItems, K::kCheckBox, "Items", 199, 70, 34, 10, false, false, false},
    {kIdEnemies, K::kCheckBox, "Enemies", 199, 90, 42, 10, false, false, false},
    {kIdDoors, K::kCheckBox, "Doors", 199, 110, 35, 10, false, false, false},
    {kIdLocks, K::kCheckBox, "Locks", 199, 130, 33, 10, false, false, false},
    {-1, K::kGroupBox, "Enemies:", 282, 55, 106, 183, false, false, false},
    {kIdZombies, K::kCheckBox, "Zombies", 295, 70, 42, 10, true, false, false},
    {kIdDogs, K::kCheckBox, "Dogs", 295, 90, 32, 10, true, false, false},
    {kIdHunters, K::kCheckBox, "Hunters", 295, 110, 41, 10, true, false, false},
    {kIdSpiders, K::kCheckBox, "Spiders", 295, 130, 39, 10, true, false, false},
    {kIdSharks, K::kCheckBox, "Sharks", 295, 150, 37, 10, true, false, false},
    {kIdBees, K::kCheckBox, "Bees", 295, 170, 31, 10, true, false, false},
    {kIdChimera, K::kCheckBox, "Chimera", 295, 190, 42, 10, true, false, false},
    {kIdElderCrimsonHeads, K::kCheckBox, "Elder Crimson Heads", 295, 210, 81, 10, true, false, false},
    {-1, K::kGroupBox, "Remove from pool:", 186, 159, 90, 98, false, false, false},
    {kIdRemoveHealing, K::kCheckBox, "Healing Items", 199, 178, 59, 10, false, false, false},
    {kIdRemoveAmmo, K::kCheckBox, "Ammo", 199, 195, 35, 10, false, false, false},
    {kIdRemoveInkRibbons, K::kCheckBox, "Ink Ribbons", 199, 214, 53, 10, false, false, false},
    {kIdRemoveDefence, K::kCheckBox, "Defence Items", 199, 233, 63, 10, false, false, false},
    {-1, K::kGroupBox, "Tyrant Spawns:", 21, 158, 156, 29, false, false, false},
    {kIdTyrantOne, K::kRadioButton, "One", 41, 173, 29, 10, true, false, true},
    {kIdTyrantMany, K::kRadioButton, "Many", 85, 173, 33, 10, true, false, false},
    {kIdTyrantNone, K::kRadioButton, "None", 127, 173, 32, 10, true, false, false},
    {-1, K::kGroupBox, "Yawn Spawns:", 21, 192, 156, 29, false, false, false},
    {kIdYawnOne, K::kRadioButton, "One", 41, 205, 29, 10, true, false, true},
    {kIdYawnMany, K::kRadioButton, "Many", 85, 205, 33, 10, true, false, false},
    {kIdYawnNone, K::kRadioButton, "None", 127, 205, 32, 10, true, false, false},
    {-1, K::kGroupBox, "Lisa Spawns:", 21, 227, 156, 29, false, false, false},
    {kIdLisaOne, K::kRadioButton, "One", 41, 239, 29, 10, true, false, true},
    {kIdLisaMany, K::kRadioButton, "Many", 85, 239, 33, 10, true, false, false},
    {kIdLisaNone, K::kRadioButton, "None", 127, 239, 32, 10, true, false, false},
    {-1, K::kGroupBox, "Tyrant Type:", 21, 259, 215, 36, false, false, false},
    {kIdTyrantFast, K::kRadioButton, "Helipad (Fast)", 41, 275, 61, 10, true, false, true},
    {kIdTyrantSlow, K::kRadioButton, "Lab (Slow)", 111, 275, 49, 10, true, false, false},
    {kIdTyrantRandom, K::kRadioButton, "Random", 175, 275, 39, 10, true, false, false},
    {kIdSwapSelfDefenseGun, K::kCheckBox, "Swap all non-key items with Self-Defense Gun", 22, 303, 162, 10, false, false, false},
    {kIdArmedCapsule, K::kCheckBox, "Fuel Supply Capsule armed on pickup", 22, 321, 167, 10, false, false, false},
    {kIdStatus, K::kSunkenStatic, "Choose your seed settings and then press the Generate Seed button.", 22, 340, 370, 92, false, false, false},
    {kIdGenerateSeed, K::kPushButton, "Generate Seed", 22, 438, 101, 19, false, false, false},
    {kIdFinalLabel, K::kStatic, "All done! You can close this window. Launch the game and on the main menu launch Ostrevant.exe", 257, 437, 131, 29, false, true, false},
};

// The version label shows the build's version: raising the project's VERSION
// without the label (or the other way round) stops the build here.
static_assert(kControls[1].id == kIdVersion && kControls[1].text.starts_with("Version ") &&
              kControls[1].text.substr(8) == kVersion);


}  // namespace

std::span<const ControlSpec> DialogControls() { return kControls; }

const ControlSpec* FindControl(int id) {
  for (const ControlSpec& c : kControls)
    if (c.id == id && id != -1) return &c;
  return nullptr;
}

}  // namespace velmora
