#include "verify/SeedSense.h"

#include <gtest/gtest.h>

#include <numeric>

#include "catalogue/ItemNames.h"
#include "doors/DoorTables.h"
#include "enemies/EnemyPositions.h"
#include "verify/GeneratedItemList_test.h"

namespace velmora {
namespace {

// Every item at home, every option off: what --no-items writes.
ItemListContents Unshuffled() {
  ItemListContents list;
  list.items.resize(185);
  std::iota(list.items.begin(), list.items.end(), 0);
  list.enemies.assign(53, -1);
  list.doors.assign(264, -1);
  return list;
}

// The item list the generator writes for `args`, read back.
ItemListContents Generated(std::vector<std::string> args) {
  const ItemListReadResult read = ReadItemList(GenerateItemList(std::move(args)).bytes);
  EXPECT_TRUE(read.contents) << read.problem->message;
  return read.contents ? *read.contents : Unshuffled();
}

void ExpectProblem(const SeedSense& sense, int line, const std::string& part) {
  ASSERT_TRUE(sense.problem) << "expected a problem on line " << line;
  EXPECT_EQ(sense.problem->line, line) << sense.problem->message;
  EXPECT_NE(sense.problem->message.find(part), std::string::npos) << sense.problem->message;
}

SeedSense JillNormal(const ItemListContents& list) {
  return CheckSeedSense(list, Character::kJill, Difficulty::kNormal);
}

// --- Items ---

TEST(SeedSenseItemsTest, UnshuffledPlacementsAreKeptAndSound) {
  for (Character character : {Character::kJill, Character::kChris}) {
    for (Difficulty difficulty : {Difficulty::kNormal, Difficulty::kHard}) {
      const SeedSense sense = CheckSeedSense(Unshuffled(), character, difficulty);
      EXPECT_FALSE(sense.problem) << sense.problem->message;
      EXPECT_EQ(sense.placement, PlacementKind::kKept);
    }
  }
}

// Two green herbs (slots 5 and 6, both in area 2) change places: a shuffle
// that changes nothing that matters, so every needed item is still reached.
TEST(SeedSenseItemsTest, AHarmlessShuffleIsSound) {
  ItemListContents list = Unshuffled();
  std::swap(list.items[5], list.items[6]);
  const SeedSense sense = JillNormal(list);
  EXPECT_FALSE(sense.problem) << sense.problem->message;
  EXPECT_EQ(sense.placement, PlacementKind::kShuffled);
  EXPECT_GT(sense.spheres, 1);
}

TEST(SeedSenseItemsTest, TheArmedCapsuleStandsForTheEmptyOne) {
  ItemListContents list = Unshuffled();
  std::swap(list.items[5], list.items[6]);
  list.items[178] = kArmedFuelCapsule;
  EXPECT_FALSE(JillNormal(list).problem);
  // Area 39 (slots 180 to 183) needs 178: without it or its armed form,
  // nothing removes the capsule, so it is missing.
  list.items[178] = 167;
  ExpectProblem(JillNormal(list), 0, "item 178 (\"Fuel Supply Capsule (Empty)\") lies in no slot");
}

// "Square Crank" (107) goes to slot 22 in area 8, which needs the
// "Helmet Key" (150); the key goes to slot 110 in area 22, which needs 107.
// Neither can be had. The smallest needed item that is then out of reach is
// the "MO Disk" 14 at home in slot 14: its area 16 needs 62, which lies in
// area 10, which needs 150. Items 0, 2, 3 and 11 stay reachable.
TEST(SeedSenseItemsTest, AKeyBehindItsOwnLockIsNamedWithTheFirstItemItStrands) {
  ItemListContents list = Unshuffled();
  std::swap(list.items[107], list.items[22]);
  std::swap(list.items[150], list.items[110]);
  ExpectProblem(JillNormal(list), 15,
                "item 14 (\"MO Disk\") at slot 14 cannot be reached: it lies in area 16, which "
                "needs 100, 48, 62");
}

TEST(SeedSenseItemsTest, AnItemInTwoSlotsIsNamedAtTheSecond) {
  ItemListContents list = Unshuffled();
  list.items[5] = 100;
  ExpectProblem(JillNormal(list), 101,
                "item 100 (\"Book of Curses / Sword Key\") lies at slot 100 and already at slot 5 "
                "(line 6)");
}

TEST(SeedSenseItemsTest, AnItemNoModifierRemovesMustLieSomewhere) {
  ItemListContents list = Unshuffled();
  list.items[100] = 167;  // a filler may stand anywhere, but 100 is gone
  ExpectProblem(JillNormal(list), 0, "item 100 (\"Book of Curses / Sword Key\") lies in no slot");
}

TEST(SeedSenseItemsTest, ModifierItemsMayReplaceTheirGroupsAnywhere) {
  ItemListContents list = Unshuffled();
  list.items[4] = 167;  // "Handgun Magazine": ammunition
  list.items[5] = kSelfDefenseGun;  // "Green Herb (Left)": healing
  list.items[8] = kSelfDefenseGun;  // "Handgun Magazine"
  const SeedSense sense = CheckSeedSense(list, Character::kJill, Difficulty::kHard);
  EXPECT_FALSE(sense.problem) << sense.problem->message;
  EXPECT_EQ(sense.placement, PlacementKind::kKept);
}

TEST(SeedSenseItemsTest, TheDoorModeShotgunOnlyInDoorSeeds) {
  ItemListContents list = Unshuffled();
  list.items[60] = kDoorModeShotgun;
  ExpectProblem(JillNormal(list), 61, "item 186 (\"Shotgun\") is handed out only in door seeds");
}

TEST(SeedSenseItemsTest, APinnedSlotHoldsItsOwnItem) {
  ItemListContents list = Unshuffled();
  std::swap(list.items[4], list.items[6]);  // slot 4 is pinned on Hard only
  EXPECT_FALSE(JillNormal(list).problem);
  ExpectProblem(CheckSeedSense(list, Character::kJill, Difficulty::kHard), 5,
                "slot 4 is pinned and holds item 6");
}

TEST(SeedSenseItemsTest, AnItemInAForbiddenAreaIsNamed) {
  ItemListContents list = Unshuffled();
  std::swap(list.items[0], list.items[72]);  // the "Lighter" may not lie in area 38
  ExpectProblem(JillNormal(list), 73,
                "item 0 (\"Lighter\") lies at slot 72 in area 38, where it may never lie");
}

// --- Enemies ---

ItemListContents WithFirstAllowedKinds() {
  ItemListContents list = Unshuffled();
  list.enemies.clear();
  for (const EnemyPositionRow& row : EnemyPositionTable())
    list.enemies.push_back(row.allowed.kinds().front());
  return list;
}

TEST(SeedSenseEnemiesTest, AKindThePositionDoesNotAllowIsNamed) {
  ItemListContents list = WithFirstAllowedKinds();
  EXPECT_FALSE(JillNormal(list).problem);
  list.enemies[45] = kKindChimeras;  // "Small Library", position 46, allows hunters only
  ExpectProblem(JillNormal(list), 232,
                "enemy kind 2 (CHIMERAS) may not stand at \"Small Library\"; expected one of "
                "HUNTERS");
}

TEST(SeedSenseEnemiesTest, TheSlowTyrantStandsWhereATyrantMay) {
  ItemListContents list = WithFirstAllowedKinds();
  list.enemies[1] = kKindSlowTyrant;  // "Art Room" allows 3
  EXPECT_FALSE(JillNormal(list).problem);
  list.enemies[0] = kKindSlowTyrant;  // "Aqua Ring Walkway" does not
  ExpectProblem(JillNormal(list), 187, "enemy kind 11 (SLOW TYRANT) may not stand at");
}

// --- Doors ---

class SeedSenseDoorsTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { doors_seed_ = Generated({"--seed", "7", "--doors"}); }
  static ItemListContents doors_seed_;

