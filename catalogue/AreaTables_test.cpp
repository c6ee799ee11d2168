#include "catalogue/AreaTables.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "app/DialogFixture_test.h"
#include "catalogue/ItemNames.h"

namespace velmora {
namespace {

// Jill's area of every slot, slot by slot (the catalogue writes them area by
// area), fifteen slots a line.
// clang-format off
constexpr int kJillPlainAreaBySlot[185] = {
      7,   2,   2,   3,   2,   2,   2,   9,   9,   9,  11,  11,  11,  15,  16,  // 0
      4,  14,   2,   9,   2,   7,   7,   8,   8,   8,   8,  37,  37,  11,  11,  // 15
     11,  11,   7,  18,  18,  18,   7,   4,   9,   9,   9,  19,  19,  19,  27,  // 30
     27,  27,  10,  36,   2,   2,   2,   2,  10,  10,  10,  10,  10,  10,  10,  // 45
     10,  10,  10,  10,   8,   8,   8,   4,   4,   4,   9,   9,  38,   9,  38,  // 60
     25,  25,  17,   7,   9,  10,   7,   7,   7,   9,  25,   9,   9,   9,  12,  // 75
     12,  12,  13,   7,  25,  10,  10,  10,  10,  10,   5,   6,   6,  20,  20,  // 90
     20,  21,  19,  19,  19,  22,  29,  30,  29,  29,  29,  29,  30,  30,  30,  // 105
     30,  30,  30,  31,  31,  31,  31,  31,  31,  32,  32,  32,  22,  22,  22,  // 120
     22,  22,  23,  23,  23,  22,  22,  22,  22,  22,  22,  25,  25,  26,  25,  // 135
     27,  22,  28,  28,  28,  28,  33,  33,  33,  33,  33,  33,  33,  33,  33,  // 150
     33,  33,  33,  33,  33,  33,  33,  33,  34,  34,  34,  34,  34,  34,  34,  // 165
     39,  39,  39,  39,  40,                                                   // 180
};

constexpr int kJillLockModeAreaBySlot[185] = {
    121,  69,  69,  70,  69,  69,  69,  79,  83,  83,  77,  77,  77,  80,  81,  // 0
     75,  82,  69,  90,  69, 119, 119,  74,  74,  74,  74, 116, 116,  88,  88,  // 15
     88,  88, 119,  89,  89,  89,  87,  85, 117, 117, 117, 101, 101, 101, 108,  // 30
    108, 108,  99,  86,  69,  69,  69,  69, 100, 100, 100, 100, 100, 100, 100,  // 45
     78,  78,  78,  78,  84,  84,  84,  85,  85,  85,  94,  94,  95,  94,  95,  // 60
    106, 106,  97, 121,  96, 118,  87, 121, 121,  91, 106,  91,  91,  91,  92,  // 75
     92,  92,  93,  98, 106,  99,  99,  99,  99,  99,  71,  72,  72, 102, 102,  // 90
    102, 103, 101, 101, 101, 104, 110, 111, 110, 110, 110, 110, 111, 111, 111,  // 105
    111, 111, 111, 112, 112, 112, 112, 112, 112, 112, 112, 112, 104, 104, 104,  // 120
    104, 104, 105, 105, 105, 104, 104, 104, 104, 104, 104, 106, 106, 106, 106,  // 135
    108, 104, 109, 109, 109, 109,  73,  73,  73,  73,  73,  73,  73,  73,  73,  // 150
     73,  73,  73,  73,  73,  73,  73,  73, 114, 114, 115, 115, 115, 115, 115,  // 165
    123, 123, 123, 123, 124,                                                   // 180
};
// clang-format on

struct ChrisSlot {
  int slot, plain, lock_mode;
};
// The slots whose area differs for Chris.
constexpr ChrisSlot kChrisSlots[] = {
    {0, 2, 69}, {37, 7, 87}, {72, 9, 94}, {74, 9, 94},
    {75, 9, 94}, {76, 17, 97}, {85, 9, 91}, {94, 7, 98},
};

struct AreaCase {
  Character character;
  bool lock_mode;
};

class SlotAreasOfEveryCase : public testing::TestWithParam<AreaCase> {};

TEST_P(SlotAreasOfEveryCase, GiveEverySlotTheGameArea) {
  const auto [character, lock_mode] = GetParam();
  std::vector<int> expected(lock_mode ? std::begin(kJillLockModeAreaBySlot)
                                      : std::begin(kJillPlainAreaBySlot),
                            lock_mode ? std::end(kJillLockModeAreaBySlot)
                                      : std::end(kJillPlainAreaBySlot));
  if (character == Character::kChris)
    for (const ChrisSlot& c : kChrisSlots) expected[c.slot] = lock_mode ? c.lock_mode : c.plain;

  EXPECT_EQ(SlotAreas(character, lock_mode), expected);
}

// The dialog's table fillers read the checked character, difficulty and locks.
TEST_P(SlotAreasOfEveryCase, FillersReadTheCheckedCharacterDifficultyAndLocks) {
  const auto [character, lock_mode] = GetParam();
  for (Difficulty difficulty : {kNormal, kHard}) {
    DialogFixture fixture;
    MemoryWindow& window = fixture.window;
    CVelmoraDlg& dlg = fixture.dlg;
    if (character == Character::kChris) window.Click(kIdChris);
    if (difficulty == Difficulty::kHard) window.Click(kIdHard);
    if (lock_mode) window.Click(kIdLocks);

    dlg.FillSlotAreas();
    dlg.FillItemNames();
    dlg.FillPlainAreaTables();

    EXPECT_EQ(dlg.m_slotArea, SlotAreas(character, lock_mode));
    EXPECT_EQ(dlg.m_itemNames, ItemNames(character, difficulty));
    EXPECT_EQ(dlg.m_itemForbiddenAreas, PlainForbiddenAreas(character));
    EXPECT_EQ(dlg.m_areaRequirements, PlainAreaRequirements(character));
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

class ForbiddenAreasOfEachCharacter : public testing::TestWithParam<Character> {};

TEST_P(ForbiddenAreasOfEachCharacter, FuseUnitMayOnlyLieInThePowerAreasAndTheFuseRoom) {
  const auto forbidden = PlainForbiddenAreas(GetParam()).at(kFuseUnit);
  std::vector<int> allowed;
  for (int area = 0; area <= 40; ++area)
    if (std::find(forbidden.begin(), forbidden.end(), area) == forbidden.end())
      allowed.push_back(area);
  EXPECT_EQ(allowed, (std::vector<int>{33, 34, 39}));
}

INSTANTIATE_TEST_SUITE_P(Both, ForbiddenAreasOfEachCharacter,
                         testing::Values(Character::kJill, Character::kChris),
                         [](const testing::TestParamInfo<Character>& param_info) {
                           return param_info.param == Character::kJill ? "Jill" : "Chris";
                         });

TEST(PlainForbiddenAreas, OldKeysAreRestrictedForChrisOnlyAndTheLighterForJillOnly) {
  const auto jill = PlainForbiddenAreas(Character::kJill);
  const auto chris = PlainForbiddenAreas(Character::kChris);
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
