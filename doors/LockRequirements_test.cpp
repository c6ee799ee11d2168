#include "doors/LockRequirements.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "doors/LockPositions.h"
#include "doors/doors_test.h"

namespace velmora {
namespace {

using doors_test::kErrorLine;
using doors_test::kOpenTwoDeal;

using Lists = std::map<int, std::vector<int>>;

std::vector<int> Concat(std::vector<int> a, const std::vector<int>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

struct Derived {
  LockGates gates;
  AreaRequirements table;
  std::vector<std::string> log;
};

Derived Derive(const LockDeal& deal, Character character) {
  Derived d;
  const LogSink sink = [&d](std::string_view text) { d.log.emplace_back(text); };
  d.gates = BuildLockGates(deal, character, sink);
  d.table = DeriveLockRequirements(deal, d.gates, character, sink);
  return d;
}

TEST(LockGatesTest, TheUnshuffledDealOpensOnly79And86AndAnOpenTwoOpens76AndTheChainBehindTen) {
  const Derived d = Derive(kUnshuffledLockTypes, Character::kJill);
  EXPECT_EQ(d.gates, (LockGates{
      {74, {150}}, {75, {48}},  {76, {-1}},  {79, {69}},        {84, {150}}, {85, {48}},
      {86, {69}},  {87, {-1}},  {88, {-1}},  {90, {-1}},        {98, {-1}},  {99, {-1}},
      {100, {-1}}, {118, {-1}}, {119, {100, -1}}, {121, {-1}}, {122, {-1}}}));
  EXPECT_EQ(Derive(kOpenTwoDeal, Character::kJill).gates, (LockGates{
      {74, {150}}, {75, {48}},  {76, {69}},  {79, {69}},        {84, {150}}, {85, {69}},
      {86, {-1}},  {87, {69}},  {88, {-1}},  {90, {-1}},        {98, {69}},  {99, {69}},
      {100, {69}}, {118, {69}}, {119, {100, -1}}, {121, {69}}, {122, {-1}}}));
}

// Each change opens a gate that stays closed without it: {base changes to the
// unshuffled deal}, {changes on top}, gate.
TEST(LockGatesTest, ARuleOpensAGateThatStaysClosedWithoutTheChange) {
  const struct {
    std::vector<std::pair<int, int>> base, opening;
    int gate;
  } cases[] = {{{}, {{10, 15}, {28, 15}}, 100},       // rule 8
               {{}, {{8, 15}, {30, 15}}, 100},        // rule 9
               {{}, {{26, 7}}, 100},                  // rule 10
               {{}, {{19, 6}}, 90},                   // rule 12
               {{}, {{1, 7}}, 76},                    // rule 16
               {{{4, 7}, {6, 0}}, {{1, 6}}, 79}};     // rule 17
  for (const auto& c : cases) {
    LockDeal deal = kUnshuffledLockTypes;
    for (const auto& [position, type] : c.base) deal[position] = type;
    EXPECT_EQ(Derive(deal, Character::kJill).gates.at(c.gate).front(), -1) << c.gate;
    for (const auto& [position, type] : c.opening) deal[position] = type;
    EXPECT_EQ(Derive(deal, Character::kJill).gates.at(c.gate).front(), 69) << c.gate;
  }
}

// The areas the unshuffled deal gives requirements, and the telling ones of
// them worked out by hand.
TEST(LockRequirementsTest, TheUnshuffledDealForJill) {
  const AreaRequirements expected = {
      {70, {{0, {48, 15, 74}}}},
      {76, {{1, {100}}, {2, {48}}, {3, {-1}}}},
      {77, {{0, {-1}}, {1, {100}}, {2, {48}}, {3, {-1}}}},
      {86, {{0, {82}}}},
      {87, {{1, {100}}, {2, {100, -1}}}},
      {89, {{0, {100, -1, 24, 61}}}},
      {90, {{1, {-1}}, {2, {48, 100}}}},
      {92, {{0, {48, -1}}, {1, {100}}, {2, {100, -1}}}},
      {95, {{0, {48, 0}}, {1, {100}}}},
      // Areas 101..112 and 120 share the alternatives of area 101.
      {101, {{0, {100, -1}}, {1, {102}}, {2, {129, 34}}}},
      {108, {{0, {100, -1, 107, 154, 142, 82, 148}}, {1, {102}}, {2, {129, 34}}}},
      {117, {{0, {82}}, {1, {100}}, {2, {100, -1}}}},
  };
  const Derived d = Derive(kUnshuffledLockTypes, Character::kJill);
  std::vector<int> areas;  // those whose entry holds a list
  for (const auto& [area, lists] : d.table)
    if (!lists.empty()) areas.push_back(area);
  std::vector<int> expected_areas = {70, 71, 72, 73, 74, 75, 76, 77, 78};
  for (int area = 80; area <= 124; ++area)
    if (area != 83 && area != 113) expected_areas.push_back(area);
  EXPECT_EQ(areas, expected_areas);
  for (const auto& [area, lists] : expected) EXPECT_EQ(d.table.at(area), lists) << area;
  EXPECT_TRUE(d.log.empty());
}

TEST(LockRequirementsTest, AnOpenPositionTwoPutsTheErrorMarkerIntoArea86) {
  const Derived d = Derive(kOpenTwoDeal, Character::kJill);
  const Lists area86 = {{0, {82}}, {1, {-1}}, {2, {-1, -99}}, {3, {-1, 48}}, {4, {48}}};
  Lists area117 = area86;
  area117[0] = {82, 82};
  EXPECT_EQ(d.table.at(86), area86);
  EXPECT_EQ(d.table.at(117), area117);
  EXPECT_EQ(d.table.at(109), (Lists{{0, {100, -1, 100, 107, 150, 139}}, {1, {102}}, {2, {129, 34}}}));
  // Area 83 takes the Sword Key of position 9, not the Armor Key of position 8.
  LockDeal armor_at_8 = kOpenTwoDeal;
  armor_at_8[8] = 0;
  EXPECT_EQ(Derive(armor_at_8, Character::kJill).table.at(83), (Lists{{0, {100}}}));
  EXPECT_EQ(d.log, std::vector<std::string>{kErrorLine});
}

// Jill's area 95 adds the Lighter (item 0), see her table above.
TEST(LockRequirementsTest, ChrisNeedsNoLighterInArea95) {
  EXPECT_EQ(Derive(kUnshuffledLockTypes, Character::kChris).table.at(95), (Lists{{0, {48}}, {1, {100}}}));
}

// Area 123 lists area 73's items, the keys of position 36 and item 178, then
// the end items, which are the same for every deal, and Chris's old keys for
// him; area 124 adds the fuse.
TEST(LockRequirementsTest, Area123ListsTheKeysOfPosition36ThenTheEndItems) {
  const std::vector<int> old_keys = {9, 32, 37, 85, 94};
  const std::vector<int> jill = Derive(kUnshuffledLockTypes, Character::kJill).table.at(123).at(0);
  ASSERT_EQ(jill.size(), 7u + 46u);
  const std::vector<int> end_items(jill.begin() + 7, jill.end());
  const struct {
    int type_at_36;  // -1: unshuffled
    Character character;
    std::vector<int> way_in;
  } cases[] = {{-1, Character::kJill, {163}},  // Power Area Key
               {-1, Character::kChris, {163}},
               {6, Character::kJill, {}}};       // one-way door
  for (const auto& c : cases) {
    LockDeal deal = kUnshuffledLockTypes;
    if (c.type_at_36 >= 0) deal[36] = c.type_at_36;
    const Derived d = Derive(deal, c.character);
    std::vector<int> expected = Concat(Concat(Concat({102, 34, 129, 66, 47}, c.way_in), {178}), end_items);
    if (c.character == Character::kChris) expected = Concat(expected, old_keys);
    EXPECT_EQ(d.table.at(123), (Lists{{0, expected}})) << c.type_at_36;
    EXPECT_EQ(d.table.at(124), (Lists{{0, Concat(expected, {183})}})) << c.type_at_36;
  }
}

TEST(LockRequirementsTest, Area117PairsTheAlternativesOf87And86LeavingIndexMFree) {
  // With 86 closed too, area 87 has n = 2 alternatives and area 86 has
  // m = 4 indices (0 and three alternatives).
  LockDeal deal = kUnshuffledLockTypes;
  deal[11] = 6;
  deal[13] = 0;
  const Derived d = Derive(deal, Character::kJill);
  EXPECT_EQ(d.table.at(87), (Lists{{1, {100}}, {2, {100, -1}}}));
  EXPECT_EQ(d.table.at(86), (Lists{{0, {82}}, {1, {-1, 100}}, {2, {-1, 48}}, {3, {48}}}));
  EXPECT_EQ(d.table.at(117), (Lists{{0, {82}},
                                    {1, {100, -1, 100}},
                                    {2, {100, -1, 48}},
                                    {3, {100, 48}},
                                    {5, {100, -1, -1, 100}},
                                    {6, {100, -1, -1, 48}},
                                    {7, {100, -1, 48}}}));
}

}  // namespace
}  // namespace velmora
