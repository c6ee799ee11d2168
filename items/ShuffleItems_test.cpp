#include "items/ItemLoop.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>

#include "app/ControlIds.h"
#include "app/MemoryWindow.h"
#include "app/VelmoraDlg.h"
#include "items/Pins.h"
#include "output/OutputFiles.h"

namespace velmora {
namespace {

constexpr int kDrawsPerDeal = 185;

struct Selection {
  Character character;
  Difficulty difficulty;
};

class ItemDialog {
 public:
  explicit ItemDialog(Selection selection = {Character::kJill, Difficulty::kNormal})
      : dlg(window, files) {
    dlg.OnInitDialog();
    window.SetControlText(kIdStatus, "");
    if (selection.character == Character::kChris) window.Click(kIdChris);
    if (selection.difficulty == Difficulty::kHard) window.Click(kIdHard);
  }
  std::string Log() const { return window.GetControlText(kIdStatus); }

  MemoryWindow window;
  MemoryOutputFiles files;
  CVelmoraDlg dlg;
};

uint32_t StateAfter(uint32_t seed, uint64_t draws) {
  CrtRandom random;
  random.Seed(seed);
  random.Skip(draws);
  return random.state();
}

// --- The deal ---

class DealOfEverySelection : public testing::TestWithParam<Selection> {};

// The drawn order, worked out apart from the dialog, with the selection's
// pins applied afterwards.
TEST_P(DealOfEverySelection, IsTheDrawnOrderWithThePinsApplied) {
  ItemDialog d(GetParam());
  CrtRandom random;
  random.Seed(4242);
  std::vector<int> pool(kSlotCount);
  std::iota(pool.begin(), pool.end(), 0);
  std::vector<int> drawn;
  while (!pool.empty()) {
    const auto index = static_cast<size_t>(random.Next()) % pool.size();
    drawn.push_back(pool[index]);
    pool.erase(pool.begin() + static_cast<std::ptrdiff_t>(index));
  }
  d.dlg.m_placement = drawn;
  for (int slot : PinnedSlots(GetParam().character, GetParam().difficulty)) d.dlg.PinSlot(slot);
  const std::vector<int> expected = d.dlg.m_placement;

  d.dlg.m_random.Seed(4242);
  d.dlg.ShuffleItems();

  EXPECT_EQ(d.dlg.m_placement, expected);
  EXPECT_EQ(d.dlg.m_random.state(), StateAfter(4242, kDrawsPerDeal));
}

INSTANTIATE_TEST_SUITE_P(AllFour, DealOfEverySelection,
                         testing::Values(Selection{Character::kJill, Difficulty::kNormal},
                                         Selection{Character::kJill, Difficulty::kHard},
                                         Selection{Character::kChris, Difficulty::kNormal},
                                         Selection{Character::kChris, Difficulty::kHard}),
                         [](const testing::TestParamInfo<Selection>& param_info) {
                           return std::string(param_info.param.character == Character::kJill
                                                  ? "Jill"
                                                  : "Chris") +
                                  (param_info.param.difficulty == Difficulty::kNormal ? "Normal"
                                                                                      : "Hard");
                         });

// With seed 1 the first draws are 41 and 18467: slot 0 gets 41 % 185 = 41;
// slot 1 gets index 18467 % 184 = 67 of the pool without 41, which is 68.
// Neither is pinned for Jill on Normal, so the pins leave both slots alone.
TEST(Deal, SeedOneStartsWithItemsFortyOneAndSixtyEight) {
  ItemDialog d;
  d.dlg.m_random.Seed(1);
  d.dlg.ShuffleItems();
  EXPECT_EQ(d.dlg.m_placement[0], 41);
  EXPECT_EQ(d.dlg.m_placement[1], 68);
}

TEST(PinSlot, SwapsTheDisplacedItemIntoTheSlotTheOwnItemCameFrom) {
  ItemDialog d;
  d.dlg.m_placement = {3, 0, 1, 2};
  d.dlg.PinSlot(0);
  EXPECT_EQ(d.dlg.m_placement, (std::vector<int>{0, 3, 1, 2}));
  d.dlg.PinSlot(2);
  EXPECT_EQ(d.dlg.m_placement, (std::vector<int>{0, 3, 2, 1}));
}

// Slot 2 already holds item 2, or no slot holds it.
TEST(PinSlot, LeavesASlotWithItsOwnItemOrAPlacementWithoutTheItemAlone) {
  ItemDialog d;
  for (const std::vector<int>& placement : {std::vector<int>{1, 0, 2}, std::vector<int>{1, 1, 0}}) {
    d.dlg.m_placement = placement;
    d.dlg.PinSlot(2);
    EXPECT_EQ(d.dlg.m_placement, placement);
  }
}

// --- The retry loop ---

// Handmade tables over the Jill Normal deal: item 2 must lie in slot 0, and
// with `two_slots` item 3 must also lie in slot 1. Neither item is pinned.
void RequireItemsInFirstSlots(CVelmoraDlg& dlg, bool two_slots) {
  dlg.m_slotArea.assign(kSlotCount, 12);
  dlg.m_slotArea[0] = 10;
  dlg.m_slotArea[1] = 11;
  dlg.m_itemForbiddenAreas[2] = {11, 12};
  if (two_slots) dlg.m_itemForbiddenAreas[3] = {10, 12};
}

// The number of the first attempt from `seed` that passes, found by dealing
// and checking one attempt at a time outside the loop.
uint64_t FirstPassingAttempt(uint32_t seed, bool two_slots) {
  ItemDialog d;
  RequireItemsInFirstSlots(d.dlg, two_slots);
  d.dlg.m_random.Seed(seed);
  for (uint64_t attempt = 1;; ++attempt) {
    d.dlg.ShuffleItems();
    d.dlg.CheckPlacement();
    if (d.dlg.m_placementValid) return attempt;
  }
}

// Seed 60 first puts item 2 into slot 0 on its third deal; a limit of three
// attempts still reports that passing attempt.
TEST(RandomizeItems, ThirdAttemptPassingLogsTheCountWithoutMarks) {
  for (uint64_t limit : {uint64_t{0}, uint64_t{3}}) {
    ItemDialog d;
    RequireItemsInFirstSlots(d.dlg, false);
    if (limit) d.dlg.m_itemAttemptLimit = limit;
    d.dlg.m_random.Seed(60);

    d.dlg.RandomizeItems();

    EXPECT_EQ(d.Log(), "Randomizing Items. . .done after 3 attempts!\n");
    EXPECT_EQ(d.dlg.m_itemAttempts, 3u);
    EXPECT_TRUE(d.dlg.m_placementValid);
    EXPECT_EQ(d.dlg.m_placement[0], 2);
    EXPECT_EQ(d.dlg.m_random.state(), StateAfter(60, 3 * kDrawsPerDeal));
  }
}

// Seed 15 first puts items 2 and 3 into slots 0 and 1 after two full runs of
// 10,001 attempts and before the end of a third.
TEST(RandomizeItems, PassAfterTwoRunsOfTenThousandAndOneAttemptsLogsTwoMarks) {
  const uint64_t passing = FirstPassingAttempt(15, true);
  ASSERT_GE(passing, 20003u);
  ASSERT_LE(passing, 30003u);
  ItemDialog d;
  RequireItemsInFirstSlots(d.dlg, true);
  d.dlg.m_random.Seed(15);

  d.dlg.RandomizeItems();

  EXPECT_EQ(d.Log(),
            "Randomizing Items. . . . .done after " + std::to_string(passing) + " attempts!\n");
  EXPECT_EQ(d.dlg.m_itemAttempts, passing);
}

TEST(RandomizeItems, AlreadyValidPlacementIsKeptWithoutADeal) {
  ItemDialog d;
  d.dlg.m_placementValid = true;
  d.dlg.m_placement = {7};
  d.dlg.m_random.Seed(5);

  d.dlg.RandomizeItems();

  EXPECT_EQ(d.Log(), "Randomizing Items. . .done after 0 attempts!\n");
  EXPECT_EQ(d.dlg.m_itemAttempts, 0u);
  EXPECT_EQ(d.dlg.m_placement, (std::vector<int>{7}));
  EXPECT_EQ(d.dlg.m_random.state(), 5u);
}

// Tables that no deal passes (item 2 may lie nowhere) let the limit end the
// loop after exactly that many attempts, showing the marks made until then:
// the first before attempt 10,002, the second before attempt 20,003.
struct LimitCase {
  uint64_t limit;
  const char* marks;
};

class AttemptLimit : public testing::TestWithParam<LimitCase> {};

TEST_P(AttemptLimit, StopsTheLoopUnpassedAfterThatManyAttempts) {
  ItemDialog d;
  d.dlg.m_slotArea.assign(kSlotCount, 1);
  d.dlg.m_itemForbiddenAreas[2] = {1};
  d.dlg.m_itemAttemptLimit = GetParam().limit;
  d.dlg.m_random.Seed(9);

  d.dlg.RandomizeItems();

  EXPECT_EQ(d.Log(), std::string("Randomizing Items. . .") + GetParam().marks);
  EXPECT_EQ(d.dlg.m_itemAttempts, GetParam().limit);
  EXPECT_FALSE(d.dlg.m_placementValid);
  EXPECT_EQ(d.dlg.m_random.state(), StateAfter(9, GetParam().limit * kDrawsPerDeal));
}

INSTANTIATE_TEST_SUITE_P(AroundTheMarks, AttemptLimit,
                         testing::Values(LimitCase{1, ""}, LimitCase{5, ""},
                                         LimitCase{10001, ""}, LimitCase{10002, " ."},
                                         LimitCase{20002, " ."}, LimitCase{20003, " . ."}));

TEST(RandomizeItems, DoorModeHandsOverToTheDoorModePlacementWithoutCheckOrCount) {
  ItemDialog d;
  d.window.SetChecked(kIdDoors, true);
  d.dlg.m_random.Seed(3);

  d.dlg.RandomizeItems();

  EXPECT_EQ(d.Log(), "Doing custom item rando for door rando mode . . .done!\n");
  EXPECT_EQ(d.dlg.m_itemAttempts, 0u);
  EXPECT_FALSE(d.dlg.m_placementValid);
  EXPECT_EQ(d.dlg.m_placement.size(), 185u);
}

}  // namespace
}  // namespace velmora