  static int Partner(int door) { return VanillaPartner(door); }
  // The door that `door` leads to.
  int Target(const ItemListContents& list, int door) const { return Partner(list.doors[door]); }
  // Whether the door pass rewires `door` (its room is placed, it is not fixed).
  static bool Rewired(int door) {
    for (const FixedDoor& fixed : kFixedDoors)
      if (fixed.door == door && fixed.value) return false;
    const std::string_view room = kDoorTable[door].room;
    for (auto rooms : {std::span<const std::string_view>(kMultiDoorRooms),
                       std::span<const std::string_view>(kSingleDoorRooms),
                       std::span<const std::string_view>(kTeaRoomAndNorthernCorridor),
                       std::span<const std::string_view>(kStartRooms)})
      if (std::find(rooms.begin(), rooms.end(), room) != rooms.end()) return true;
    return false;
  }
};
ItemListContents SeedSenseDoorsTest::doors_seed_;

TEST_F(SeedSenseDoorsTest, TheGeneratedMapIsSound) {
  const SeedSense sense = JillNormal(doors_seed_);
  EXPECT_FALSE(sense.problem) << sense.problem->message;
  EXPECT_EQ(sense.placement, PlacementKind::kDoorMode);
}

TEST_F(SeedSenseDoorsTest, AFixedDoorKeepsItsValue) {
  ItemListContents list = doors_seed_;
  list.doors[28] = 160;
  ExpectProblem(JillNormal(list), 269,
                "door 28 (\"Main Hall\") holds 160; it keeps 159 in every seed");
}

TEST_F(SeedSenseDoorsTest, ADoorOfARoomNeverRewiredLeadsBackToItself) {
  ItemListContents list = doors_seed_;
  list.doors[125] = 17;  // "Kitchen" is never placed; its door 125 has partner 16
  ExpectProblem(JillNormal(list), 366,
                "door 125 (\"Kitchen\") holds 17; its room is never rewired, so expected its "
                "partner 16");
}

TEST_F(SeedSenseDoorsTest, ARewiredDoorMayNotLeadBackToItself) {
  ItemListContents list = doors_seed_;
  int a = 0;
  while (!Rewired(a)) ++a;  // the smallest rewired door: no check before it can fail
  list.doors[a] = Partner(a);
  ExpectProblem(JillNormal(list), 241 + a, "and so leads back to itself");
}

TEST_F(SeedSenseDoorsTest, AOneWayConnectionIsNamedWithTheDoorWithoutAWayBack) {
  ItemListContents list = doors_seed_;
  int a = 0;
  while (!Rewired(a)) ++a;
  // Another rewired door c, not a's own partner door: a now leads to c, but
  // c still leads elsewhere.
  int c = a + 1;
  while (!Rewired(c) || c == Target(list, a)) ++c;
  list.doors[a] = Partner(c);
  ExpectProblem(JillNormal(list), 241 + a,
                "door " + std::to_string(a) + " (\"" + std::string(kDoorTable[a].room) +
                    "\") leads to door " + std::to_string(c));
}

// Two single-door rooms joined to each other, and the doors they hung on
// joined to each other: every connection is two-way, but the two rooms form
// an island.
TEST_F(SeedSenseDoorsTest, AnIslandOfRoomsCannotBeReachedFromTheMainHall) {
  ItemListContents list = doors_seed_;
  const int r = 51;  // "Bar"
  const int s = 49;  // "Tiger Statue Room"
  const int x = Target(list, r), y = Target(list, s);
  ASSERT_NE(x, s) << "pick rooms that are not joined to each other";
  list.doors[r] = Partner(s);
  list.doors[s] = Partner(r);
  list.doors[x] = Partner(y);
  list.doors[y] = Partner(x);
  ExpectProblem(JillNormal(list), 241 + 49,
                "\"Tiger Statue Room\" cannot be reached from \"Main Hall\"");
}

TEST_F(SeedSenseDoorsTest, DoorValuesGoWithNeitherHardNorLocks) {
  ExpectProblem(CheckSeedSense(doors_seed_, Character::kJill, Difficulty::kHard), 241,
                "door values in a Hard item list");
  ItemListContents list = doors_seed_;
  list.has_lock_section = true;
  list.locks.assign(38, 6);
  ExpectProblem(JillNormal(list), 505, "a lock section in a seed with door values");
}

// --- Locks ---

class SeedSenseLocksTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    locks_seed_ = Generated({"--seed", "11", "--no-items", "--locks"});
  }
  static int PositionOf(int type) {
    const auto at = std::find(locks_seed_.locks.begin(), locks_seed_.locks.end(), type);
    return static_cast<int>(at - locks_seed_.locks.begin());
  }
  static ItemListContents locks_seed_;
};
ItemListContents SeedSenseLocksTest::locks_seed_;

