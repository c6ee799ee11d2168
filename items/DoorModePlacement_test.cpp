#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <set>
#include <vector>

#include "app/DialogFixture_test.h"
#include "doors/doors_test.h"

namespace velmora {
namespace {

constexpr int kSeeds = 300;

// Written out from the rules of the door-mode placement.
const std::vector<int> kGroup1 = {34, 47, 66, 102, 129, 183};
const std::set<int> kSupplies = {50, 52, 99, 63, 86, 58, 43, 130, 110};
// Kept out of the slots below; for Jill also item 0, and slots 72 and 74.
const std::set<int> kGroup2 = {2, 15, 16, 18, 77, 79, 28, 51, 62, 74, 89, 92, 103, 104, 105, 116};
const std::set<int> kGroup2Excluded = {3,   13,  14,  16,  92,  100, 101, 102,
                                       103, 104, 105, 106, 122, 181, 182, 183};

struct DoorModeCase {
  Character character;
  int supply_slots;
  /// item -> times it stands in the whole placement
  std::map<int, int> counts;
};

class DoorModePlacementTest : public ::testing::TestWithParam<DoorModeCase>, public DialogFixture {
 protected:
  DoorModePlacementTest() {
    if (GetParam().character == kChris) window.SetChecked(kIdChris, true);
  }
  bool IsJill() const { return GetParam().character == kJill; }
};

TEST_P(DoorModePlacementTest, FillsTheTakingPartSlotsUnderTheGroupRulesAndTheSupplyWeights) {
  const DoorModeCase& c = GetParam();
  std::map<int, int> filler;  // supply item -> taking-part slots it fills, over all seeds
  for (uint32_t seed = 1; seed <= kSeeds; ++seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    dlg.m_random.Seed(seed);
    dlg.PlaceItemsForDoorMode();
    const std::vector<int>& placement = dlg.m_placement;
    ASSERT_EQ(placement.size(), 185u);

    const std::vector<int>& slots = dlg.m_doorModeSlots;
    ASSERT_EQ(slots.size(), 139u);
    EXPECT_EQ(std::adjacent_find(slots.begin(), slots.end(), std::greater_equal<>()), slots.end());
    const std::set<int> taking_part(slots.begin(), slots.end());
    EXPECT_EQ(taking_part.count(0), IsJill() ? 0u : 1u);
    EXPECT_EQ(taking_part.count(94), IsJill() ? 1u : 0u);

    std::map<int, int> counts;
    int supply_slots = 0;
    for (int slot = 0; slot < 185; ++slot) {
      const int item = placement[slot];
      ++counts[item];
      if (!taking_part.count(slot)) {
        EXPECT_EQ(item, slot);
        continue;
      }
      EXPECT_GE(item, 0) << slot;
      EXPECT_LE(item, 186) << slot;
      if (slot > 180) {
        EXPECT_EQ(std::count(kGroup1.begin(), kGroup1.end(), item), 0) << slot << ": " << item;
      }
      const bool group2 = kGroup2.count(item) || (IsJill() && item == 0);
      const bool excluded = kGroup2Excluded.count(slot) || (IsJill() && (slot == 72 || slot == 74));
      EXPECT_FALSE(group2 && excluded) << slot << ": " << item;
      if (kSupplies.count(item)) {
        ++supply_slots;
        ++filler[item];
      }
    }
    for (const auto& [item, count] : c.counts) EXPECT_EQ(counts[item], count) << "item " << item;
    EXPECT_EQ(supply_slots, c.supply_slots);
  }
  // About 30000 rolls: the shares lie well within these bounds.
  const int filler_total = kSeeds * c.supply_slots;
  EXPECT_NEAR(static_cast<double>(filler[50]) / filler_total, 25.0 / 105, 0.015);
  EXPECT_NEAR(static_cast<double>(filler[110]) / filler_total, 7.0 / 105, 0.01);
  EXPECT_NEAR(static_cast<double>(filler[58]) / filler_total, 12.0 / 105, 0.01);
}

INSTANTIATE_TEST_SUITE_P(
    Characters, DoorModePlacementTest,
    ::testing::Values(
        // Jill: 139 - 6 - 17 - 20 = 96 filler slots; item 0 stays at slot 0
        // and is dealt once more from group 2.
        DoorModeCase{kJill, 96, {{186, 1}, {60, 3}, {165, 3}, {0, 2}, {183, 1}}},
        // Chris: 139 - 6 - 16 - 11 = 106 filler slots.
        DoorModeCase{kChris, 106, {{186, 1}, {60, 0}, {165, 3}, {0, 1}, {183, 1}}}),
    [](const auto& param_info) { return param_info.param.character == kJill ? "Jill" : "Chris"; });

TEST(DoorModeDrawOrderTest, ItemIsDrawnBeforeItsSlotAndHighSlotsAreRedrawn) {
  // Jill's slot list has 139 slots; indexes 136..138 are 181..183, index 0
  // is slot 1. Wanted: the first item draw picks 183 (last of group 1), the
  // first slot draw a slot above 180, the redraw slot 1.
  DialogFixture f;
  f.dlg.m_random.Seed(doors_test::FindSeed({6, 139, 139}, [](const std::vector<int>& draws) {
    return draws[0] == 5 && draws[1] >= 136 && draws[2] == 0;
  }));
  f.dlg.PlaceItemsForDoorMode();
  EXPECT_EQ(f.dlg.m_placement[1], 183);
}

}  // namespace
}  // namespace velmora
