#include "items/Spheres.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "catalogue/AreaTables.h"
#include "items/FastItemSearch.h"
#include "items/LiteralAttempt_test.h"
#include "items/Pins.h"

namespace velmora {
namespace {

using Rounds = std::vector<std::vector<int>>;

// Handmade placements, slot areas and requirements with their rounds worked
// out by hand.
struct SpheresCase {
  const char* name;
  std::vector<int> placement;
  std::vector<int> slot_area;
  AreaRequirements requirements;
  Rounds rounds;
  bool all_collected;
};

// Six slots holding items 20..25 in areas 1..6:
// round 0: area 1 needs only -1, so 20;
// round 1: area 2 needs 20; area 4 needs 20 and its empty index 1 ends its
//          alternatives, so the -1 at index 2 is never read: 21 and 23;
// round 2: area 3 has an empty index 0, its first alternative names 99,
//          which no slot holds, and its second needs 21: 22;
// round 3: area 5's only alternative needs 22 and 23: 24;
// area 6 needs the -99 marker, which is never met, so 25 stays out.
SpheresCase SixAreas(const char* name, Rounds rounds, bool all_collected, bool area6_needs_marker,
                     bool area4_index1 = false) {
  SpheresCase c{name, {20, 21, 22, 23, 24, 25}, {1, 2, 3, 4, 5, 6},
                {{1, {{0, {-1}}}}, {2, {{0, {20}}}}, {3, {{0, {}}, {1, {99}}, {2, {21}}}},
                 {4, {{0, {20}}, {1, {}}, {2, {-1, 99}}}}, {5, {{1, {22, 23}}}}},
                std::move(rounds), all_collected};
  if (area6_needs_marker) c.requirements[6] = {{0, {-99}}};
  if (area4_index1) c.requirements[4][1] = {99};
  return c;
}

class HandmadeSpheresTest : public ::testing::TestWithParam<SpheresCase> {};

TEST_P(HandmadeSpheresTest, CollectTheRoundsWorkedOutByHand) {
  const SpheresCase& c = GetParam();
  const Spheres spheres = CollectSpheres(c.placement, c.slot_area, c.requirements);
  EXPECT_EQ(spheres.rounds, c.rounds);
  EXPECT_EQ(spheres.all_collected, c.all_collected);
}

INSTANTIATE_TEST_SUITE_P(
    Tables, HandmadeSpheresTest,
    ::testing::Values(
        SixAreas("ItemsOpenAreasOnlyFromTheNextRound", {{20}, {21, 23}, {22}, {24}}, false, true),
        SixAreas("AreaWithoutEntriesNeedsNothing", {{20, 25}, {21, 23}, {22}, {24}}, true, false),
        // With index 1 of area 4 filled, its alternatives are {99} and
        // {-1, 99}: neither is met, so 23 is never collected, nor is 24.
        SixAreas("AlternativesBeyondTheFirstGapAreNotRead", {{20, 25}, {21}, {22}}, false, false,
                 true),
        // Slot 1 opens with item 8, which slot 2 gives in round 0; slot 1
        // adds no new item, so there is no second round, yet every slot counts.
        SpheresCase{"ItemHeldByTwoSlotsIsCollectedOnce", {7, 7, 8}, {1, 2, 1},
                    {{2, {{0, {8}}}}}, {{7, 8}}, true},
        SpheresCase{"SlotWithoutAnAreaIsNeverEntered", {4, 5, 6}, {1, 1}, {}, {{4, 5}}, false},
        // Items 0 and 1 each lie behind the other.
        SpheresCase{"RequirementCycleCollectsNothingOfIt", {0, 1, 2}, {1, 2, 3},
                    {{1, {{0, {1}}}}, {2, {{0, {0}}}}}, {{2}}, false}),
    [](const auto& param_info) { return std::string(param_info.param.name); });

struct Tables {
  bool chris;
  bool lock_mode;
  int seeds;               ///< item loops, each with a lock deal of its own in lock mode
  int placements_per_seed;  ///< accepted attempts taken from each loop
};

std::string TablesName(const testing::TestParamInfo<Tables>& info) {
  return std::string(info.param.chris ? "Chris" : "Jill") + (info.param.lock_mode ? "Locks" : "");
}

// Every placement the progression check accepts is fully collected. The
// fast search finds the accepted attempts of long item loops; each one is
// then dealt and checked the literal way before the spheres judge it.
class SpheresAgreeWithCheckTest : public ::testing::TestWithParam<Tables>, public DialogFixture {
 protected:
  SpheresAgreeWithCheckTest() {
    FillItemTables(*this, GetParam().chris, false, GetParam().lock_mode);
  }
  // Finds up to `wanted` accepted attempts from `seed` and checks each.
  int CheckAcceptedAttempts(uint32_t seed, int wanted) {
    const FastItemSearch search(dlg, PinnedSlots(dlg.SelectedCharacter(), kNormal));
    int accepted = 0;
    for (uint64_t from = 1; accepted < wanted; ++accepted) {
      const uint64_t attempt = search.FindFirstPassing(seed, from, from + 100'000'000, 2);
      if (attempt == 0) break;
      EXPECT_TRUE(LiteralAttemptPasses(dlg, LcgJump::For(185 * (attempt - 1)).Apply(seed)))
          << "seed " << seed << " attempt " << attempt;
      const Spheres spheres = CollectSpheres(dlg.m_placement, dlg.m_slotArea, dlg.m_areaRequirements);
      EXPECT_TRUE(spheres.all_collected) << "seed " << seed << " attempt " << attempt;
      from = attempt + 1;
    }
    return accepted;
  }
};

TEST_P(SpheresAgreeWithCheckTest, EveryAcceptedPlacementIsFullyCollected) {
  if (GetParam().chris && std::getenv("VELMORA_SANITIZED"))
    GTEST_SKIP() << "Chris's placements take minutes to find under the sanitizers";
  int accepted = 0;
  for (int seed = 1; seed <= GetParam().seeds; ++seed) {
    if (GetParam().lock_mode) doors_test::DealAcceptedLocks(dlg, static_cast<uint32_t>(seed));
    accepted += CheckAcceptedAttempts(static_cast<uint32_t>(seed) * 7919u,
                                      GetParam().placements_per_seed);
  }
  EXPECT_EQ(accepted, GetParam().seeds * GetParam().placements_per_seed);
}

// Chris's placements are rare (about one attempt in millions), so fewer.
INSTANTIATE_TEST_SUITE_P(Tables, SpheresAgreeWithCheckTest,
                         ::testing::Values(Tables{false, false, 8, 10}, Tables{true, false, 3, 1},
                                           Tables{false, true, 6, 4}, Tables{true, true, 3, 2}),
                         TablesName);

}  // namespace
}  // namespace velmora
