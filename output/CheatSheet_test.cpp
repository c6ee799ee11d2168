#include "output/CheatSheet.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <string>
#include <utility>
#include <vector>

#include "catalogue/AreaTables.h"
#include "catalogue/ItemNames.h"
#include "doors/DoorTables.h"
#include "output/test_support.h"

namespace velmora {
namespace {

std::string Same(const std::string& name) { return "\t" + name + " is replaced with " + name; }

bool Has(const std::string& sheet, const std::string& excerpt) {
  return sheet.find(excerpt) != std::string::npos;
}

// A dialog ready for one sheet.
struct SheetFixture : DialogFixture {
  // A generation with every item at home, the plain tables and every
  // randomizer off.
  void Prepare(Character character, Difficulty difficulty) {
    character_ = character;
    difficulty_ = difficulty;
    window.SetChecked(character == kChris ? kIdChris : kIdJill, true);
    window.SetChecked(difficulty == kHard ? kIdHard : kIdNormal, true);
    dlg.m_itemNames = ItemNames(character, difficulty);
    dlg.m_slotArea = SlotAreas(character, false);
    dlg.m_areaRequirements = PlainAreaRequirements(character);
    dlg.m_placement.resize(kSlotCount);
    std::iota(dlg.m_placement.begin(), dlg.m_placement.end(), 0);
  }

  // Lock mode with the game's own deal and `type` at the endgame door.
  void PrepareLocks(int endgame_type) {
    window.SetChecked(kIdLocks, true);
    dlg.m_slotArea = SlotAreas(character_, true);
    dlg.m_areaRequirements.clear();
    dlg.m_lockTypes = {5, 0, 14, 5, 6, 4, 6, 0, 14, 15, 14, 0, 4,  6, 14, 15, 5, 0,  2,
                       8, 6, 0,  6, 0, 0, 5, 6, 4,  4,  13, 6, 11, 3, 15, 12, 1, 10, 10};
    dlg.m_lockTypes[36] = endgame_type;
  }

  // The written sheet; every line of it must end with CR LF, with no bare LF
  // or CR anywhere, whatever the options.
  std::string Sheet() {
    EXPECT_TRUE(dlg.WriteCheatSheet());
    const std::string sheet = files.files().at(CheatSheetFileName(character_, difficulty_));
    EXPECT_EQ(Lines(SplitCrLf(sheet)), sheet) << "a bare CR or LF, or no CR LF at the end";
    return sheet;
  }

