#include "output/SpoilerJson.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <numeric>
#include <regex>
#include <string>
#include <utility>
#include <vector>

#include "catalogue/LockTypes.h"
#include "doors/DoorTables.h"
#include "doors/LockPositions.h"
#include "enemies/EnemyPositions.h"
#include "output/CheatSheet.h"
#include "output/ItemList.h"
#include "output/PlacementHash.h"
#include "output/test_support.h"

namespace velmora {
namespace {

using Json = nlohmann::json;

// Every slot in area 0, which needs nothing, except: slot 5 in area 1 (needs
// item 20), slot 9 in area 2 (item 5 or item 30), slot 20 in area 3 (item
// 99). Items 9 and 20 trade places, and item 30 also replaces item 21.
// Worked out by hand: sphere 0 finds everything in area 0, that is every item
// but 5, 9, 20 and 21 (item 30 at slots 21 and 30); sphere 1 enters area 2
// (item 30) and area 3 (item 99) and finds item 20 at slot 9 and item 9 at
// slot 20; sphere 2 enters area 1 and finds item 5.
class HandmadePlaythroughTest : public DialogTest {
 protected:
  HandmadePlaythroughTest() {
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
};

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
  EXPECT_EQ((*item30)["found_at"][0]["slot"], 21);
  EXPECT_EQ((*item30)["found_at"][1]["slot"], 30);
  EXPECT_EQ((*item30)["found_at"].size(), 2u);

  const Json expected_second = Json::parse(
      R"([{"id": 9, "name": ")" + Name(9) + R"(", "found_at": [{"slot": 20, "room": "L CORRIDOR",
      "area": 3, "needs": {"all": [")" + Name(99) + R"("], "one_of": []}}]},
    {"id": 20, "name": ")" + Name(20) + R"(", "found_at": [{"slot": 9,
      "room": "RESEARCHER'S BEDROOM", "area": 2, "needs": {"all": [], "one_of": [[")" + Name(5) +
      R"("], [")" + Name(30) + R"("]]}}]}])");
  EXPECT_EQ(spheres[1]["items"], expected_second);
  EXPECT_EQ(spheres[2]["items"][0]["id"], 5);
  EXPECT_EQ(spheres[2]["items"][0]["found_at"][0]["needs"]["all"], Json::array({Name(20)}));
}

// The armed capsule stands for the empty one it replaced, which area 3 now
// needs: found where it lies in sphere 0, it opens area 3 in sphere 1.
TEST_F(HandmadePlaythroughTest, TheArmedCapsuleCountsAsTheEmptyOne) {
  dlg.m_placement[178] = 185;
  dlg.m_areaRequirements[3][0] = {178};
  const Json spheres = Json::parse(FormatSpoilerJson(dlg, ""))["playthrough"]["spheres"];
  const Json& first = spheres[0]["items"];
  const auto armed =
      std::find_if(first.begin(), first.end(), [](const Json& item) { return item["id"] == 185; });
  ASSERT_NE(armed, first.end());
  EXPECT_EQ((*armed)["found_at"][0]["slot"], 178);
  EXPECT_EQ(spheres[1]["items"][0]["found_at"][0]["slot"], 20);
}

// --- Whole generations against the item list ---

