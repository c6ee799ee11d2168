#include <gtest/gtest.h>

#include "app/MemoryWindow.h"
#include "app/VelmoraDlg.h"
#include "output/OutputFiles.h"

namespace velmora {
namespace {

using Lists = std::map<int, std::vector<int>>;

constexpr int kX = 10, kY = 11, kZ = 12, kW = 13, kV = 14;
constexpr int kUnplaced = -99;  // the lock tables' error marker
constexpr int kEarlier = 150;   // an entry left by an earlier search

// Handmade tables: every item at its home slot, every slot in area 0, which
// needs nothing. A test moves the items it cares about into areas of their
// own and gives those areas requirements.
class ProgressionCheck : public testing::Test {
 protected:
  ProgressionCheck() : dlg(window, files) {
    for (int slot = 0; slot < kSlotCount; ++slot) {
      dlg.m_placement.push_back(slot);
      dlg.m_slotArea.push_back(0);
    }
  }

  /// Puts the slot where `item` lies (its home slot) into `area`.
  void PutInArea(int item, int area) { dlg.m_slotArea[item] = area; }
  void Require(int area, Lists lists) { dlg.m_areaRequirements[area] = std::move(lists); }

  MemoryWindow window;
  MemoryOutputFiles files;
  CVelmoraDlg dlg;
};

// X's area offers {Y} or {Z}; Y needs X; Z needs nothing. Y is added and
// fails on X, Z is added and removed, and X's success removes Y, the last
// entry, so X itself stays.
TEST_F(ProgressionCheck, FirstAlternativeFailsSecondPassesAndTheSearchedItemStays) {
  PutInArea(kX, 1);
  PutInArea(kY, 2);
  PutInArea(kZ, 3);
  Require(1, {{0, {}}, {1, {kY}}, {2, {kZ}}});
  Require(2, {{0, {kX}}});
  dlg.m_visiting = {kEarlier};

  EXPECT_TRUE(dlg.IsItemReachable(kX));
  EXPECT_EQ(dlg.m_visiting, (std::vector<int>{kEarlier, kX}));
}

// Requirements that need nothing, in every form a table can say it. The
// alternatives end at the first empty index, so {Y} at index 2 is never
// looked at although Y could not be reached.
class AreaThatNeedsNothing : public ProgressionCheck,
                             public testing::WithParamInterface<Lists> {};

TEST_P(AreaThatNeedsNothing, MakesItsItemReachableAndLeavesVisitingAsFound) {
  PutInArea(kX, 1);
  PutInArea(kY, 2);
  Require(2, {{0, {kUnplaced}}});
  if (!GetParam().empty()) Require(1, GetParam());
  dlg.m_visiting = {kEarlier};

  EXPECT_TRUE(dlg.IsItemReachable(kX));
  EXPECT_EQ(dlg.m_visiting, (std::vector<int>{kEarlier}));
}

INSTANTIATE_TEST_SUITE_P(EmptyForms, AreaThatNeedsNothing,
                         testing::Values(Lists{}, Lists{{0, {}}}, Lists{{0, {}}, {1, {}}},
                                         Lists{{0, {}}, {1, {}}, {2, {kY}}},
                                         Lists{{1, {}}, {2, {kY}}}, Lists{{0, {-1}}},
                                         Lists{{0, {}}, {1, {-1}}}));

TEST_F(ProgressionCheck, ItemThatNeedsItselfIsUnreachable) {
  PutInArea(kX, 1);
  Require(1, {{0, {kX}}});

  EXPECT_FALSE(dlg.IsItemReachable(kX));
  EXPECT_EQ(dlg.m_visiting, (std::vector<int>{kX}));
}

TEST_F(ProgressionCheck, CycleThroughAnotherItemFailsAndLeavesBothOnVisiting) {
  PutInArea(kX, 1);
  PutInArea(kY, 2);
  Require(1, {{0, {kY}}});
  Require(2, {{0, {kX}}});

  EXPECT_FALSE(dlg.IsItemReachable(kX));
  EXPECT_EQ(dlg.m_visiting, (std::vector<int>{kX, kY}));
}

TEST_F(ProgressionCheck, FailedSearchLeavesEveryItemOfTheFailedPath) {
  PutInArea(kX, 1);
  PutInArea(kY, 2);
  PutInArea(kZ, 3);
  Require(1, {{0, {kY}}});
  Require(2, {{0, {-1, kZ}}});
  Require(3, {{0, {kUnplaced}}});

  EXPECT_FALSE(dlg.IsItemReachable(kX));
  EXPECT_EQ(dlg.m_visiting, (std::vector<int>{kX, kY, kZ}));
}

// Y needs nothing, so a search would find it; but Y is already on the list.
TEST_F(ProgressionCheck, RequirementOnVisitingFailsEvenIfItCouldBeReached) {
  PutInArea(kX, 1);
  Require(1, {{0, {kY}}});
  dlg.m_visiting = {kY};

  EXPECT_FALSE(dlg.IsItemReachable(kX));
  EXPECT_EQ(dlg.m_visiting, (std::vector<int>{kY, kX}));
}

// A search of Y would fail and leave Y on the list a second time.
TEST_F(ProgressionCheck, RequirementOnVisitingIsNotSearched) {
  PutInArea(kX, 1);
  PutInArea(kY, 2);
  Require(1, {{0, {}}, {1, {kY}}});
  Require(2, {{0, {kUnplaced}}});
  dlg.m_visiting = {kY};

  EXPECT_FALSE(dlg.IsItemReachable(kX));
  EXPECT_EQ(dlg.m_visiting, (std::vector<int>{kY, kX}));
}

TEST_F(ProgressionCheck, MembershipTestComesBeforeTheNoItemTest) {
  PutInArea(kX, 1);
  Require(1, {{0, {-1}}});
  dlg.m_visiting = {-1};

  EXPECT_FALSE(dlg.IsItemReachable(kX));
}

// Z would be reachable and W would fail leaving itself behind: neither is
// searched once the required Y has failed.
TEST_F(ProgressionCheck, RequiredItemsAreTestedBeforeAnyAlternative) {
  PutInArea(kX, 1);
  PutInArea(kY, 2);
  PutInArea(kW, 3);
  Require(1, {{0, {kY}}, {1, {kW}}, {2, {kZ}}});
  Require(2, {{0, {kUnplaced}}});
  Require(3, {{0, {kUnplaced}}});

  EXPECT_FALSE(dlg.IsItemReachable(kX));
  EXPECT_EQ(dlg.m_visiting, (std::vector<int>{kX, kY}));
}

// {Y, W}: Y fails, so W (which would fail and stay) is not searched. {Z}
// passes and ends the search; {V} (which would fail and stay) is never
// tried. X's success removes Y, the last entry.
TEST_F(ProgressionCheck, AlternativesAreTriedInOrderUntilOnePasses) {
  PutInArea(kX, 1);
  PutInArea(kY, 2);
  PutInArea(kW, 2);
  PutInArea(kV, 2);
  Require(1, {{0, {}}, {1, {kY, kW}}, {2, {kZ}}, {3, {kV}}});
  Require(2, {{0, {kUnplaced}}});

  EXPECT_TRUE(dlg.IsItemReachable(kX));
  EXPECT_EQ(dlg.m_visiting, (std::vector<int>{kX}));
}

// Y fails; the alternatives end at the first empty or missing index, so Z,
// which would pass, is never tried.
class AlternativesAfterAGap : public ProgressionCheck,
                              public testing::WithParamInterface<Lists> {};

TEST_P(AlternativesAfterAGap, AreNeverTried) {
  PutInArea(kX, 1);
  PutInArea(kY, 2);
  Require(1, GetParam());
  Require(2, {{0, {kUnplaced}}});

  EXPECT_FALSE(dlg.IsItemReachable(kX));
  EXPECT_EQ(dlg.m_visiting, (std::vector<int>{kX, kY}));
}

INSTANTIATE_TEST_SUITE_P(EmptyOrMissingIndex, AlternativesAfterAGap,
                         testing::Values(Lists{{0, {}}, {1, {kY}}, {2, {}}, {3, {kZ}}},
                                         Lists{{0, {}}, {1, {kY}}, {3, {kZ}}}));

TEST_F(ProgressionCheck, NoPassingAlternativeMakesTheItemUnreachable) {
  PutInArea(kX, 1);
  PutInArea(kY, 2);
  Require(1, {{0, {}}, {1, {kY}}, {2, {kX}}});
  Require(2, {{0, {kUnplaced}}});

  EXPECT_FALSE(dlg.IsItemReachable(kX));
  EXPECT_EQ(dlg.m_visiting, (std::vector<int>{kX, kY}));
}

// An id that lies in no slot, or in a slot without an area, cannot be
// reached; its search reads nothing outside the tables and adds nothing.
TEST_F(ProgressionCheck, ItemWithoutAPlaceIsUnreachableAndLeavesVisitingUntouched) {
  dlg.m_visiting = {kEarlier};
  EXPECT_FALSE(dlg.IsItemReachable(kUnplaced));
  EXPECT_FALSE(dlg.IsItemReachable(185));
  dlg.m_slotArea.resize(100);
  EXPECT_FALSE(dlg.IsItemReachable(120));
  EXPECT_EQ(dlg.m_visiting, (std::vector<int>{kEarlier}));
}

TEST_F(ProgressionCheck, SearchesDoNotAddEntriesToTheTables) {
  PutInArea(kX, 1);
  PutInArea(kY, 7);
  Require(1, {{0, {kY}}, {2, {kZ}}});

  EXPECT_TRUE(dlg.IsItemReachable(kX));
  dlg.CheckPlacement();

  EXPECT_EQ(dlg.m_areaRequirements.size(), 1u);
  EXPECT_EQ(dlg.m_areaRequirements.at(1).size(), 2u);
  EXPECT_TRUE(dlg.m_itemForbiddenAreas.empty());
}

TEST_F(ProgressionCheck, PlacementWithEveryItemReachableIsValid) {
  PutInArea(kX, 1);
  PutInArea(kY, 2);
  Require(1, {{0, {kY, -1}}});
  Require(2, {{0, {}}, {1, {kZ}}});

  dlg.CheckPlacement();

  EXPECT_TRUE(dlg.m_placementValid);
  EXPECT_TRUE(dlg.m_visiting.empty());
}

// Pass 1 must find the slot where the item now lies: item 20 lies at slot
// 21, in area 2, which is forbidden for it; slot 20 (area 1) is not.
TEST_F(ProgressionCheck, ItemInAForbiddenAreaFailsBeforeAnySearch) {
  std::swap(dlg.m_placement[20], dlg.m_placement[21]);
  dlg.m_slotArea[20] = 1;
  dlg.m_slotArea[21] = 2;
  dlg.m_itemForbiddenAreas[20] = {5, 2};
  PutInArea(kX, 3);
  Require(3, {{0, {kUnplaced}}});  // would fail pass 2 and empty the list
  dlg.m_visiting = {kEarlier};

  dlg.CheckPlacement();

  EXPECT_FALSE(dlg.m_placementValid);
  EXPECT_EQ(dlg.m_visiting, (std::vector<int>{kEarlier}));
}

TEST_F(ProgressionCheck, ItemInAnAllowedAreaPassesPassOne) {
  std::swap(dlg.m_placement[20], dlg.m_placement[21]);
  dlg.m_slotArea[20] = 2;
  dlg.m_slotArea[21] = 1;
  dlg.m_itemForbiddenAreas[20] = {5, 2};

  dlg.CheckPlacement();

  EXPECT_TRUE(dlg.m_placementValid);
}

TEST_F(ProgressionCheck, UnreachableItemFailsPassTwoAndEmptiesVisiting) {
  PutInArea(kX, 1);
  Require(1, {{0, {kUnplaced}}});
  dlg.m_visiting = {kEarlier};

  dlg.CheckPlacement();

  EXPECT_FALSE(dlg.m_placementValid);
  EXPECT_TRUE(dlg.m_visiting.empty());
}

// X passes but stays on the list (as in the first test); Y, searched next
// from the top, then needs X, which is on the list, and fails. With the list
// emptied between top-level items the placement would pass.
TEST_F(ProgressionCheck, EntriesLeftBySuccessfulSearchesFailLaterItems) {
  PutInArea(kX, 1);
  PutInArea(kY, 2);
  Require(1, {{0, {}}, {1, {kY}}, {2, {kZ}}});
  Require(2, {{0, {kX}}});

  dlg.CheckPlacement();

  EXPECT_FALSE(dlg.m_placementValid);
  EXPECT_TRUE(dlg.m_visiting.empty());
}

TEST_F(ProgressionCheck, FailingCheckAfterAPassDoesNotClearTheFlag) {
  dlg.CheckPlacement();
  ASSERT_TRUE(dlg.m_placementValid);
  PutInArea(kX, 1);
  Require(1, {{0, {kUnplaced}}});

  dlg.CheckPlacement();

  EXPECT_TRUE(dlg.m_placementValid);
}

}  // namespace
}  // namespace velmora
