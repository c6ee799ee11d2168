#include "items/FastItemSearch.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

#include "items/LiteralAttempt_test.h"
#include "items/Pins.h"

namespace velmora {
namespace {

const DealKernel& BytesKernel() {
  std::string error;
  const DealKernel* kernel = FindDealKernel("bytes", error);
  EXPECT_NE(kernel, nullptr) << error;
  return *kernel;
}

// A dialog with the tables the item loop runs on for a selection: the fixed
// tables, or those of a lock deal the lock rules accept.
class FastSearchTest : public ::testing::TestWithParam<std::tuple<bool, bool, bool>>,
                       public DialogFixture {
 protected:
  FastSearchTest() { FillItemTables(*this, chris(), hard(), locks()); }
  bool chris() const { return std::get<0>(GetParam()); }
  bool hard() const { return std::get<1>(GetParam()); }
  bool locks() const { return std::get<2>(GetParam()); }
  /// A seed whose first passing attempt comes soon.
  uint32_t seed() const { return chris() && !locks() ? (hard() ? 152 : 66) : 3; }
  FastItemSearch Search() const {
    return FastItemSearch(dlg, PinnedSlots(dlg.SelectedCharacter(), dlg.SelectedDifficulty()));
  }
  bool ReferencePasses(uint32_t state) { return LiteralAttemptPasses(dlg, state); }
};

// Attempt by attempt, the search and the literal deal and check agree, and
// every attempt the bytes kernel gives up on fails the literal check.
TEST_P(FastSearchTest, AgreesWithTheLiteralDealAndCheckAttemptByAttempt) {
  const FastItemSearch search = Search();
  const LcgJump deal = LcgJump::For(185);
  for (uint32_t seed : {1u, 4000000000u}) {
    const std::vector<uint64_t> kept =
        search.DealSurvivors(seed, 1, 2000, BytesKernel());
    uint32_t state = seed;
    for (uint64_t attempt = 1; attempt <= 2000; ++attempt) {
      const bool passes = ReferencePasses(state);
      ASSERT_EQ(search.AttemptPasses(state), passes) << "seed " << seed << " attempt " << attempt;
      ASSERT_TRUE(!passes || std::binary_search(kept.begin(), kept.end(), attempt))
          << "seed " << seed << " attempt " << attempt;
      state = deal.Apply(state);
    }
  }
}

// The first attempt the search reports passes the literal check, and the
// attempts right before it do not.
TEST_P(FastSearchTest, FirstPassingAttemptIsTheLiteralLoopsFirst) {
  const FastItemSearch search = Search();
  const uint32_t seed = this->seed();
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

// Every kernel this processor runs keeps the same deals, also far into a loop
// and over ranges shorter than the lanes.
TEST_P(FastSearchTest, EveryDealKernelKeepsTheSameDeals) {
  const FastItemSearch search = Search();
  struct Range {
    uint32_t seed;
    uint64_t first;
    uint64_t last;
  };
  for (const Range& r : {Range{5, 1, 30'000}, Range{3'000'000'000u, 5'000'000'001, 5'000'030'000},
                         Range{8, 40, 45}, Range{8, 7, 7}, Range{8, 9, 8}}) {
    const std::vector<uint64_t> kept = search.DealSurvivors(r.seed, r.first, r.last, BytesKernel());
    for (const DealKernel& kernel : BuiltDealKernels()) {
      if (kernel.runs_here()) {
        EXPECT_EQ(search.DealSurvivors(r.seed, r.first, r.last, kernel), kept)
            << "kernel " << kernel.name << " from attempt " << r.first;
      }
    }
    if (r.last >= r.first + 1000) {
      EXPECT_FALSE(kept.empty());
    }
  }
}

std::string SelectionName(const testing::TestParamInfo<std::tuple<bool, bool, bool>>& info) {
  const auto [chris, hard, locks] = info.param;
  return std::string(chris ? "Chris" : "Jill") + (hard ? "Hard" : "Normal") + (locks ? "Locks" : "");
}

INSTANTIATE_TEST_SUITE_P(Selections, FastSearchTest,
                         testing::Combine(testing::Bool(), testing::Bool(), testing::Bool()),
                         SelectionName);

// Tables that many deals pass: items 5, 6 and 7 must not lie in slots 0..149. The
// first passing attempt is the same whatever the number of threads and
// however the range is cut.
TEST_F(DialogTest, FastSearchResultDoesNotDependOnThreadsOrRange) {
  dlg.m_slotArea.assign(kSlotCount, 2);
  for (int slot = 0; slot < 150; ++slot) dlg.m_slotArea[slot] = 1;
  for (int item : {5, 6, 7}) dlg.m_itemForbiddenAreas[item] = {1};
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

// Every item fails in one slot of its own, so every kernel follows all 185
// items: the kernels that deal by ranks need their most vectors. Each keeps
// the deals the bytes kernel keeps, and gives up the others.
TEST_F(DialogTest, EveryDealKernelKeepsTheSameDealsWhenEveryItemCanFail) {
  dlg.m_slotArea.resize(kSlotCount);
  for (int slot = 0; slot < kSlotCount; ++slot) dlg.m_slotArea[slot] = 100 + slot;
  for (int item = 0; item < kSlotCount; ++item)
    dlg.m_itemForbiddenAreas[item] = {100 + (item * 37 + 11) % kSlotCount};
  const FastItemSearch search(dlg, {});
  const std::vector<uint64_t> kept = search.DealSurvivors(21, 1, 20'000, BytesKernel());
  EXPECT_GT(kept.size(), 2'000u);
  EXPECT_LT(kept.size(), 18'000u);
  for (const DealKernel& kernel : BuiltDealKernels()) {
    if (kernel.runs_here()) {
      EXPECT_EQ(search.DealSurvivors(21, 1, 20'000, kernel), kept) << "kernel " << kernel.name;
    }
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
