#include "catalogue/ItemNames.h"

#include <gtest/gtest.h>

#include <set>

namespace velmora {
namespace {

struct NamesOfOneId {
  int id;
  const char* jill_normal;
  const char* jill_hard;
  const char* chris_normal;
  const char* chris_hard;
};

class NamesThatDependOnTheSelection : public testing::TestWithParam<NamesOfOneId> {};

TEST_P(NamesThatDependOnTheSelection, MatchTheGame) {
  const NamesOfOneId& row = GetParam();
  EXPECT_EQ(ItemName(row.id, Character::kJill, Difficulty::kNormal), row.jill_normal);
  EXPECT_EQ(ItemName(row.id, Character::kJill, Difficulty::kHard), row.jill_hard);
  EXPECT_EQ(ItemName(row.id, Character::kChris, Difficulty::kNormal), row.chris_normal);
  EXPECT_EQ(ItemName(row.id, Character::kChris, Difficulty::kHard), row.chris_hard);
}

INSTANTIATE_TEST_SUITE_P(
    ByCharacterDifficultyOrBoth, NamesThatDependOnTheSelection,
    testing::Values(NamesOfOneId{0, "Lighter", "Lighter", "Jill's Handgun", "Jill's Handgun"},
                    NamesOfOneId{45, "First Aid Spray (after getting plant 42 item)",
                                 "Shotgun Shells (after getting plant 42 item)",
                                 "First Aid Spray (after getting plant 42 item)",
                                 "Shotgun Shells (after getting plant 42 item)"},
                    NamesOfOneId{46, "Grenade Shells (after getting plant 42 item)",
                                 "Dagger (after getting plant 42 item)",
                                 "Shotgun Shells (after getting plant 42 item)",
                                 "Dagger (after getting plant 42 item)"},
                    NamesOfOneId{57, "Acid Shells", "Magnum Rounds", "Shotgun Shells (Right)",
                                 "Magnum Rounds"},
                    NamesOfOneId{125, "Red Herb", "Green Herb", "Red Herb", "Green Herb"}),
    [](const testing::TestParamInfo<NamesOfOneId>& param_info) {
      return "Id" + std::to_string(param_info.param.id);
    });

// Every name of a group must be spelled as the table spells it, or the
// modifiers never match it.
TEST(NameGroups, EveryGroupNameOccursInTheTableOfSomeSelection) {
  std::set<std::string> all_names;
  for (const Selection& s : kSelections)
    for (const std::string& name : ItemNames(s.character, s.difficulty)) all_names.insert(name);
  std::vector<std::string_view> grouped;
  grouped.insert(grouped.end(), kHealingItemNames.begin(), kHealingItemNames.end());
  grouped.insert(grouped.end(), kAmmunitionNames.begin(), kAmmunitionNames.end());
  grouped.insert(grouped.end(), kInkRibbonNames.begin(), kInkRibbonNames.end());
  grouped.insert(grouped.end(), kDefenceItemNames.begin(), kDefenceItemNames.end());
  grouped.insert(grouped.end(), kFurtherSwapItemNames.begin(), kFurtherSwapItemNames.end());
  for (std::string_view name : grouped) EXPECT_TRUE(all_names.count(std::string(name))) << name;
  EXPECT_EQ(std::set<std::string_view>(grouped.begin(), grouped.end()).size(), grouped.size())
      << "a name is in two groups";
}

}  // namespace
}  // namespace velmora
