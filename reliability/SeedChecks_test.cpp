#include "reliability/SeedChecks.h"

#include <gtest/gtest.h>

#include "app/ControlIds.h"
#include "doors/DoorTables.h"
#include "enemies/EnemyPositions.h"
#include "reliability/PropertyRun.h"
#include "verify/ItemListReader.h"

namespace velmora {
namespace {

TEST(SeedChecksTest, CrLfLinesAreSplitAndEveryOtherLineEndIsRefused) {
  EXPECT_EQ(SplitCrLfLines("a\r\n\r\nb\r\n"), (std::vector<std::string>{"a", "", "b"}));
  EXPECT_EQ(SplitCrLfLines(""), std::vector<std::string>{});
  for (const char* bad : {"a\n", "a\r\nb", "a\rb\r\n", "a\n\r\n", "a\r\n\r"})
    EXPECT_FALSE(SplitCrLfLines(bad)) << bad;
}

// Three slots in areas 1, 2 and 3. Area 2 needs the item of id 0, area 3
// needs id 1 or (alternative 2) id 2.
TEST(SeedChecksTest, FixedPointOpensSlotsAsTheirAreasItemsAreCollected) {
  const std::vector<int> areas = {1, 2, 3};
  AreaRequirements requirements;
  requirements[2][0] = {0};
  requirements[3][1] = {1};
  requirements[3][2] = {2};
  EXPECT_EQ(SlotsLeftClosed({0, 1, 2}, areas, requirements), std::vector<int>{});
  // Id 0 behind area 2, which needs it: slot 1 stays closed; slot 2 needs id
  // 1 (in slot 0, open) or id 2: it opens.
  EXPECT_EQ(SlotsLeftClosed({1, 0, 2}, areas, requirements), std::vector<int>{1});
  // Id 2 in the open slot 0 opens area 3 by its second alternative, which
  // gives id 1; id 0 still lies behind area 2, which needs it.
  EXPECT_EQ(SlotsLeftClosed({2, 0, 1}, areas, requirements), std::vector<int>{1});
  // Without the second alternative area 3 needs id 1, which lies in it.
  requirements[3].erase(2);
  EXPECT_EQ(SlotsLeftClosed({2, 0, 1}, areas, requirements), (std::vector<int>{1, 2}));
}

TEST(SeedChecksTest, FixedPointTakesMinusOneAsNoItemAndAnEmptyAlternativeAsTheEnd) {
  AreaRequirements requirements;
  requirements[1][0] = {-1};
  requirements[2][1] = {};
  requirements[2][2] = {99};  // after an empty alternative: not read
  EXPECT_EQ(SlotsLeftClosed({0, 1}, {1, 2}, requirements), std::vector<int>{});
  requirements[1][0] = {-99};
  EXPECT_EQ(SlotsLeftClosed({0, 1}, {1, 2}, requirements), std::vector<int>{0});
}

CommandLineOptions EnemyOptions() {
  CommandLineOptions o;
  o.enemies = true;
  o.kinds = {kIdZombies, kIdDogs,  kIdHunters, kIdSpiders,
             kIdSharks,  kIdBees, kIdChimera, kIdElderCrimsonHeads};
  o.tyrant = o.yawn = o.lisa = SpawnChoice::kNone;
  return o;
}

// Every position with the last ordinary kind its row allows (hunters, kind
// 1, only where nothing else is allowed).
std::vector<int> LastOrdinaryKinds() {
  std::vector<int> kinds;
  for (const EnemyPositionRow& row : EnemyPositionTable()) {
    int last = 0;
    for (int kind : row.allowed.kinds())
      if (kind != kKindTyrant && kind != kKindYawn && kind != kKindLisa) last = kind;
    kinds.push_back(last);
  }
  return kinds;
}

int PositionOf(std::string_view name) {
  const auto table = EnemyPositionTable();
  for (size_t i = 0; i < table.size(); ++i)
    if (table[i].name == name) return static_cast<int>(i);
  return -1;
}

TEST(SeedChecksTest, EnemySectionWithAllowedKindsPasses) {
  EXPECT_EQ(CheckEnemySection(EnemyOptions(), LastOrdinaryKinds()), std::vector<std::string>{});
  CommandLineOptions off;
  EXPECT_EQ(CheckEnemySection(off, std::vector<int>(53, -1)), std::vector<std::string>{});
}

TEST(SeedChecksTest, EnemySectionFaultsAreFound) {
  const CommandLineOptions o = EnemyOptions();
  std::vector<int> kinds = LastOrdinaryKinds();
  // "Small Library" allows hunters alone.
  kinds[PositionOf("Small Library")] = kKindZombies;
  EXPECT_EQ(CheckEnemySection(o, kinds).size(), 1u);

  // A Tyrant where "None" is chosen.
  kinds = LastOrdinaryKinds();
  kinds[PositionOf("Art Room")] = kKindTyrant;
  EXPECT_EQ(CheckEnemySection(o, kinds).size(), 1u);

  // "One" Tyrant, slow type: one fast Tyrant breaks the type.
  CommandLineOptions one_slow = o;
  one_slow.tyrant = SpawnChoice::kOne;
  one_slow.tyrant_type = TyrantType::kSlow;
  EXPECT_EQ(CheckEnemySection(one_slow, kinds).size(), 1u);
  kinds[PositionOf("Art Room")] = kKindSlowTyrant;
  EXPECT_EQ(CheckEnemySection(one_slow, kinds), std::vector<std::string>{});
  kinds[PositionOf("Attic")] = kKindSlowTyrant;
  EXPECT_EQ(CheckEnemySection(one_slow, kinds).size(), 1u) << "two Tyrants for One";

  // Hunters unchecked stay only where nothing else is allowed: "Small
  // Library" (1 alone) keeps them, "Dining Room" (1, 2, 4, 6, 8) must not.
  CommandLineOptions no_hunters = o;
  no_hunters.kinds.erase(no_hunters.kinds.begin() + 2);
  kinds = LastOrdinaryKinds();
  EXPECT_EQ(kinds[PositionOf("Small Library")], kKindHunters);
  EXPECT_EQ(CheckEnemySection(no_hunters, kinds), std::vector<std::string>{});
  kinds[PositionOf("Dining Room")] = kKindHunters;
  EXPECT_EQ(CheckEnemySection(no_hunters, kinds).size(), 1u);
  // With Yawn on "Many", Yawn stays in the lists, so hunters cannot be the
  // kind left over where Yawn is allowed: "Aqua Ring Walkway" (1, 5, 6, 7,
  // ...) with every ordinary kind off.
  CommandLineOptions only_yawn = o;
  only_yawn.kinds.clear();
  only_yawn.yawn = SpawnChoice::kMany;
  kinds = LastOrdinaryKinds();
  kinds[PositionOf("Aqua Ring Walkway")] = kKindHunters;
  bool reported = false;
  for (const std::string& line : CheckEnemySection(only_yawn, kinds))
    reported |= line.starts_with("Aqua Ring Walkway has kind 1, unchecked, while it allows 7");
  EXPECT_TRUE(reported);

  CommandLineOptions off;
  std::vector<int> minus = std::vector<int>(53, -1);
  minus[3] = kKindDogs;
  EXPECT_EQ(CheckEnemySection(off, minus).size(), 1u);
}

CommandLineOptions DoorOptions() {
  CommandLineOptions o;
  o.doors = true;
  return o;
}

// The door section of a real door seed.
std::vector<int> GeneratedDoors() {
  SeedCase c;
  c.seed = 5;
  c.options = DoorOptions();
  const InMemoryGeneration generation(c);
  const ItemListReadResult read = ReadItemList(generation.Seed().item_list);
  EXPECT_TRUE(read.contents);
  return read.contents ? read.contents->doors : std::vector<int>(264, -1);
}

TEST(SeedChecksTest, GeneratedDoorMapIsTwoWayAndConnected) {
  EXPECT_EQ(CheckDoorSection(DoorOptions(), GeneratedDoors()), std::vector<std::string>{});
  EXPECT_EQ(CheckDoorSection(CommandLineOptions{}, std::vector<int>(264, -1)),
            std::vector<std::string>{});
  EXPECT_EQ(CheckDoorSection(CommandLineOptions{}, GeneratedDoors()).size(), 1u);
}

TEST(SeedChecksTest, OneWayConnectionsAreFoundAndTwoWayOnesPass) {
  // Doors 2 and 12 (the stairway's and the corridor's, both placed in every
  // seed) trade their values: each leads where the other did, while the
  // doors they arrive at still lead back to the old ones.
  std::vector<int> doors = GeneratedDoors();
  const int b2 = kDoorTable[doors[2]].partner, b12 = kDoorTable[doors[12]].partner;
  ASSERT_NE(b2, 12);
  std::swap(doors[2], doors[12]);
  EXPECT_GE(CheckDoorSection(DoorOptions(), doors).size(), 2u);
  // Joined both ways, as the door pass joins a with b (a gets partner(b), b
  // gets partner(a)): 2 now with b12, 12 with b2. Every way back holds;
  // the rewiring may have cut rooms off, which is all that can be left.
  doors[b12] = kDoorTable[2].partner;
  doors[b2] = kDoorTable[12].partner;
  for (const std::string& line : CheckDoorSection(DoorOptions(), doors))
    EXPECT_TRUE(line.ends_with("cannot be reached from the Main Hall")) << line;
}

TEST(SeedChecksTest, RoomShutOffOnBothSidesCannotBeReached) {
  // "Library" has one door, 106. It and the door it was joined with both
  // leading back to themselves is two-way, but the Library can no longer be
  // entered.
  std::vector<int> doors = GeneratedDoors();
  const int joined = kDoorTable[doors[106]].partner;
  doors[106] = kDoorTable[106].partner;
  doors[joined] = kDoorTable[joined].partner;
  const std::vector<std::string> broken = CheckDoorSection(DoorOptions(), doors);
  ASSERT_EQ(broken.size(), 1u);
  EXPECT_NE(broken[0].find("\"Library\""), std::string::npos) << broken[0];
}

}  // namespace
}  // namespace velmora
