#include "catalogue/AreaTables.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "app/ControlIds.h"
#include "app/MemoryWindow.h"
#include "app/VelmoraDlg.h"
#include "output/OutputFiles.h"

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

TEST_P(SlotAreasOfEveryCase, FillSlotAreasReadsTheCheckedCharacterAndLocks) {
  const auto [character, lock_mode] = GetParam();
  MemoryWindow window;
  MemoryOutputFiles files;
  CVelmoraDlg dlg(window, files);
  dlg.OnInitDialog();
  if (character == Character::kChris) window.Click(kIdChris);
  if (lock_mode) window.Click(kIdLocks);

  dlg.FillSlotAreas();

  EXPECT_EQ(dlg.m_slotArea, SlotAreas(character, lock_mode));
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

TEST_P(ForbiddenAreasOfEachCharacter, ListsMatchTheGame) {
  const auto forbidden = PlainForbiddenAreas(GetParam());
  EXPECT_EQ(forbidden.at(2), (std::vector<int>{15, 39, 40}));
  EXPECT_EQ(forbidden.at(14), (std::vector<int>{40}));
  EXPECT_EQ(forbidden.at(48), (std::vector<int>{3, 4, 9, 12, 13, 14, 15, 16, 17, 39, 40}));
  EXPECT_EQ(forbidden.at(59), (std::vector<int>{29, 30, 31, 32, 39, 40}));
  EXPECT_EQ(forbidden.at(150), (std::vector<int>{8, 10, 39, 40}));
  EXPECT_EQ(forbidden.at(154), (std::vector<int>{25, 26, 27, 39, 40}));
  // 7 to 32 and 36 to 40.
  EXPECT_EQ(forbidden.at(100).size(), 31u);
  EXPECT_EQ(forbidden.at(100).front(), 7);
  EXPECT_EQ(forbidden.at(100).back(), 40);
  EXPECT_EQ(std::count(forbidden.at(100).begin(), forbidden.at(100).end(), 35), 0);
  // 22 to 32, 39, 40.
  EXPECT_EQ(forbidden.at(107).size(), 13u);
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
  EXPECT_EQ(jill.at(0), (std::vector<int>{38, 39, 40}));
  EXPECT_EQ(chris.count(0), 0u);
  EXPECT_EQ(chris.at(9), (std::vector<int>{11, 12, 36, 39, 40}));
  EXPECT_EQ(chris.at(32), (std::vector<int>{11, 12, 36, 39, 40, 12}));
  EXPECT_EQ(chris.at(37), (std::vector<int>{11, 36, 39, 40}));
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

TEST(PlainAreaRequirements, CoverAreasThreeToFortyExceptTheEmptyOnes) {
  std::set<int> areas;
  for (const auto& [area, lists] : PlainAreaRequirements(Character::kJill)) areas.insert(area);
  std::set<int> expected;
  for (int area = 3; area <= 40; ++area)
    if (area != 24 && area != 35) expected.insert(area);
  EXPECT_EQ(areas, expected);
}

TEST(PlainAreaRequirements, OnlyTheMansionAreasNineteenToThirtyTwoHaveAlternatives) {
  for (const auto& [area, lists] : PlainAreaRequirements(Character::kJill)) {
    if (area >= 19 && area <= 32) {
      ASSERT_EQ(lists.size(), 3u) << "area " << area;
      EXPECT_EQ(lists.at(1), (std::vector<int>{102})) << "area " << area;
      EXPECT_EQ(lists.at(2), (std::vector<int>{34, 129})) << "area " << area;
    } else {
      EXPECT_EQ(lists.size(), 1u) << "area " << area;
    }
  }
}

TEST(PlainAreaRequirements, RequiredItemsMatchTheGame) {
  const AreaRequirements jill = PlainAreaRequirements(Character::kJill);
  EXPECT_EQ(jill.at(3).at(0), (std::vector<int>{48, 15, 74}));
  EXPECT_EQ(jill.at(6).at(0), (std::vector<int>{51, 16, 18, 77, 79}));
  EXPECT_EQ(jill.at(13).at(0), (std::vector<int>{100, 48, 89, 90, 91}));
  EXPECT_EQ(jill.at(18).at(0), (std::vector<int>{100, 24, 61}));
  EXPECT_EQ(jill.at(21).at(0), (std::vector<int>{100, 103, 104, 105}));
  EXPECT_EQ(jill.at(27).at(0), (std::vector<int>{100, 107, 154, 148, 142, 48}));
  EXPECT_EQ(jill.at(32).at(0), (std::vector<int>{100, 107, 59, 114, 122, 123}));
  EXPECT_EQ(jill.at(33).at(0), (std::vector<int>{102, 34, 129, 66, 47}));
  EXPECT_EQ(jill.at(34).at(0), (std::vector<int>{102, 34, 129, 66, 47, 163}));
  EXPECT_EQ(jill.at(37).at(0), (std::vector<int>{100, 11}));
  EXPECT_EQ(jill.at(38).at(0), (std::vector<int>{100, 48, 0}));
  EXPECT_EQ(jill.at(39).at(0), (std::vector<int>{102, 34, 129, 66, 47, 163, 178}));
  EXPECT_EQ(jill.at(40).at(0),
            (std::vector<int>{102, 34, 129, 66, 47, 163, 178, 14, 159, 161}));
}

TEST(LockModeFuseForbiddenAreas, HoldsEveryLockModeAreaButThePowerAreaAndTheFuseRoom) {
  const auto areas = LockModeFuseForbiddenAreas();
  EXPECT_EQ(areas.size(), 53u);
  EXPECT_TRUE(std::is_sorted(areas.begin(), areas.end()));
  EXPECT_EQ(areas.front(), 69);
  EXPECT_EQ(areas.back(), 124);
  for (int allowed : {73, 115, 123})
    EXPECT_EQ(std::count(areas.begin(), areas.end(), allowed), 0) << allowed;
  EXPECT_EQ(std::set<int>(areas.begin(), areas.end()).size(), areas.size());
}

TEST(FillPlainAreaTables, FillsTheTablesOfTheCheckedCharacter) {
  for (Character character : {Character::kJill, Character::kChris}) {
    MemoryWindow window;
    MemoryOutputFiles files;
    CVelmoraDlg dlg(window, files);
    dlg.OnInitDialog();
    if (character == Character::kChris) window.Click(kIdChris);

    dlg.FillPlainAreaTables();

    EXPECT_EQ(dlg.m_itemForbiddenAreas, PlainForbiddenAreas(character));
    EXPECT_EQ(dlg.m_areaRequirements, PlainAreaRequirements(character));
  }
}

}  // namespace
}  // namespace velmora