TEST(GeneratedSpoilerTest, HoldsWhatTheItemListHolds) {
  struct Case {
    const char* name;
    Generation g;
  };
  for (const auto& [name, c] :
       {Case{"JillHardItemsEnemies", {.difficulty = kHard, .enemies = true, .seed = 2}},
        Case{"JillLocksEnemies", {.enemies = true, .locks = true, .seed = 3}},
        Case{"ChrisDoorsEnemies",
             {.character = kChris, .enemies = true, .doors = true, .seed = 11}},
        Case{"ChrisNoItemsRemoveHealing",
             {.character = kChris, .items = false, .remove_healing = true, .seed = 5}}}) {
    SCOPED_TRACE(name);
    GeneratedSeed run(c);
    const CVelmoraDlg& dlg = run.dlg;
    ASSERT_FALSE(dlg.write_failed());

    const std::string list_bytes =
        run.files.files().at(ItemListFileName(c.character, c.difficulty));
    const std::vector<std::string> list = SplitCrLf(list_bytes);
    const Json j = Json::parse(FormatSpoilerJson(dlg, "0123456789ABCD"));

    EXPECT_EQ(j["seed"], c.seed);
    // The cheat sheet's version text stays as it was; the program's build
    // stands beside it.
    EXPECT_EQ(j["version"], "Version 1.25");
    EXPECT_EQ(j["program"]["version"], "1.25");
    EXPECT_TRUE(std::regex_match(j["program"]["commit"].get<std::string>(),
                                 std::regex("[0-9a-f]{12}|unknown")));
    EXPECT_EQ(j["hash"], PlacementHash(list_bytes));
    const Json& options = j["options"];
    EXPECT_EQ(options["character"], c.character == kChris ? "Chris" : "Jill");
    EXPECT_EQ(options["difficulty"], c.difficulty == kHard ? "Hard" : "Normal");
    EXPECT_EQ(std::vector<bool>({options["items"], options["locks"], options["remove_healing"],
                                 options["enemy_panel"].is_null()}),
              std::vector<bool>({c.items, c.locks, c.remove_healing, !c.enemies}));
    // The attempts count is the one the log reported for the item shuffle.
    std::smatch attempts;
    const std::string log = run.window.GetControlText(kIdStatus);
    if (std::regex_search(log, attempts, std::regex("Items[. ]*done after (\\d+) attempts!")))
      EXPECT_EQ(j["item_attempts"], std::stoull(attempts[1])) << log;
    else
      EXPECT_TRUE(!c.items || c.doors) << log;

    // Slot s holds the item of line s+1 of the item list, under its heading.
    const Json& slots = j["slots"];
    ASSERT_EQ(slots.size(), static_cast<size_t>(kSlotCount));
    const std::vector<std::string> headings = SlotRoomHeadings(c.character, c.difficulty);
    for (int s = 0; s < kSlotCount; ++s) {
      EXPECT_EQ(std::to_string(slots[s]["new_item"]["id"].get<int>()), list[s]) << "slot " << s;
      EXPECT_EQ(slots[s]["room"], headings[s]);
      EXPECT_EQ(slots[s].contains("used_in_door_mode"), c.doors);
    }

    // The enemy, door and lock sections: the lines of the item list from `first` on.
    auto section = [&](const char* key, bool on, size_t count, size_t first, const char* field) {
      EXPECT_EQ(j[key].is_null(), !on) << key;
      ASSERT_EQ(j[key].size(), on ? count : 0u) << key;
      for (size_t i = 0; i < j[key].size(); ++i)
        EXPECT_EQ(std::to_string(j[key][i][field].get<int>()), list[first + i]) << key << " " << i;
    };
    // Each section's lines follow its marker line.
    const size_t enemies_from = kSlotCount + 1, doors_from = enemies_from + kEnemyPositionCount + 1;
    section("enemies", c.enemies, kEnemyPositionCount, enemies_from, "kind");
    section("doors", c.doors, kDoorCount, doors_from, "value");
    section("locks", c.locks, kLockPositionCount, doors_from + kDoorCount + 1, "type");
    if (c.doors) {
      // Fixed in every seed: 28 leads to Fountain 139, 199 back to itself,
      // 85 takes no passage.
      EXPECT_EQ(j["doors"][28]["leads_to"], Json::parse(R"({"room": "Fountain", "door": 139})"));
      EXPECT_EQ(j["doors"][199]["leads_to"], Json::parse(R"({"room": "Gallery", "door": 199})"));
      EXPECT_TRUE(j["doors"][85]["leads_to"].is_null());
    }
    if (c.locks) {
      EXPECT_EQ(j["locks"][27]["label"], "Death Passage -> Library");
      EXPECT_EQ(j["locks"][27]["name"], LockTypeDisplayName(dlg.m_lockTypes[27]));
    }

    // A door seed has no playthrough; the others' spheres are pinned by hand
    // above and checked against the progression check in the items tests.
    EXPECT_EQ(j["playthrough"]["spheres"].is_null(), c.doors);
    EXPECT_EQ(j["playthrough"].contains("note") && j["playthrough"]["note"].is_string(), c.doors);
  }
}

}  // namespace
}  // namespace velmora
