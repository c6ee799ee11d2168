#include "output/SpoilerJson.h"

#include <gtest/gtest.h>

#include <map>
#include <nlohmann/json.hpp>
#include <numeric>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "app/ControlIds.h"
#include "app/MemoryWindow.h"
#include "app/VelmoraDlg.h"
#include "catalogue/ItemNames.h"
#include "catalogue/LockTypes.h"
#include "doors/LockPositions.h"
#include "output/CheatSheet.h"
#include "output/ItemList.h"
#include "output/OutputFiles.h"
#include "output/PlacementHash.h"

namespace velmora {
namespace {

using Json = nlohmann::json;

std::vector<std::string> SplitCrLf(const std::string& bytes) {
  std::vector<std::string> lines;
  for (size_t start = 0; start < bytes.size();) {
    const size_t end = bytes.find("\r\n", start);
    lines.push_back(bytes.substr(start, end - start));
    if (end == std::string::npos) break;
    start = end + 2;
  }
  return lines;
}

// --- The room of each slot ---

struct HeadingCase {
  Character character;
  Difficulty difficulty;
  int slot;
  const char* heading;
};

class SlotRoomHeadingTest : public ::testing::TestWithParam<HeadingCase> {};

TEST_P(SlotRoomHeadingTest, SlotStandsUnderTheHeadingOfTheCheatSheet) {
  const HeadingCase& c = GetParam();
  const std::vector<std::string> headings = SlotRoomHeadings(c.character, c.difficulty);
  ASSERT_EQ(headings.size(), static_cast<size_t>(kSlotCount));
  EXPECT_EQ(headings[c.slot], c.heading);
}

constexpr Character kJill = Character::kJill;
constexpr Character kChris = Character::kChris;
constexpr Difficulty kNormal = Difficulty::kNormal;
constexpr Difficulty kHard = Difficulty::kHard;

// Read off the heading table and the moved slots by hand.
INSTANTIATE_TEST_SUITE_P(
    Slots, SlotRoomHeadingTest,
    ::testing::Values(
        HeadingCase{kChris, kNormal, 0, "MAIN HALL"},
        HeadingCase{kJill, kNormal, 0, "SMALL LIBRARY"},        // moved before "BEDROOM"
        HeadingCase{kJill, kHard, 37, "OUTSIDE PATIO"},         // moved before "PILLAR ROOM"
        HeadingCase{kChris, kHard, 37, "EAST WING STOREROOM"},  // at its own place
        HeadingCase{kJill, kNormal, 75, "RESIDENCE MEDICAL ROOM"},
        HeadingCase{kChris, kNormal, 75, "SMALL DINING ROOM"},  // no "ATTIC ENTRY" for Chris
        HeadingCase{kJill, kNormal, 7, "NORTHERN CORRIDOR"},
        // Hidden on Hard, where the Normal-only heading is not written.
        HeadingCase{kJill, kHard, 7, "WEST WING OUTER STAIRWAY"},
        HeadingCase{kJill, kNormal, 39, "EAST WING STOREROOM"},  // hidden for Jill on Normal
        HeadingCase{kJill, kNormal, 184, "CELL"}));

struct Selection {
  Character character;
  Difficulty difficulty;
  bool doors;
};

class SlotRoomsAgreeWithSheetTest : public ::testing::TestWithParam<Selection> {};

// Every item line of a cheat sheet, read back under the last heading above
// it, stands under the heading that SlotRoomHeadings gives its slot.
TEST_P(SlotRoomsAgreeWithSheetTest, EveryItemLineStandsUnderItsSlotsHeading) {
  const Selection& s = GetParam();
  GeneratorState state;
  for (int id = 0; id < kItemCount; ++id) state.m_itemNames.push_back("i" + std::to_string(id));
  state.m_placement.resize(kSlotCount);
  std::iota(state.m_placement.begin(), state.m_placement.end(), 0);
  CheatSheetOptions options;
  options.character = s.character;
  options.difficulty = s.difficulty;
  options.doors = s.doors;
  const std::vector<std::string> lines = SplitCrLf(FormatCheatSheet(state, options));

  const std::vector<std::string> headings = SlotRoomHeadings(s.character, s.difficulty);
  std::string heading;
  int item_lines = 0;
  // The item section ends at the first empty line (the Path to Victory) or
  // at the door section.
  for (size_t i = 2; i < lines.size() && !lines[i].empty() && lines[i] != "DOOR RANDO:"; ++i) {
    const std::string& line = lines[i];
    if (line == "NOT USED IN DOOR RANDOMIZER") continue;
    if (line[0] != '\t') {
      heading = line;
      continue;
    }
    const int slot = std::stoi(line.substr(2, line.find(' ') - 2));
    EXPECT_EQ(headings[slot], heading) << "slot " << slot;
    ++item_lines;
  }
  EXPECT_GT(item_lines, 0);
}

INSTANTIATE_TEST_SUITE_P(Selections, SlotRoomsAgreeWithSheetTest,
                         ::testing::Values(Selection{kJill, kNormal, false},
                                           Selection{kJill, kHard, false},
                                           Selection{kChris, kNormal, false},
                                           Selection{kChris, kHard, false},
                                           Selection{kJill, kNormal, true}));

// --- The playthrough of a handmade placement ---

// Every slot in area 0, which needs nothing, except: slot 5 in area 1 (needs
// item 20), slot 9 in area 2 (item 5 or item 30), slot 20 in area 3 (item
// 99). Items 9 and 20 trade places, and item 30 also replaces item 21.
// Worked out by hand: sphere 0 finds everything in area 0, that is every item
// but 5, 9, 20 and 21 (item 30 at slots 21 and 30); sphere 1 enters area 2
// (item 30) and area 3 (item 99) and finds item 20 at slot 9 and item 9 at
// slot 20; sphere 2 enters area 1 and finds item 5.
class HandmadePlaythroughTest : public ::testing::Test {
 protected:
  HandmadePlaythroughTest() : dlg(window, files) {
    dlg.OnInitDialog();
    dlg.FillItemNames();
    dlg.m_placement.resize(kSlotCount);
    std::iota(dlg.m_placement.begin(), dlg.m_placement.end(), 0);
    std::swap(dlg.m_placement[9], dlg.m_placement[20]);
    dlg.m_placement[21] = 30;
    dlg.m_slotArea.assign(kSlotCount, 0);
    dlg.m_slotArea[5] = 1;
    dlg.m_slotArea[9] = 2;
    dlg.m_slotArea[20] = 3;
    dlg.m_areaRequirements[1][0] = {20};
    dlg.m_areaRequirements[2][1] = {5};
    dlg.m_areaRequirements[2][2] = {30};
    dlg.m_areaRequirements[3][0] = {99};
  }
  std::string Name(int id) const { return dlg.m_itemNames[id]; }

