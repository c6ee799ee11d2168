#include "output/CheatSheet.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <numeric>
#include <string>
#include <vector>

#include "app/ControlIds.h"
#include "app/MemoryWindow.h"
#include "app/VelmoraDlg.h"
#include "catalogue/AreaTables.h"
#include "catalogue/ItemNames.h"
#include "doors/DoorTables.h"
#include "output/OutputFiles.h"

namespace velmora {
namespace {

// Joins lines, each ending CR LF.
std::string Lines(std::initializer_list<std::string> lines) {
  std::string out;
  for (const std::string& line : lines) out += line + "\r\n";
  return out;
}

std::string Same(const std::string& name) { return "\t" + name + " is replaced with " + name; }

size_t CountOf(const std::string& text, const std::string& part) {
  size_t count = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
  return count;
}

// The slot lines of a sheet: every line of the form TAB name " is replaced
// with " name.
int CountItemLines(const std::string& sheet) {
  return static_cast<int>(CountOf(sheet, " is replaced with "));
}

bool HasLine(const std::string& sheet, const std::string& line) {
  return sheet.find("\r\n" + line + "\r\n") != std::string::npos;
}

class CheatSheetTest : public ::testing::Test {
 protected:
  CheatSheetTest() : dlg(window, files) {
    dlg.OnInitDialog();
    window.SetControlText(kIdStatus, "");
  }

  // A generation with every item at home, the plain tables and every
  // randomizer off.
  void Prepare(Character character, Difficulty difficulty) {
    character_ = character;
    difficulty_ = difficulty;
    window.SetChecked(character == Character::kChris ? kIdChris : kIdJill, true);
    window.SetChecked(difficulty == Difficulty::kHard ? kIdHard : kIdNormal, true);
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
    EXPECT_TRUE(sheet.ends_with("\r\n"));
    const size_t lf = CountOf(sheet, "\n");
    EXPECT_EQ(CountOf(sheet, "\r"), lf) << "a bare CR or LF";
    EXPECT_EQ(CountOf(sheet, "\r\n"), lf) << "a bare CR or LF";
    return sheet;
  }

  std::string Log() const { return window.GetControlText(kIdStatus); }

