#include "items/FastItemSearch.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "items/LiteralAttempt_test.h"
#include "items/Pins.h"

namespace velmora {
namespace {

struct Selection {
  bool chris;
  bool hard;
  bool locks;
  uint32_t seed;  ///< a seed whose first passing attempt comes soon
};

std::string Name(const testing::TestParamInfo<Selection>& info) {
  return std::string(info.param.chris ? "Chris" : "Jill") + (info.param.hard ? "Hard" : "Normal") +
         (info.param.locks ? "Locks" : "");
}

// A dialog with the tables the item loop runs on: the fixed tables, or those
// of a lock deal the lock rules accept.
class FastSearchTest : public ::testing::TestWithParam<Selection>, public DialogFixture {
 protected:
  FastSearchTest() {
    FillItemTables(*this, GetParam().chris, GetParam().hard, GetParam().locks);
  }
  FastItemSearch Search() const {
    return FastItemSearch(dlg, PinnedSlots(dlg.SelectedCharacter(), dlg.SelectedDifficulty()));
  }
  bool ReferencePasses(uint32_t state) { return LiteralAttemptPasses(dlg, state); }
};

TEST_P(FastSearchTest, AgreesWithTheLiteralDealAndCheckAttemptByAttempt) {
  const FastItemSearch search = Search();
  const LcgJump deal = LcgJump::For(185);
  for (uint32_t seed : {1u, 4000000000u}) {
    uint32_t state = seed;
    for (int attempt = 1; attempt <= 2000; ++attempt) {
      ASSERT_EQ(search.AttemptPasses(state), ReferencePasses(state))
          << "seed " << seed << " attempt " << attempt;
      state = deal.Apply(state);
    }
  }
}

// The first attempt the search reports passes the literal check, and the
// attempts right before it do not.
TEST_P(FastSearchTest, FirstPassingAttemptIsTheLiteralLoopsFirst) {
  const FastItemSearch search = Search();
  const uint32_t seed = GetParam().seed;
  const uint64_t first = search.FindFirstPassing(seed, 1, 400'000'000, 2);
  ASSERT_GT(first, 0u);
  const uint64_t from = first > 1000 ? first - 1000 : 1;
  uint32_t state = LcgJump::For(185 * (from - 1)).Apply(seed);
  const LcgJump deal = LcgJump::For(185);
  for (uint64_t attempt = from; attempt < first; ++attempt) {
    ASSERT_FALSE(ReferencePasses(state)) << "attempt " << attempt;
    state = deal.Apply(state);
  }
  EXPECT_TRUE(ReferencePasses(state)) << "attempt " << first;
}

// Every way of dealing keeps the same deals, also far into a loop and over
// ranges shorter than the lanes, and every deal it gives up on fails the
// literal check.
TEST_P(FastSearchTest, EveryDealKernelKeepsTheSameDeals) {
  using Kernel = FastItemSearch::DealKernel;
  const FastItemSearch search = Search();
  struct Range {
    uint32_t seed;
    uint64_t first;
    uint64_t last;
  };
  for (const Range& r : {Range{5, 1, 30'000}, Range{3'000'000'000u, 5'000'000'001, 5'000'030'000},
                         Range{8, 40, 45}, Range{8, 7, 7}, Range{8, 9, 8}}) {
    const std::vector<uint64_t> kept = search.DealSurvivors(r.seed, r.first, r.last, Kernel::kBytes);
    for (Kernel kernel : {Kernel::kBitSet, Kernel::kSelect, Kernel::kVector}) {
      if (FastItemSearch::KernelAvailable(kernel)) {
        EXPECT_EQ(search.DealSurvivors(r.seed, r.first, r.last, kernel), kept)
            << "kernel " << static_cast<int>(kernel) << " from attempt " << r.first;
      }
    }
    if (r.last >= r.first + 1000) {
      EXPECT_FALSE(kept.empty());
    }
  }
  const std::vector<uint64_t> kept = search.DealSurvivors(6, 1, 1500, Kernel::kBytes);
  const LcgJump deal = LcgJump::For(185);
  uint32_t state = 6;
  for (uint64_t attempt = 1; attempt <= 1500; ++attempt) {
    if (!std::binary_search(kept.begin(), kept.end(), attempt)) {
      ASSERT_FALSE(ReferencePasses(state)) << "attempt " << attempt;
    }
    state = deal.Apply(state);
  }
}

INSTANTIATE_TEST_SUITE_P(Selections, FastSearchTest,
                         ::testing::Values(Selection{false, false, false, 3},
                                           Selection{false, true, false, 3},
                                           Selection{true, false, false, 66},
                                           Selection{true, true, false, 152},
                                           Selection{false, false, true, 3},
                                           Selection{true, false, true, 3},
                                           Selection{false, true, true, 3},
                                           Selection{true, true, true, 3}),
                         Name);

// Tables that many deals pass: item 5 must not lie in slots 0..149. The
// first passing attempt is the same whatever the number of threads and
// however the range is cut.
TEST_F(DialogTest, FastSearchResultDoesNotDependOnThreadsOrRange) {
  dlg.m_slotArea.assign(kSlotCount, 2);
  for (int slot = 0; slot < 150; ++slot) dlg.m_slotArea[slot] = 1;
  dlg.m_itemForbiddenAreas[5] = {1};
  dlg.m_itemForbiddenAreas[6] = {1};
  dlg.m_itemForbiddenAreas[7] = {1};
  const FastItemSearch search(dlg, {});
  for (uint32_t seed : {11u, 12u, 13u}) {
    const uint64_t one = search.FindFirstPassing(seed, 1, 1'000'000, 1);
    ASSERT_GT(one, 0u);
    EXPECT_EQ(search.FindFirstPassing(seed, 1, 1'000'000, 2), one);
    EXPECT_EQ(search.FindFirstPassing(seed, 1, 1'000'000, 7), one);
    EXPECT_EQ(search.FindFirstPassing(seed, one, one, 2), one);
    EXPECT_EQ(search.FindFirstPassing(seed, 1, one - 1, 2), 0u);
    EXPECT_EQ(search.FindFirstPassing(seed, one + 1, one, 2), 0u);
  }
}

// An item that the slot's area requires through a pinned item's area: the
// check fails it for sure, and the search rejects it without the check.
TEST_F(DialogTest, FastSearchRejectsItemNeededByAPinnedItemsAreaWhereThatAreaIsNeeded) {
  dlg.m_slotArea.assign(kSlotCount, 1);
  dlg.m_slotArea[48] = 7;  // the pinned item 48 lies in area 7, which needs item 9
  dlg.m_areaRequirements[7][0] = {9};
  for (int slot = 100; slot < kSlotCount; ++slot) dlg.m_slotArea[slot] = 8;
  dlg.m_areaRequirements[8][0] = {48};  // area 8 needs item 48
  const LcgJump deal = LcgJump::For(185);
  uint32_t state = 99;
  int passes = 0;
  for (int attempt = 0; attempt < 500; ++attempt) {
    LiteralAttemptPasses(dlg, state);  // Jill Normal pins include 48
    const auto slot9 = std::find(dlg.m_placement.begin(), dlg.m_placement.end(), 9) -
                       dlg.m_placement.begin();
    const FastItemSearch jill(dlg, PinnedSlots(Character::kJill, Difficulty::kNormal));
    ASSERT_EQ(jill.AttemptPasses(state), dlg.m_placementValid) << attempt;
    EXPECT_EQ(dlg.m_placementValid, slot9 < 100) << attempt;
    passes += dlg.m_placementValid ? 1 : 0;
    state = deal.Apply(state);
  }
  EXPECT_GT(passes, 0);
  EXPECT_LT(passes, 500);
}

}  // namespace
}  // namespace velmora