  MemoryWindow window;
  MemoryOutputFiles files;
  CVelmoraDlg dlg;
};

TEST_F(HandmadePlaythroughTest, SlotRoundsFollowTheRoundsOfTheNeededItems) {
  std::vector<int> round0;
  for (int id = 0; id < kSlotCount; ++id)
    if (id != 5 && id != 9 && id != 20 && id != 21) round0.push_back(id);
  const std::vector<int> rounds = SlotRounds(dlg, {round0, {9, 20}, {5}});
  EXPECT_EQ(rounds[0], 0);
  EXPECT_EQ(rounds[21], 0);
  EXPECT_EQ(rounds[9], 1);
  EXPECT_EQ(rounds[20], 1);
  EXPECT_EQ(rounds[5], 2);
  // Without item 99 area 3 is never entered.
  round0.erase(std::find(round0.begin(), round0.end(), 99));
  EXPECT_EQ(SlotRounds(dlg, {round0, {9, 20}, {5}})[20], -1);
}

TEST_F(HandmadePlaythroughTest, SpheresListEachItemWhereItIsFoundAndWhatItNeeds) {
  const Json spoiler = Json::parse(FormatSpoilerJson(dlg, "SETTINGS"));
  const Json& spheres = spoiler["playthrough"]["spheres"];
  ASSERT_EQ(spheres.size(), 3u);
  EXPECT_TRUE(spoiler["playthrough"]["all_items_collected"].get<bool>());

  const Json& first = spheres[0]["items"];
  EXPECT_EQ(first.size(), 181u);  // 185 ids but 5, 9, 20 and 21
  const auto item30 =
      std::find_if(first.begin(), first.end(), [](const Json& item) { return item["id"] == 30; });
  ASSERT_NE(item30, first.end());
  ASSERT_EQ((*item30)["found_at"].size(), 2u);
  EXPECT_EQ((*item30)["found_at"][0]["slot"], 21);
  EXPECT_EQ((*item30)["found_at"][1]["slot"], 30);

  const Json expected_second =
      Json::parse(R"([
    {"id": 9, "name": ")" +
                  Name(9) + R"(", "found_at": [{"slot": 20, "room": "L CORRIDOR",
      "area": 3, "needs": {"all": [")" +
                  Name(99) + R"("], "one_of": []}}]},
    {"id": 20, "name": ")" +
                  Name(20) + R"(", "found_at": [{"slot": 9, "room": "RESEARCHER'S BEDROOM",
      "area": 2, "needs": {"all": [], "one_of": [[")" +
                  Name(5) + R"("], [")" + Name(30) + R"("]]}}]}])");
  EXPECT_EQ(spheres[1]["items"], expected_second);
  EXPECT_EQ(spheres[2]["items"][0]["id"], 5);
  EXPECT_EQ(spheres[2]["items"][0]["found_at"][0]["needs"]["all"], Json::array({Name(20)}));
}

// --- Whole generations against the item list and the cheat sheet ---

struct GenerationCase {
  const char* name;
  Character character = kJill;
  Difficulty difficulty = kNormal;
  bool items = true, enemies = false, doors = false, locks = false;
  bool remove_healing = false, armed_capsule = false;
  uint32_t seed = 1;
};

class GeneratedSpoilerTest : public ::testing::TestWithParam<GenerationCase> {};

TEST_P(GeneratedSpoilerTest, HoldsWhatTheItemListAndCheatSheetHold) {
  const GenerationCase& c = GetParam();
  MemoryWindow window;
  MemoryOutputFiles files;
  CVelmoraDlg dlg(window, files);
  dlg.OnInitDialog();
  window.Click(c.character == kChris ? kIdChris : kIdJill);
  window.Click(c.difficulty == kHard ? kIdHard : kIdNormal);
  if (!c.items) window.Click(kIdItems);
  if (c.enemies) {
    window.Click(kIdEnemies);
    dlg.OnBnClickedEnemies();
  }
  if (c.doors) {
    window.Click(kIdDoors);
    dlg.OnBnClickedDoors();
  }
  if (c.locks) window.Click(kIdLocks);
  if (c.remove_healing) window.Click(kIdRemoveHealing);
  if (c.armed_capsule) window.Click(kIdArmedCapsule);
  dlg.SetSeedSource([&] { return c.seed; });
  dlg.OnBnClickedGenerateSeed();
  ASSERT_FALSE(dlg.write_failed());

  const std::string list_bytes = files.files().at(ItemListFileName(c.character, c.difficulty));
  const std::vector<std::string> list = SplitCrLf(list_bytes);
  const std::vector<std::string> sheet =
      SplitCrLf(files.files().at(CheatSheetFileName(c.character, c.difficulty)));
  const std::set<std::string> sheet_lines(sheet.begin(), sheet.end());
  const Json j = Json::parse(FormatSpoilerJson(dlg, "0123456789ABCD"));

  EXPECT_EQ(j["settings"], "0123456789ABCD");
  EXPECT_EQ(j["seed"], c.seed);
  EXPECT_EQ(j["hash"], PlacementHash(list_bytes));
  EXPECT_EQ(j["options"]["character"], c.character == kChris ? "Chris" : "Jill");
  EXPECT_EQ(j["options"]["difficulty"], c.difficulty == kHard ? "Hard" : "Normal");
  EXPECT_EQ(j["options"]["items"], c.items);
  EXPECT_EQ(j["options"]["locks"], c.locks);
  EXPECT_EQ(j["options"]["remove_healing"], c.remove_healing);
  EXPECT_EQ(j["options"]["enemy_panel"].is_null(), !c.enemies);
  // The attempts count is the one the log reported for the item shuffle.
  std::smatch attempts;
  const std::string log = window.GetControlText(kIdStatus);
  if (std::regex_search(log, attempts, std::regex("Items[. ]*done after (\\d+) attempts!")))
    EXPECT_EQ(j["item_attempts"], std::stoull(attempts[1])) << log;
  else
    EXPECT_TRUE(!c.items || c.doors) << log;

  // Slots: line s+1 of the item list; every item line of the sheet.
  const Json& slots = j["slots"];
  ASSERT_EQ(slots.size(), static_cast<size_t>(kSlotCount));
  const std::vector<std::string> headings = SlotRoomHeadings(c.character, c.difficulty);
  std::set<std::string> slot_lines;
  for (int s = 0; s < kSlotCount; ++s) {
    const Json& slot = slots[s];
    EXPECT_EQ(slot["slot"], s);
    EXPECT_EQ(slot["original_item"]["id"], s);
    EXPECT_EQ(std::to_string(slot["new_item"]["id"].get<int>()), list[s]) << "slot " << s;
    EXPECT_EQ(slot["room"], headings[s]);
    EXPECT_EQ(slot["area"], dlg.m_slotArea[s]);
    EXPECT_EQ(slot.contains("used_in_door_mode"), c.doors);
    slot_lines.insert("\t" + slot["original_item"]["name"].get<std::string>() +
                      " is replaced with " + slot["new_item"]["name"].get<std::string>());
  }
  int sheet_item_lines = 0;
  for (const std::string& line : sheet) {
    if (line.find(" is replaced with ") == std::string::npos) continue;
    ++sheet_item_lines;
    EXPECT_TRUE(slot_lines.count(line)) << line;
  }
  EXPECT_GT(sheet_item_lines, 100);

  // Enemies: the enemy section of the item list and the sheet's lines.
  if (c.enemies) {
    ASSERT_EQ(j["enemies"].size(), 53u);
    for (size_t i = 0; i < 53; ++i) {
      const Json& enemy = j["enemies"][i];
      EXPECT_EQ(std::to_string(enemy["kind"].get<int>()), list[186 + i]);
      EXPECT_TRUE(sheet_lines.count(enemy["position"].get<std::string>() + ":" +
                                    enemy["name"].get<std::string>()));
    }
  } else {
    EXPECT_TRUE(j["enemies"].is_null());
  }

  // Doors: the door section and the sheet's "room:door:value" lines.
  if (c.doors) {
    ASSERT_EQ(j["doors"].size(), 264u);
    for (int n = 0; n < 264; ++n) {
      const Json& door = j["doors"][n];
      EXPECT_EQ(door["door"], n);
      EXPECT_EQ(std::to_string(door["value"].get<int>()), list[240 + n]);
      EXPECT_TRUE(sheet_lines.count(door["room"].get<std::string>() + ":" + std::to_string(n) +
                                    ":" + std::to_string(door["value"].get<int>())));
    }
    // Fixed in every seed: 28 leads to Fountain 139, 199 back to itself,
    // 85 takes no passage.
    EXPECT_EQ(j["doors"][28]["leads_to"], Json::parse(R"({"room": "Fountain", "door": 139})"));
    EXPECT_EQ(j["doors"][199]["leads_to"], Json::parse(R"({"room": "Gallery", "door": 199})"));
    EXPECT_TRUE(j["doors"][85]["leads_to"].is_null());
  } else {
    EXPECT_TRUE(j["doors"].is_null());
  }

  // Locks: the lock section and the sheet's label-and-name lines.
  if (c.locks) {
    ASSERT_EQ(j["locks"].size(), 38u);
    for (size_t p = 0; p < 38; ++p) {
      const Json& lock = j["locks"][p];
      EXPECT_EQ(std::to_string(lock["type"].get<int>()), list[505 + p]);
      EXPECT_TRUE(sheet_lines.count(std::string(kLockPositions[p].label) +
                                    lock["name"].get<std::string>()));
    }
    EXPECT_EQ(j["locks"][0]["label"], "West Wing Inner Stairway -> Small Storeroom");
    EXPECT_EQ(j["locks"][27]["label"], "Death Passage -> Library");
  } else {
    EXPECT_TRUE(j["locks"].is_null());
  }

  // The playthrough: each item in one sphere at most, at slots that hold it;
  // for a shuffle, which passed the progression check, every item of the
  // placement. (Chris's unshuffled placement does not pass it.)
  const Json& spheres = j["playthrough"]["spheres"];
  if (c.doors) {
    EXPECT_TRUE(spheres.is_null());
    EXPECT_TRUE(j["playthrough"]["note"].is_string());
    return;
  }
  std::set<int> placed(dlg.m_placement.begin(), dlg.m_placement.end());
  std::multiset<int> collected;
  for (const Json& sphere : spheres) {
    for (const Json& item : sphere["items"]) {
      collected.insert(item["id"].get<int>());
      EXPECT_FALSE(item["found_at"].empty());
      for (const Json& at : item["found_at"])
        EXPECT_EQ(dlg.m_placement[at["slot"].get<int>()], item["id"]);
    }
  }
  EXPECT_EQ(std::set<int>(collected.begin(), collected.end()).size(), collected.size())
      << "an item in two spheres";
  if (c.items) {
    EXPECT_EQ(std::set<int>(collected.begin(), collected.end()), placed);
    EXPECT_TRUE(j["playthrough"]["all_items_collected"].get<bool>());
  }
}

INSTANTIATE_TEST_SUITE_P(
    Seeds, GeneratedSpoilerTest,
    ::testing::Values(
        GenerationCase{.name = "JillNormalItems", .seed = 1},
        GenerationCase{.name = "JillHardItemsEnemies", .difficulty = kHard, .enemies = true,
                       .seed = 2},
        GenerationCase{.name = "ChrisNormalItems", .character = kChris, .seed = 4},
        GenerationCase{.name = "JillLocksEnemies", .enemies = true, .locks = true, .seed = 3},
        GenerationCase{.name = "ChrisDoorsEnemies", .character = kChris, .enemies = true,
                       .doors = true, .seed = 11},
        GenerationCase{.name = "JillDoors", .doors = true, .seed = 12},
        GenerationCase{.name = "ChrisNoItemsRemoveHealing", .character = kChris, .items = false,
                       .remove_healing = true, .seed = 5},
        // The armed capsule replaces the empty one (178) that the area
        // rules name: area 39 needs it, and the Cell (area 40) needs area 39.
        GenerationCase{.name = "JillArmedCapsuleRemoveHealing", .remove_healing = true,
                       .armed_capsule = true, .seed = 2}),
    [](const ::testing::TestParamInfo<GenerationCase>& param) { return param.param.name; });

}  // namespace
}  // namespace velmora