  Character character_ = kJill;
  Difficulty difficulty_ = kNormal;
};

class CheatSheetTest : public ::testing::Test, public SheetFixture {};

// The walk for Chris on Normal with every item at home and the plain tables,
// worked out by hand from the area of each item's slot: the endgame items,
// the first blocks of the first wave, and the last block of the fifth.
TEST_F(CheatSheetTest, ChrisNormalPathToVictoryWalksEveryWave) {
  Prepare(kChris, kNormal);
  const std::string book = "\tBook of Curses / Sword Key";
  const std::string start =
      Lines({"", "***Path to Victory***", "Required items to reach endgame:", "Metal Object",
             "Last Book Volume 1 - Medal of Eagle", "Last Book Volume 2 - Medal of Wolf",
             "Stone and Metal Object", "Jewelry Box 3 / Stone Ring", "Fuel Supply Capsule (Empty)",
             "Key for the Power Area", "", "Items needed for Metal Object:", book,
             "\tJewelry Box with Emblem Key", "\tRed Gemstone", "",
             "Items needed for Last Book Volume 1 - Medal of Eagle:", book, "\tHelmet Key"});
  const std::string end =
      Lines({"", "Items needed for Key for Room 001:", book, "\tSquare Crank", "OPTIONAL1:",
             "\tStone and Metal Object", "OPTIONAL2:", "\tMetal Object",
             "\tJewelry Box 3 / Stone Ring"});
  const std::string sheet = Sheet();
  const size_t path = sheet.find("\r\n\r\n***Path to Victory***");
  ASSERT_NE(path, std::string::npos);
  EXPECT_TRUE(sheet.substr(path + 2).starts_with(start));
  EXPECT_TRUE(sheet.ends_with(end));
  EXPECT_EQ(CountOf(sheet, "Items needed for "), 39u);
}

struct LayoutCase {
  const char* name;
  Character character;
  Difficulty difficulty;
  int item_lines;
  std::vector<std::string> excerpts;  // each must stand in the sheet as it is
  long heading_lines;                 // of the item section
  // Slots and the headings SlotRoomHeadings gives them, read off the heading
  // table and the moved slots by hand; hidden slots among them.
  std::vector<std::pair<int, const char*>> headings;
};

class LayoutTest : public CheatSheetTest, public ::testing::WithParamInterface<LayoutCase> {};

TEST_P(LayoutTest, HeadingsHiddenAndMovedSlotsFollowTheSelection) {
  const LayoutCase& c = GetParam();
  Prepare(c.character, c.difficulty);
  const std::string sheet = Sheet();
  EXPECT_EQ(static_cast<int>(CountOf(sheet, " is replaced with ")), c.item_lines);
  for (const std::string& excerpt : c.excerpts) EXPECT_TRUE(Has(sheet, excerpt)) << excerpt;
  const std::vector<std::string> lines = SplitCrLf(sheet);
  EXPECT_EQ(std::count_if(lines.begin() + 2, std::find(lines.begin(), lines.end(), ""),
                          [](const std::string& line) { return line[0] != '\t'; }),
            c.heading_lines);
  const std::vector<std::string> headings = SlotRoomHeadings(c.character, c.difficulty);
  for (const auto& [slot, heading] : c.headings) EXPECT_EQ(headings.at(slot), heading) << slot;
}

INSTANTIATE_TEST_SUITE_P(
    Selections, LayoutTest,
    ::testing::Values(
        // Of the 89 headings of the table, 7 stand on Normal only and one,
        // "ATTIC ENTRY", for Jill on Normal only; Jill has "RESIDENCE MEDICAL
        // ROOM" and Chris "MAIN HALL" besides. 37 slots hidden on Hard, 7
        // among them; Jill's moved slots are still written, 37 before
        // "PILLAR ROOM".
        LayoutCase{"JillHard", kJill, kHard, 185 - 37,
                   {Lines({"OUTSIDE PATIO", Same("Dagger"), Same("Grenade Launcher"),
                           "PILLAR ROOM"}),
                    Lines({Same("Fuel Canteen"), Same("First Aid Spray"),
                           Same("Handgun Magazine"), "GARDEN SHED"})},
                   81 + 1,
                   {{37, "OUTSIDE PATIO"}, {7, "WEST WING OUTER STAIRWAY"}}},
        // Slot 0 moved before "BEDROOM", 75 to the Residence; slot 39
        // hidden; "ATTIC ENTRY" stands empty since its slots moved.
        LayoutCase{"JillNormal", kJill, kNormal, 185 - 1,
                   {Lines({Same("Music, mid-pages"), "ATTIC ENTRY", "ATTIC"}),
                    Lines({Same("First Aid Spray"), Same("Incendiary Shells"), "GARDEN SHED"})},
                   89 + 1,
                   {{0, "SMALL LIBRARY"},
                    {75, "RESIDENCE MEDICAL ROOM"},
                    {39, "EAST WING STOREROOM"}}},
        LayoutCase{"ChrisNormal", kChris, kNormal, 185,
                   {Lines({"Version 1.25", "Room names are taken from docs/rooms.md", "MAIN HALL",
                           Same("Jill's Handgun"), "DINING ROOM"})},
                   88 + 1,
                   {{0, "MAIN HALL"}, {75, "SMALL DINING ROOM"}}}),
    [](const auto& test) { return std::string(test.param.name); });

TEST_F(CheatSheetTest, DoorsForJillMarkUnusedSlotsButKeepMovedOnesAndDropThePath) {
  Prepare(kJill, kNormal);
  window.SetChecked(kIdDoors, true);
  dlg.m_doorModeSlots = {1, 2, 3, 5, 150};
  for (const DoorRow& row : kDoorTable) dlg.m_roomDoors[std::string(row.room)][row.door] = row.door;
  dlg.m_roomDoors["Main Hall"][28] = 159;
  const std::string sheet = Sheet();

  const std::string unused = "NOT USED IN DOOR RANDOMIZER";
  EXPECT_TRUE(Has(sheet, Lines({Same("Shield Key"), "WEST WING OUTER STAIRWAY", unused,
                                Same("Green Herb (Left)"), unused, "NORTHERN CORRIDOR", unused})));
  // Of 184 shown lines, the five listed slots and the six moved ones keep
  // their item lines.
  EXPECT_EQ(CountOf(sheet, " is replaced with "), 5u + 6u);

  // The sheet ends with the door section, with no Path to Victory: every
  // door in number order, as "room:door:value", the door table being in
  // number order too.
  std::string doors = Lines({"DOOR RANDO:",
                             "Door rando cheat sheet is a work in progress and is currently "
                             "difficult to understand, sorry!"});
  for (const DoorRow& row : kDoorTable)
    doors += std::string(row.room) + ":" + std::to_string(row.door) + ":" +
             (row.door == 28 ? "159" : std::to_string(row.door)) + "\r\n";
  EXPECT_TRUE(sheet.ends_with(Lines({"CELL", unused}) + doors));
}

TEST_F(CheatSheetTest, EnemySectionStandsBetweenTheItemsAndThePath) {
  Prepare(kJill, kNormal);
  dlg.m_enemyPositions = {{"Main Hall", {1}}, {"Art Room", {12}}, {"Aqua Ring Walkway", {11}}};
  window.SetChecked(kIdEnemies, true);
  EXPECT_TRUE(Has(Sheet(), Lines({"CELL", Same("Shotgun Shells"), "", "", "ENEMY RANDO POSITIONS",
                                  "", "Aqua Ring Walkway:SLOW TYRANT",
                                  "Art Room:ELDER CRIMSON HEAD", "Main Hall:HUNTERS", "",
                                  "***Path to Victory***"})));
}

// The endgame door's lock adds its keys to the endgame items, each walked
// like any other but a lockpick; a lock without keys (a reversed one-way
// door, type 7) leaves an unknown item off the walk, an open one adds none.
TEST(EndgameLockTest, KeysOfTheEndgameDoorJoinTheEndgameItems) {
  struct Case {
    Character character;
    int endgame_type;
    std::string endgame_tail;  // after "Fuel Supply Capsule (Empty)"
    size_t blocks;             // of "Items needed for " + the first key
  };
  const std::string old_keys = Lines({"Old Key", "Old Key", "Old Key", "Old Key", "Old Key"});
  for (const Case& c : {Case{kJill, 5, Lines({"Lockpick"}), 0}, Case{kChris, 5, old_keys, 5},
                        Case{kJill, 7, Lines({"Unknown item -99"}), 0}, Case{kJill, 15, "", 0}}) {
    SCOPED_TRACE(c.endgame_type);
    SheetFixture f;
    f.Prepare(c.character, kNormal);
    f.PrepareLocks(c.endgame_type);
    const std::string sheet = f.Sheet();
    EXPECT_TRUE(Has(sheet, Lines({"Jewelry Box 3 / Stone Ring", "Fuel Supply Capsule (Empty)"}) +
                               c.endgame_tail + Lines({"", "Items needed for Metal Object:"})));
    const std::string first_key = c.endgame_tail.substr(0, c.endgame_tail.find('\r'));
    EXPECT_EQ(first_key.empty() ? 0 : CountOf(sheet, "Items needed for " + first_key), c.blocks);
  }
}

TEST_F(CheatSheetTest, LockSectionAndAFailedKeyLookupInTheWalk) {
  Prepare(kJill, kNormal);
  PrepareLocks(5);
  // Area 89 holds slots 33 to 35; -99 is the marker of a failed key lookup.
  dlg.m_areaRequirements[89] = {{0, {-1, 48}}, {1, {-99}}};
  const std::string sheet = Sheet();
  EXPECT_TRUE(Has(sheet, Lines({"LOCK RANDO:", "West Wing Inner Stairway -> Small Storeroom : "
                                               "Old Key / Lockpick"})));
  EXPECT_TRUE(Has(sheet, Lines({"Items needed for Metal Object:", "\tLockpick", "\tDog Collar",
                                "OPTIONAL1:", "\tUnknown item -99", "",
                                "Items needed for Last Book Volume 1 - Medal of Eagle:",
                                "\tNothing!"})));
  EXPECT_FALSE(Has(sheet, "Items needed for Unknown"));
}

// The armed capsule leaves the endgame items' walk inside the area tables:
// the walk takes it for the empty capsule it replaced, and walks the Broken
// Shotgun that area 37 needs to its own keys. An item in no slot is reported.
TEST_F(CheatSheetTest, TheArmedCapsuleIsWalkedAsTheEmptyOneAndAMissingOneIsReported) {
  Prepare(kChris, kNormal);
  // Area 37 holds slot 26: the empty capsule moves there.
  std::swap(dlg.m_placement[26], dlg.m_placement[178]);
  window.SetChecked(kIdArmedCapsule, true);
  dlg.ApplyPoolModifiers();
  const std::string sheet = Sheet();
  EXPECT_TRUE(Has(sheet, Lines({"Items needed for Fuel Supply Capsule (Empty):",
                                "\tBook of Curses / Sword Key", "\tBroken Shotgun", ""})));
  EXPECT_TRUE(Has(sheet, Lines({"Items needed for Broken Shotgun:", "\tBook of Curses / Sword Key",
                                "\tOld Key"})));
  EXPECT_TRUE(Has(sheet, "\tDagger is replaced with Fuel Supply Capsule (ARMED)\r"));

  // With neither capsule anywhere, the walk reports it.
  std::replace(dlg.m_placement.begin(), dlg.m_placement.end(), 185, 137);
  EXPECT_TRUE(Has(Sheet(), Lines({"Items needed for Fuel Supply Capsule (Empty):",
                                  "\tNot placed in this seed", ""})));
}

// The item list first, then the sheet: a failed file is flagged, stops the
// writing and keeps the final label hidden. (The fault tests check the log
// lines and the files left on disk.)
TEST(SeedFilesTest, TheItemListThenTheSheetAndTheLabelShownOnlyIfBothWrote) {
  for (const std::string fail_on : {"", "ItemListJillHard.txt", "CheatSheetJillHard.txt"}) {
    SCOPED_TRACE(fail_on);
    SheetFixture f;
    f.Prepare(kJill, kHard);
    if (!fail_on.empty()) f.files.FailOn(fail_on, "disk full");
    f.dlg.WriteSeedFiles();
    EXPECT_EQ(f.dlg.write_failed(), !fail_on.empty());
    EXPECT_EQ(f.window.IsControlVisible(kIdFinalLabel), fail_on.empty());
    const size_t written = fail_on.empty() ? 2 : fail_on.starts_with("Cheat") ? 1 : 0;
    EXPECT_EQ(f.files.files().size(), written);
  }
}

}  // namespace
}  // namespace velmora