  MemoryWindow window;
  MemoryOutputFiles files;
  CVelmoraDlg dlg;
  Character character_ = Character::kJill;
  Difficulty difficulty_ = Difficulty::kNormal;
};

// The file names of all four selections are checked through the logs below.
TEST_F(CheatSheetTest, ChrisNormalStartsWithTheHeaderAndMainHall) {
  Prepare(Character::kChris, Difficulty::kNormal);
  const std::string sheet = Sheet();
  EXPECT_EQ(sheet.substr(0, sheet.find("NORTHERN CORRIDOR")),
            Lines({"Version 1.25", "Room names are taken from docs/rooms.md", "MAIN HALL",
                   Same("Jill's Handgun"), "DINING ROOM", Same("Ink Ribbon"), Same("Blue Gemstone"),
                   Same("Shield Key"), "WEST WING OUTER STAIRWAY", Same("Handgun Magazine"),
                   Same("Green Herb (Left)"), Same("Green Herb (Right)")}));
  EXPECT_EQ(Log(), "Writing to CheatSheetChrisNormal.txt . . .done!\n");
}

// The walk for Chris on Normal with every item at home and the plain tables,
// worked out by hand from the area of each item's slot: the endgame items,
// then the first blocks of the first wave, and the last block of the fifth.
TEST_F(CheatSheetTest, ChrisNormalPathToVictoryWalksEveryWave) {
  Prepare(Character::kChris, Difficulty::kNormal);
  const std::string book = "\tBook of Curses / Sword Key", helmet = "\tHelmet Key";
  const std::string options =
      Lines({"OPTIONAL1:", "\tStone and Metal Object", "OPTIONAL2:", "\tMetal Object",
             "\tJewelry Box 3 / Stone Ring"});
  auto block = [](const std::string& item, const std::string& lines) {
    return Lines({"", "Items needed for " + item + ":"}) + lines;
  };
  const std::string start =
      Lines({"", "***Path to Victory***", "Required items to reach endgame:", "Metal Object",
             "Last Book Volume 1 - Medal of Eagle", "Last Book Volume 2 - Medal of Wolf",
             "Stone and Metal Object", "Jewelry Box 3 / Stone Ring", "Fuel Supply Capsule (Empty)",
             "Key for the Power Area"}) +
      block("Metal Object", Lines({book, "\tJewelry Box with Emblem Key", "\tRed Gemstone"})) +
      block("Last Book Volume 1 - Medal of Eagle", Lines({book, helmet})) +
      block("Last Book Volume 2 - Medal of Wolf", Lines({helmet}));
  // The fourth wave's last blocks, then the fifth wave's only one.
  const std::string end = block("Missing Music", Lines({"\tDog Collar"})) +
                          block("Music, mid-pages", Lines({book, "\tDog Collar"})) +
                          block("Key for Room 001", Lines({book, "\tSquare Crank"}) + options);

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
  std::vector<std::string> absent;    // lines that must not stand in the sheet
};

void PrintTo(const LayoutCase& c, std::ostream* os) { *os << c.name; }

class LayoutTest : public CheatSheetTest, public ::testing::WithParamInterface<LayoutCase> {};

TEST_P(LayoutTest, HeadingsHiddenAndMovedSlotsFollowTheSelection) {
  const LayoutCase& c = GetParam();
  Prepare(c.character, c.difficulty);
  const std::string sheet = Sheet();
  EXPECT_EQ(CountItemLines(sheet), c.item_lines);
  for (const std::string& excerpt : c.excerpts)
    EXPECT_NE(sheet.find(excerpt), std::string::npos) << excerpt;
  for (const std::string& line : c.absent) EXPECT_FALSE(HasLine(sheet, line)) << line;
}

const std::vector<std::string> kNormalOnlyHeadings = {
    "NORTHERN CORRIDOR", "DINING ROOM 2F", "SLIDING TRAP ROOM", "MAIN GARDEN",
    "ZIGZAG PATH",       "CONTROL ROOM",   "AQUA RING EXIT",    "ATTIC ENTRY"};

std::vector<std::string> With(std::vector<std::string> lines, const std::string& more) {
  lines.push_back(more);
  return lines;
}

INSTANTIATE_TEST_SUITE_P(
    Selections, LayoutTest,
    ::testing::Values(
        // 37 slots hidden on Hard; Jill's moved slots are still written.
        LayoutCase{
            "JillHard",
            Character::kJill,
            Difficulty::kHard,
            185 - 37,
            {"Room names are taken from docs/rooms.md\r\nDINING ROOM\r\n" + Same("Ink Ribbon") +
                 "\r\n",
             Lines({"OUTSIDE PATIO", Same("Dagger"), Same("Grenade Launcher"), "PILLAR ROOM"}),
             Lines({"SMALL DINING ROOM", Same("Handgun Magazine (Table)"),
                    Same("Music, mid-pages"), "ATTIC", Same("Mask w/out Nose"), "C CORRIDOR"}),
             Lines({"EAST WING STOREROOM", Same("Fuel Canteen"), Same("First Aid Spray"),
                    Same("Handgun Magazine"), "GARDEN SHED"}),
             Lines({"SMALL LIBRARY", Same("Dog Whistle"), Same("Handgun Magazine"), Same("Lighter"),
                    "BEDROOM"})},
            With(kNormalOnlyHeadings, "MAIN HALL")},
        // Slot 39 hidden; "ATTIC ENTRY" stands empty since its slots moved.
        LayoutCase{
            "JillNormal",
            Character::kJill,
            Difficulty::kNormal,
            185 - 1,
            {Lines({"SMALL DINING ROOM", Same("Handgun Magazine (Cupboard)"),
                    Same("Handgun Magazine (Table)"), Same("Music, mid-pages"), "ATTIC ENTRY",
                    "ATTIC", Same("Mask w/out Nose"), "C CORRIDOR"}),
             Lines({"EAST WING STOREROOM", Same("Fuel Canteen"), Same("First Aid Spray"),
                    Same("Incendiary Shells"), "GARDEN SHED"}),
             Lines({"RESIDENCE MEDICAL ROOM", Same("Bottle #1"), Same("Bottle #2"),
                    Same("Bottle #3"), Same("Bottle #4"), "PLANT 42 ROOM"})},
            {"MAIN HALL"}},
        LayoutCase{"ChrisNormal",
                   Character::kChris,
                   Difficulty::kNormal,
                   185,
                   {Lines({"SMALL DINING ROOM", Same("Handgun Magazine (Cupboard)"),
                           Same("Handgun Magazine (Table)"), Same("Music, mid-pages"),
                           Same("Flash Grenade"), "ATTIC", Same("Shotgun Shells"),
                           Same("Mask w/out Nose")}),
                    Lines({"OUTSIDE PATIO", Same("Dagger"), Same("Green Herb (Left)"),
                           Same("Green Herb (Right)"), "PILLAR ROOM"})},
                   {"ATTIC ENTRY", "RESIDENCE MEDICAL ROOM"}},
        // Hard hides Chris's slots 75 and 76 as well.
        LayoutCase{"ChrisHard",
                   Character::kChris,
                   Difficulty::kHard,
                   185 - 37 - 2,
                   {Lines({"SMALL DINING ROOM", Same("Handgun Magazine (Table)"),
                           Same("Music, mid-pages"), "ATTIC", Same("Mask w/out Nose")}),
                    "Room names are taken from docs/rooms.md\r\nMAIN HALL\r\n"},
                   kNormalOnlyHeadings}),
    [](const auto& test) { return std::string(test.param.name); });

TEST_F(CheatSheetTest, DoorsForJillMarkUnusedSlotsButKeepMovedOnesAndDropThePath) {
  Prepare(Character::kJill, Difficulty::kNormal);
  window.SetChecked(kIdDoors, true);
  dlg.m_doorModeSlots = {1, 2, 3, 5, 150};
  for (const DoorRow& row : kDoorTable) dlg.m_roomDoors[std::string(row.room)][row.door] = row.door;
  dlg.m_roomDoors["Main Hall"][28] = 159;
  const std::string sheet = Sheet();

  EXPECT_NE(sheet.find(Lines({"Room names are taken from docs/rooms.md", "DINING ROOM",
                              Same("Ink Ribbon"), Same("Blue Gemstone"), Same("Shield Key"),
                              "WEST WING OUTER STAIRWAY", "NOT USED IN DOOR RANDOMIZER",
                              Same("Green Herb (Left)"), "NOT USED IN DOOR RANDOMIZER",
                              "NORTHERN CORRIDOR", "NOT USED IN DOOR RANDOMIZER"})),
            std::string::npos);
  EXPECT_NE(sheet.find(Lines({"NOT USED IN DOOR RANDOMIZER", Same("Lighter"), "BEDROOM"})),
            std::string::npos);
  EXPECT_NE(
      sheet.find(Lines({"RESIDENCE MEDICAL ROOM", Same("Bottle #1"), Same("Bottle #2"),
                        Same("Bottle #3"), Same("Bottle #4"), "PLANT 42 ROOM", Same("Helmet Key"),
                        "AQUA RING ENTRY", "NOT USED IN DOOR RANDOMIZER"})),
      std::string::npos);
  // 184 shown lines, of which the five listed slots and the six moved ones
  // keep their item lines.
  EXPECT_EQ(CountItemLines(sheet), 5 + 6);
  EXPECT_EQ(sheet.find("Path to Victory"), std::string::npos);

  const size_t doors = sheet.find("\r\nDOOR RANDO:\r\n");
  ASSERT_NE(doors, std::string::npos);
  EXPECT_EQ(sheet.substr(doors + 2, sheet.find("West Wing Inner Stairway:2:2") - doors - 2),
            Lines({"DOOR RANDO:",
                   "Door rando cheat sheet is a work in progress and is currently difficult to "
                   "understand, sorry!",
                   "Medical Storage Room:0:0", "West Wing Inner Stairway:1:1"}));
  EXPECT_NE(sheet.find(Lines({"Tea Room:9:9", "Northern Corridor:10:10", "Tea Room:11:11"})),
            std::string::npos);
  EXPECT_NE(sheet.find(Lines({"Main Hall:27:27", "Main Hall:28:159", "Main Hall:29:29"})),
            std::string::npos);
  EXPECT_TRUE(
      sheet.ends_with(Lines({"Laboratory Elevator:262:262", "Laboratory Elevator:263:263"})));
  EXPECT_EQ(std::count(sheet.begin() + doors + 2, sheet.end(), '\n'), 2 + 264);
}

TEST_F(CheatSheetTest, DoorsForChrisWriteEveryItemLine) {
  Prepare(Character::kChris, Difficulty::kNormal);
  window.SetChecked(kIdDoors, true);
  for (const DoorRow& row : kDoorTable) dlg.m_roomDoors[std::string(row.room)][row.door] = row.door;
  const std::string sheet = Sheet();
  EXPECT_EQ(CountItemLines(sheet), 185);
  EXPECT_EQ(sheet.find("NOT USED IN DOOR RANDOMIZER"), std::string::npos);
}

TEST_F(CheatSheetTest, EnemySectionFollowsTheItemsOnlyWhenEnemiesAreOn) {
  Prepare(Character::kJill, Difficulty::kNormal);
  dlg.m_enemyPositions = {{"Main Hall", {1}}, {"Art Room", {12}}, {"Aqua Ring Walkway", {11}}};
  const std::string last_item = Lines({"CELL", Same("Shotgun Shells")});

  const std::string without = Sheet();
  EXPECT_NE(without.find(last_item + Lines({"", "***Path to Victory***"})), std::string::npos);
  EXPECT_EQ(without.find("ENEMY RANDO POSITIONS"), std::string::npos);

  window.SetChecked(kIdEnemies, true);
  EXPECT_NE(Sheet().find(last_item +
                         Lines({"", "", "ENEMY RANDO POSITIONS", "",
                                "Aqua Ring Walkway:SLOW TYRANT", "Art Room:ELDER CRIMSON HEAD",
                                "Main Hall:HUNTERS", "", "***Path to Victory***"})),
            std::string::npos);
}

TEST_F(CheatSheetTest, JillLockpickAtTheEndgameDoorIsListedWithoutABlock) {
  Prepare(Character::kJill, Difficulty::kNormal);
  PrepareLocks(5);
  // Area 89 holds slots 33 to 35; -99 is the marker of a failed key lookup.
  dlg.m_areaRequirements[89] = {{0, {-1, 48}}, {1, {-99}}};
  const std::string sheet = Sheet();

  EXPECT_NE(sheet.find(Lines({"LOCK RANDO:",
                              "West Wing Inner Stairway -> Small Storeroom : "
                              "Old Key / Lockpick"})),
            std::string::npos);
  EXPECT_TRUE(HasLine(sheet, "Death Passage -> Library: Helmet Key"));
  EXPECT_TRUE(HasLine(sheet, "Main Hall -> C Corridor : Sword Key"));
  EXPECT_NE(sheet.find(Lines({"O Room -> Elevator Entry : Old Key / Lockpick",
                              "O Room -> Morgue : Power Area Key", "", "***Path to Victory***"})),
            std::string::npos);
  EXPECT_NE(
      sheet.find(Lines({"Fuel Supply Capsule (Empty)", "Lockpick", "",
                        "Items needed for Metal Object:", "\tLockpick", "\tDog Collar",
                        "OPTIONAL1:", "\tUnknown item -99", "",
                        "Items needed for Last Book Volume 1 - Medal of Eagle:", "\tNothing!"})),
      std::string::npos);
  EXPECT_TRUE(sheet.ends_with(Lines({"Items needed for Dog Collar:", "\tNothing!"})));
  EXPECT_EQ(sheet.find("Items needed for Lockpick"), std::string::npos);
  EXPECT_EQ(sheet.find("Items needed for Unknown"), std::string::npos);
}

TEST_F(CheatSheetTest, ChrisOldKeyLockAtTheEndgameDoorNeedsHisFiveOldKeys) {
  Prepare(Character::kChris, Difficulty::kNormal);
  PrepareLocks(5);
  const std::string sheet = Sheet();
  EXPECT_NE(sheet.find(Lines({"Fuel Supply Capsule (Empty)", "Old Key", "Old Key", "Old Key",
                              "Old Key", "Old Key", "", "Items needed for Metal Object:"})),
            std::string::npos);
  EXPECT_EQ(CountOf(sheet, "Items needed for Old Key:"), 5u);
}

TEST_F(CheatSheetTest, EndgameLockWithoutKeysLeavesAnUnknownItemOffTheWalk) {
  Prepare(Character::kJill, Difficulty::kNormal);
  PrepareLocks(7);  // a reversed one-way door has no keys
  const std::string sheet = Sheet();
  EXPECT_NE(sheet.find(Lines({"Fuel Supply Capsule (Empty)", "Unknown item -99", "",
                              "Items needed for Metal Object:"})),
            std::string::npos);
  EXPECT_EQ(sheet.find("Items needed for Unknown"), std::string::npos);
  EXPECT_TRUE(Log().starts_with("Writing to CheatSheetJillNormal.txt . . .-99 ERROR"));
  EXPECT_TRUE(Log().ends_with("done!\n"));
}

TEST_F(CheatSheetTest, UnlockedEndgameDoorAddsNoEndgameItem) {
  Prepare(Character::kJill, Difficulty::kNormal);
  PrepareLocks(15);
  EXPECT_NE(Sheet().find(
                Lines({"Required items to reach endgame:", "Metal Object",
                       "Last Book Volume 1 - Medal of Eagle", "Last Book Volume 2 - Medal of Wolf",
                       "Stone and Metal Object", "Jewelry Box 3 / Stone Ring",
                       "Fuel Supply Capsule (Empty)", "", "Items needed for Metal Object:"})),
            std::string::npos);
  EXPECT_EQ(Log(), "Writing to CheatSheetJillNormal.txt . . .done!\n");
}

TEST_F(CheatSheetTest, ArmedCapsuleStandsInForTheEmptyOneInTheWalk) {
  Prepare(Character::kChris, Difficulty::kNormal);
  // The empty capsule lies in slot 26 (area 37, which needs 100 and 11).
  std::swap(dlg.m_placement[26], dlg.m_placement[178]);
  window.SetChecked(kIdArmedCapsule, true);
  dlg.ApplyPoolModifiers();
  ASSERT_EQ(dlg.m_placement[26], kArmedFuelCapsule);

  const std::string sheet = Sheet();
  EXPECT_NE(sheet.find(Lines({"Items needed for Fuel Supply Capsule (Empty):",
                              "\tBook of Curses / Sword Key", "\tBroken Shotgun", ""})),
            std::string::npos);
  EXPECT_NE(sheet.find(Lines(
                {"Items needed for Broken Shotgun:", "\tBook of Curses / Sword Key", "\tOld Key"})),
            std::string::npos);
  EXPECT_TRUE(HasLine(sheet, "\tDagger is replaced with Fuel Supply Capsule (ARMED)"));
}

TEST_F(CheatSheetTest, AnItemInNoSlotIsReportedAsNotPlaced) {
  Prepare(Character::kJill, Difficulty::kNormal);
  dlg.m_placement[178] = 137;  // neither capsule lies anywhere
  const std::string sheet = Sheet();
  EXPECT_NE(sheet.find(Lines(
                {"", "Items needed for Fuel Supply Capsule (Empty):", "\tNot placed in this seed",
                 "", "Items needed for Key for the Power Area:"})),
            std::string::npos);
}

TEST_F(CheatSheetTest, SwapForChrisKeepsTheWalkInsideTheTables) {
  Prepare(Character::kChris, Difficulty::kNormal);
  // The endgame key lies in area 37, which needs the Broken Shotgun.
  std::swap(dlg.m_placement[26], dlg.m_placement[163]);
  window.SetChecked(kIdSwapSelfDefenseGun, true);
  dlg.ApplyPoolModifiers();
  const std::string sheet = Sheet();
  EXPECT_NE(sheet.find(Lines({"Items needed for Key for the Power Area:",
                              "\tBook of Curses / Sword Key", "\tBroken Shotgun", ""})),
            std::string::npos);
  EXPECT_NE(
      sheet.find(Lines({"Items needed for Broken Shotgun:", "\tBook of Curses / Sword Key",
                        "\tOld Key", "\tOld Key", "\tOld Key", "\tOld Key", "\tOld Key", ""})),
      std::string::npos);
  EXPECT_EQ(sheet.find("Not placed in this seed"), std::string::npos);
}

TEST_F(CheatSheetTest, UnwritableSheetIsLoggedAndKeepsTheFinalLabelHidden) {
  Prepare(Character::kJill, Difficulty::kHard);
  files.FailOn("CheatSheetJillHard.txt", "disk full");
  dlg.WriteSeedFiles();
  EXPECT_EQ(Log(),
            "Writing to ItemListJillHard.txt . . .done!\n"
            "Writing to CheatSheetJillHard.txt . . .FAILED: could not write "
            "CheatSheetJillHard.txt (disk full)\n");
  EXPECT_FALSE(window.IsControlVisible(kIdFinalLabel));
  EXPECT_TRUE(dlg.write_failed());
}

TEST_F(CheatSheetTest, SeedFilesWriteTheItemListThenTheSheetThenShowTheLabel) {
  Prepare(Character::kChris, Difficulty::kHard);
  dlg.WriteSeedFiles();
  EXPECT_EQ(Log(),
            "Writing to ItemListChrisHard.txt . . .done!\n"
            "Writing to CheatSheetChrisHard.txt . . .done!\n");
  EXPECT_EQ(files.files().size(), 2u);
  EXPECT_TRUE(files.files().at("CheatSheetChrisHard.txt").starts_with("Version 1.25\r\n"));
  EXPECT_TRUE(window.IsControlVisible(kIdFinalLabel));
}

}  // namespace
}  // namespace velmora
