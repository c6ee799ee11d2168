#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "app/DialogFixture_test.h"

namespace velmora {
namespace {

using Lists = std::map<int, std::vector<int>>;

constexpr int kX = 10, kY = 11, kZ = 12, kW = 13, kV = 14;
constexpr int kUnplaced = -99;  // the lock tables' error marker
constexpr int kEarlier = 150;   // an entry left by an earlier search

// Handmade tables: every item at its home slot, every slot in area 0, which
// needs nothing. A test moves the items it cares about into areas of their
// own and gives those areas requirements.
class ProgressionCheck : public DialogTest {
 protected:
  ProgressionCheck() {
    for (int slot = 0; slot < kSlotCount; ++slot) {
      dlg.m_placement.push_back(slot);
      dlg.m_slotArea.push_back(0);
    }
  }

  /// Puts the slot where `item` lies (its home slot) into `area`.
  void PutInArea(int item, int area) { dlg.m_slotArea[item] = area; }
  void Require(int area, Lists lists) { dlg.m_areaRequirements[area] = std::move(lists); }
};

// One search of X over handmade tables: where the items lie, what their
// areas need, the visiting list before, and what the search must answer and
// leave on the list.
struct SearchCase {
  const char* name;
  std::map<int, int> areas;  // item -> area of its home slot
  std::map<int, Lists> requirements;
  std::vector<int> visiting_before;
  bool reachable;
  std::vector<int> visiting_after;
};

class SearchOfX : public ProgressionCheck, public testing::WithParamInterface<SearchCase> {};

TEST_P(SearchOfX, AnswersAndLeavesVisitingAsWorkedOut) {
  const SearchCase& c = GetParam();
  for (const auto& [item, area] : c.areas) PutInArea(item, area);
  for (const auto& [area, lists] : c.requirements) Require(area, lists);
  dlg.m_visiting = c.visiting_before;

  EXPECT_EQ(dlg.IsItemReachable(kX), c.reachable);
  EXPECT_EQ(dlg.m_visiting, c.visiting_after);
}

// Requirements of X's area that need nothing, in every form a table can say
// it. The alternatives end at the first empty index, so {Y} at index 2 is
// never looked at although Y could not be reached.
SearchCase NeedsNothing(const char* name, Lists lists) {
  SearchCase c{name, {{kX, 1}, {kY, 2}}, {{2, {{0, {kUnplaced}}}}}, {kEarlier}, true, {{kEarlier}}};
  if (!lists.empty()) c.requirements[1] = std::move(lists);
  return c;
}

// Y fails; the alternatives end at the first empty or missing index, so Z,
// which would pass, is never tried.
SearchCase GapBeforeZ(const char* name, Lists lists) {
  return {name, {{kX, 1}, {kY, 2}}, {{1, std::move(lists)}, {2, {{0, {kUnplaced}}}}}, {}, false,
          {{kX, kY}}};
}

INSTANTIATE_TEST_SUITE_P(
    Tables, SearchOfX,
    testing::Values(
        // X's area offers {Y} or {Z}; Y needs X; Z needs nothing. Y is added
        // and fails on X, Z is added and removed, and X's success removes Y,
        // the last entry, so X itself stays.
        SearchCase{"FirstAlternativeFailsSecondPassesAndXStays", {{kX, 1}, {kY, 2}, {kZ, 3}},
                   {{1, {{0, {}}, {1, {kY}}, {2, {kZ}}}}, {2, {{0, {kX}}}}}, {kEarlier}, true,
                   {{kEarlier, kX}}},
        NeedsNothing("NoEntry", {}),
        NeedsNothing("EmptyAlternativeBeforeY", {{0, {}}, {1, {}}, {2, {kY}}}),
        NeedsNothing("MissingIndexZero", {{1, {}}, {2, {kY}}}),
        NeedsNothing("NoItemAlternative", {{0, {}}, {1, {-1}}}),
        SearchCase{"CycleThroughYLeavesBoth", {{kX, 1}, {kY, 2}},
                   {{1, {{0, {kY}}}}, {2, {{0, {kX}}}}}, {}, false, {{kX, kY}}},
        SearchCase{"FailedPathLeavesEveryItemOfIt", {{kX, 1}, {kY, 2}, {kZ, 3}},
                   {{1, {{0, {kY}}}}, {2, {{0, {-1, kZ}}}}, {3, {{0, {kUnplaced}}}}}, {}, false,
                   {{kX, kY, kZ}}},
        // Y needs nothing, so a search would find it; but Y is already on
        // the list.
        SearchCase{"RequiredItemOnVisitingFails", {{kX, 1}}, {{1, {{0, {kY}}}}}, {kY}, false,
                   {{kY, kX}}},
        // A search of Y would fail and leave Y on the list a second time.
        SearchCase{"AlternativeOnVisitingIsNotSearched", {{kX, 1}, {kY, 2}},
                   {{1, {{0, {}}, {1, {kY}}}}, {2, {{0, {kUnplaced}}}}}, {kY}, false, {{kY, kX}}},
        // Z would be reachable and W would fail leaving itself behind:
        // neither is searched once the required Y has failed.
        SearchCase{"RequiredItemsBeforeAnyAlternative", {{kX, 1}, {kY, 2}, {kW, 3}},
                   {{1, {{0, {kY}}, {1, {kW}}, {2, {kZ}}}}, {2, {{0, {kUnplaced}}}},
                    {3, {{0, {kUnplaced}}}}},
                   {}, false, {{kX, kY}}},
        // {Y, W}: Y fails, so W (which would fail and stay) is not searched.
        // {Z} passes and ends the search; {V} (which would fail and stay) is
        // never tried. X's success removes Y, the last entry.
        SearchCase{"AlternativesInOrderUntilOnePasses", {{kX, 1}, {kY, 2}, {kW, 2}, {kV, 2}},
                   {{1, {{0, {}}, {1, {kY, kW}}, {2, {kZ}}, {3, {kV}}}}, {2, {{0, {kUnplaced}}}}},
                   {}, true, {{kX}}},
        GapBeforeZ("EmptyIndexBeforeZ", {{0, {}}, {1, {kY}}, {2, {}}, {3, {kZ}}}),
        GapBeforeZ("MissingIndexBeforeZ", {{0, {}}, {1, {kY}}, {3, {kZ}}})),
    [](const auto& param_info) { return std::string(param_info.param.name); });

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

// One whole check over handmade tables in which items 20 and 21 have
// swapped slots and item 20 may not lie in areas 5 and 2, so that pass 1
// must find the slot where the item now lies.
struct CheckCase {
  const char* name;
  std::map<int, int> areas;  // slot -> area
  std::map<int, Lists> requirements;
  bool valid_before;
  std::vector<int> visiting_before;
  bool valid;
  std::vector<int> visiting_after;
};

class WholeCheck : public ProgressionCheck, public testing::WithParamInterface<CheckCase> {};

TEST_P(WholeCheck, SetsTheFlagAndLeavesVisitingAsWorkedOut) {
  const CheckCase& c = GetParam();
  std::swap(dlg.m_placement[20], dlg.m_placement[21]);
  dlg.m_itemForbiddenAreas[20] = {5, 2};
  for (const auto& [slot, area] : c.areas) dlg.m_slotArea[slot] = area;
  for (const auto& [area, lists] : c.requirements) Require(area, lists);
  dlg.m_placementValid = c.valid_before;
  dlg.m_visiting = c.visiting_before;

  dlg.CheckPlacement();

  EXPECT_EQ(dlg.m_placementValid, c.valid);
  EXPECT_EQ(dlg.m_visiting, c.visiting_after);
}

const Lists kNeedsUnplaced = {{0, {kUnplaced}}};

INSTANTIATE_TEST_SUITE_P(
    Tables, WholeCheck,
    testing::Values(
        CheckCase{"ItemOutsideItsForbiddenAreas", {{20, 2}, {21, 1}}, {}, false, {}, true, {}},
        // Fails before any search: X would fail pass 2 and empty the list.
        CheckCase{"ItemInAForbiddenAreaFailsBeforeAnySearch", {{20, 1}, {21, 2}, {kX, 3}},
                  {{3, kNeedsUnplaced}}, false, {kEarlier}, false, {kEarlier}},
        // The first and the last item id are searched like any other.
        CheckCase{"UnreachableItemEmptiesVisiting", {{kX, 1}}, {{1, kNeedsUnplaced}}, false,
                  {kEarlier}, false, {}},
        CheckCase{"UnreachableFirstItem", {{0, 1}}, {{1, kNeedsUnplaced}}, false, {}, false, {}},
        CheckCase{"UnreachableLastItem", {{184, 1}}, {{1, kNeedsUnplaced}}, false, {}, false, {}},
        // X passes but stays on the list (as in the first search case); Y,
        // searched next from the top, then needs X, which is on the list, and
        // fails. With the list emptied between items the placement would pass.
        CheckCase{"EntriesLeftBySuccessfulSearchesFailLaterItems", {{kX, 1}, {kY, 2}},
                  {{1, {{0, {}}, {1, {kY}}, {2, {kZ}}}}, {2, {{0, {kX}}}}}, false, {}, false, {}},
        CheckCase{"FailingCheckAfterAPassDoesNotClearTheFlag", {{kX, 1}}, {{1, kNeedsUnplaced}},
                  true, {}, true, {}}),
    [](const auto& param_info) { return std::string(param_info.param.name); });

}  // namespace
}  // namespace velmora