TEST_F(SeedSenseLocksTest, TheGeneratedDealIsSound) {
  EXPECT_FALSE(JillNormal(locks_seed_).problem) << JillNormal(locks_seed_).problem->message;
}

TEST_F(SeedSenseLocksTest, AReversedDoorOnlyWhereADoorCanBeTurned) {
  ItemListContents list = locks_seed_;
  list.locks[37] = 7;  // "O Room -> Morgue"
  ExpectProblem(JillNormal(list), 543, "lock position 37 holds 7 (One-way Door - Reversed), but");
}

TEST_F(SeedSenseLocksTest, EveryLockTypeAsOftenAsInTheGame) {
  ItemListContents list = locks_seed_;
  // The one "Shield Key" lock (13) dealt a second time, after the first.
  int p = PositionOf(13) + 1;
  if (p == 38) p = 0;
  list.locks[p] = 13;
  const int second = std::max(p, PositionOf(13));
  ExpectProblem(JillNormal(list), 506 + second,
                "lock type 13 (Shield Key) appears 2 times by here; the game's deal has 1 of it");
}

TEST_F(SeedSenseLocksTest, ABrokenLockRuleIsNamed) {
  ItemListContents list = locks_seed_;
  // Rule 4 wants 6 or 15 at position 30. Trade that lock with a position
  // that no rule names and that holds an "Armor Key" lock (0).
  const std::vector<int> named = {1, 2, 3, 4, 6, 8, 10, 13, 15, 22, 26, 28, 30};
  int p = 0;
  while (p < 38 && (list.locks[p] != 0 || std::find(named.begin(), named.end(), p) != named.end()))
    ++p;
  ASSERT_LT(p, 38) << "the deal has no Armor Key lock outside the rules' positions";
  std::swap(list.locks[p], list.locks[30]);
  ExpectProblem(JillNormal(list), 536,
                "breaks lock rule 4: position 30 holds neither 6 nor 15");
}

}  // namespace
}  // namespace velmora
