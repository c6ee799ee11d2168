#include "catalogue/AreaTables.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <vector>

namespace velmora {
namespace {

// The areas of a few slots, by hand from the game: the last slot of a
// range, slots alone in their area and the slots whose area differs for
// Chris, in the plain and the lock-mode numbering.
struct SlotAreaCase {
  int slot, jill_plain, chris_plain, jill_lock, chris_lock;
};
constexpr SlotAreaCase kSlotAreaCases[] = {
    {0, 7, 2, 121, 69},      {6, 2, 2, 69, 69},       {37, 4, 7, 85, 87},
    {76, 25, 17, 106, 97},   {94, 25, 7, 106, 98},    {100, 5, 5, 71, 71},
    {149, 25, 25, 106, 106}, {183, 39, 39, 123, 123}, {184, 40, 40, 124, 124},
};

struct AreaCase {
  Character character;
  bool lock_mode;
};

class SlotAreasOfEveryCase : public testing::TestWithParam<AreaCase> {};

TEST_P(SlotAreasOfEveryCase, GiveEverySlotAnAreaAndTheseSlotsTheGameArea) {
  const auto [character, lock_mode] = GetParam();
  const std::vector<int> areas = SlotAreas(character, lock_mode);
  ASSERT_EQ(areas.size(), 185u);
  EXPECT_EQ(std::count(areas.begin(), areas.end(), -1), 0);
  for (const SlotAreaCase& c : kSlotAreaCases) {
    const int jill = lock_mode ? c.jill_lock : c.jill_plain;
    const int chris = lock_mode ? c.chris_lock : c.chris_plain;
    EXPECT_EQ(areas[c.slot], character == Character::kJill ? jill : chris) << "slot " << c.slot;
  }
}

INSTANTIATE_TEST_SUITE_P(
    BothCharactersBothNumberings, SlotAreasOfEveryCase,
    testing::Values(AreaCase{Character::kJill, false}, AreaCase{Character::kJill, true},
                    AreaCase{Character::kChris, false}, AreaCase{Character::kChris, true}),
    [](const testing::TestParamInfo<AreaCase>& param_info) {
      return std::string(param_info.param.character == Character::kJill ? "Jill" : "Chris") +
             (param_info.param.lock_mode ? "LockMode" : "Plain");
    });

// The Fuse Unit may only lie in the power areas and the fuse room.
TEST(PlainForbiddenAreas, OldKeysForChrisOnlyTheLighterForJillOnlyTheFuseUnitForBoth) {
  const auto jill = PlainForbiddenAreas(Character::kJill);
  const auto chris = PlainForbiddenAreas(Character::kChris);
  for (const auto& forbidden : {jill.at(kFuseUnit), chris.at(kFuseUnit)}) {
    std::vector<int> allowed;
    for (int area = 0; area <= 40; ++area)
      if (std::find(forbidden.begin(), forbidden.end(), area) == forbidden.end())
        allowed.push_back(area);
    EXPECT_EQ(allowed, (std::vector<int>{33, 34, 39}));
  }
  EXPECT_EQ(jill.size(), 47u);
  EXPECT_EQ(chris.size(), 51u);
  for (int old_key : {9, 32, 37, 85, 94}) {
    EXPECT_EQ(jill.count(old_key), 0u) << old_key;
    EXPECT_EQ(chris.count(old_key), 1u) << old_key;
  }
  EXPECT_EQ(chris.count(0), 0u);
  EXPECT_EQ(chris.at(32), (std::vector<int>{11, 12, 36, 39, 40, 12}));
}

using Lists = std::map<int, std::vector<int>>;

TEST(PlainAreaRequirements, ChrisNeedsTheOldKeysAndTheSpencerKeyItemsBesides) {
  const AreaRequirements jill = PlainAreaRequirements(Character::kJill);
  const AreaRequirements chris = PlainAreaRequirements(Character::kChris);
  const std::vector<int> old_keys = {9, 32, 37, 85, 94};
  ASSERT_EQ(jill.size(), chris.size());
  for (const auto& [area, jill_lists] : jill) {
    Lists expected = jill_lists;
    if (area == 11 || area == 12 || area == 13 || area == 36)
      expected[0].insert(expected[0].end(), old_keys.begin(), old_keys.end());
    if (area == 33) expected[0].insert(expected[0].end(), {61, 24});
    EXPECT_EQ(chris.at(area), expected) << "area " << area;
  }
  EXPECT_EQ(jill.at(11), (Lists{{0, {100}}}));
  EXPECT_EQ(chris.at(11), (Lists{{0, {100, 9, 32, 37, 85, 94}}}));
}

TEST(LockModeFuseForbiddenAreas, HoldsEveryLockModeAreaButThePowerAreaAndTheFuseRoom) {
  const auto areas = LockModeFuseForbiddenAreas();
  EXPECT_EQ(areas.size(), 53u);
  EXPECT_EQ(areas.front(), 69);
  EXPECT_EQ(areas.back(), 124);
  for (int allowed : {73, 115, 123})
    EXPECT_EQ(std::count(areas.begin(), areas.end(), allowed), 0) << allowed;
  EXPECT_TRUE(std::is_sorted(areas.begin(), areas.end()));
  EXPECT_EQ(std::adjacent_find(areas.begin(), areas.end()), areas.end());
}

}  // namespace
}  // namespace velmora
