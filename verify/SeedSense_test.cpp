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

// The unshuffled placement with some slots given other items, for Jill.
struct Placement {
  std::string name;
  Difficulty difficulty;
  std::vector<std::pair<int, int>> slot_items;
  int line = -1;                                  ///< of the problem; -1 when sound
  std::string part;                               ///< of the problem's message
  PlacementKind kind = PlacementKind::kShuffled;  ///< when sound
};
using SlotItems = std::vector<std::pair<int, int>>;
constexpr auto kNormal = Difficulty::kNormal;
constexpr auto kHard = Difficulty::kHard;

Placement Sound(std::string name, Difficulty d, SlotItems s, PlacementKind kind) {
  return {std::move(name), d, std::move(s), -1, "", kind};
}
Placement Problem(std::string name, Difficulty d, SlotItems s, int line, std::string part) {
  return {std::move(name), d, std::move(s), line, std::move(part)};
}

class SeedSensePlacementTest : public ::testing::TestWithParam<Placement> {};

TEST_P(SeedSensePlacementTest, IsJudged) {
  const Placement& p = GetParam();
  ItemListContents list = Unshuffled();
  for (const auto& [slot, item] : p.slot_items) list.items[slot] = item;
  const SeedSense sense = CheckSeedSense(list, Character::kJill, p.difficulty);
  if (p.line >= 0) {
    ExpectProblem(sense, p.line, p.part);
  } else {
    EXPECT_FALSE(sense.problem) << sense.problem->message;
    EXPECT_EQ(sense.placement, p.kind);
    if (p.kind == PlacementKind::kShuffled) {
      EXPECT_GT(sense.spheres, 1);
    }
  }
}


INSTANTIATE_TEST_SUITE_P(
    Jill, SeedSensePlacementTest,
    ::testing::Values(
        // Two green herbs, slots 5 and 6, both in area 2, trade places: a
        // shuffle that changes nothing that matters.
        Sound("HarmlessShuffle", kNormal, {{5, 6}, {6, 5}}, PlacementKind::kShuffled),
        Sound("ArmedCapsuleForTheEmptyOne", kNormal, {{5, 6}, {6, 5}, {178, kArmedFuelCapsule}},
              PlacementKind::kShuffled),
        // Area 39 (slots 180 to 183) needs 178: without it or its armed
        // form, nothing removes the capsule, so it is missing.
        Problem("EmptyCapsuleGone", kNormal, {{5, 6}, {6, 5}, {178, 167}}, 0,
                "item 178 (\"Fuel Supply Capsule (Empty)\") lies in no slot"),
        // "Square Crank" (107) goes to slot 22 in area 8, which needs the
        // "Helmet Key" (150); the key goes to slot 110 in area 22, which
        // needs 107. The smallest needed item then out of reach is the "MO
        // Disk" 14 at home in slot 14: its area 16 needs 62, which lies in
        // area 10, which needs 150.
        Problem("KeyBehindItsOwnLock", kNormal, {{107, 22}, {22, 107}, {150, 110}, {110, 150}}, 15,
                "item 14 (\"MO Disk\") at slot 14 cannot be reached: it lies in area 16, which "
                "needs 100, 48, 62"),
        Problem("ItemInTwoSlots", kNormal, {{5, 100}}, 101,
                "item 100 (\"Book of Curses / Sword Key\") lies at slot 100 and already at slot "
                "5 (line 6)"),
        // A filler may stand anywhere, but 100 is gone.
        Problem("ItemNowhere", kNormal, {{100, 167}}, 0,
                "item 100 (\"Book of Curses / Sword Key\") lies in no slot"),
        // A filler and the Self Defense Gun in place of ammunition and healing.
        Sound("ModifierItems", kHard, {{4, 167}, {5, kSelfDefenseGun}, {8, kSelfDefenseGun}},
              PlacementKind::kKept),
        Problem("DoorModeShotgun", kNormal, {{60, kDoorModeShotgun}}, 61,
                "item 186 (\"Shotgun\") is handed out only in door seeds"),
        // Slot 4 is pinned on Hard only.
        Sound("UnpinnedOnNormal", kNormal, {{4, 6}, {6, 4}}, PlacementKind::kShuffled),
        Problem("PinnedOnHard", kHard, {{4, 6}, {6, 4}}, 5, "slot 4 is pinned and holds item 6"),
        // The "Lighter" may not lie in area 38.
        Problem("ForbiddenArea", kNormal, {{0, 72}, {72, 0}}, 73,
                "item 0 (\"Lighter\") lies at slot 72 in area 38, where it may never lie")),
    [](const testing::TestParamInfo<Placement>& param) { return param.param.name; });

// --- Enemies ---

TEST(SeedSenseEnemiesTest, EachPositionTakesOnlyTheKindsItAllows) {
  ItemListContents list = Unshuffled();
  list.enemies.clear();
  for (const EnemyPositionRow& row : EnemyPositionTable())
    list.enemies.push_back(row.allowed.kinds().front());
  EXPECT_FALSE(JillNormal(list).problem);
  list.enemies[1] = kKindSlowTyrant;  // "Art Room" allows 3, the Tyrant
  EXPECT_FALSE(JillNormal(list).problem);

  ItemListContents chimera = list;
  chimera.enemies[45] = kKindChimeras;  // "Small Library", position 46, allows hunters only
  ExpectProblem(JillNormal(chimera), 232,
                "enemy kind 2 (CHIMERAS) may not stand at \"Small Library\"; expected one of "
                "HUNTERS");
  list.enemies[0] = kKindSlowTyrant;  // "Aqua Ring Walkway" allows no Tyrant
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
  // The smallest door from `from` on that the door pass rewires (its room is
  // placed, it is not fixed).
  static int Rewired(int from) {
    for (int door = from;; ++door) {
      bool fixed = false;
      for (const FixedDoor& f : kFixedDoors) fixed |= f.door == door && f.value;
      const std::string_view room = kDoorTable[door].room;
      for (auto rooms : {std::span<const std::string_view>(kMultiDoorRooms),
                         std::span<const std::string_view>(kSingleDoorRooms),
                         std::span<const std::string_view>(kTeaRoomAndNorthernCorridor),
                         std::span<const std::string_view>(kStartRooms)})
        if (!fixed && std::find(rooms.begin(), rooms.end(), room) != rooms.end()) return door;
    }
  }
};
ItemListContents SeedSenseDoorsTest::doors_seed_;

TEST_F(SeedSenseDoorsTest, TheGeneratedMapIsSound) {
  const SeedSense sense = JillNormal(doors_seed_);
  EXPECT_FALSE(sense.problem) << sense.problem->message;
  EXPECT_EQ(sense.placement, PlacementKind::kDoorMode);
}

TEST_F(SeedSenseDoorsTest, DoorsOutsideTheRewiringKeepTheirValues) {
  ItemListContents list = doors_seed_;
  list.doors[28] = 160;
  ExpectProblem(JillNormal(list), 269,
                "door 28 (\"Main Hall\") holds 160; it keeps 159 in every seed");
  list = doors_seed_;
  list.doors[125] = 17;  // "Kitchen" is never placed; its door 125 has partner 16
  ExpectProblem(JillNormal(list), 366,
                "door 125 (\"Kitchen\") holds 17; its room is never rewired, so expected its "
                "partner 16");
}

// The smallest rewired door a, so that no check before it can fail.
TEST_F(SeedSenseDoorsTest, ARewiredDoorLeadsElsewhereAndBack) {
  const int a = Rewired(0);
  ItemListContents list = doors_seed_;
  list.doors[a] = Partner(a);
  ExpectProblem(JillNormal(list), 241 + a, "and so leads back to itself");
  // Another rewired door c, not a's own partner door: a now leads to c,
  // but c still leads elsewhere.
  int c = Rewired(a + 1);
  while (c == Target(doors_seed_, a)) c = Rewired(c + 1);
  list = doors_seed_;
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

// Position 37, "O Room -> Morgue", cannot be turned: neither reversed door
// type, 7 (dealt as 6) nor 9 (dealt as 8), may stand there.
TEST_F(SeedSenseLocksTest, AReversedDoorOnlyWhereADoorCanBeTurned) {
  for (int reversed : {7, 9}) {
    ItemListContents list = locks_seed_;
    list.locks[37] = reversed;
    ExpectProblem(JillNormal(list), 543,
                  "lock position 37 holds " + std::to_string(reversed) + " (");
    ExpectProblem(JillNormal(list), 543,
                  "cannot be turned around; expected " + std::to_string(reversed - 1));
  }
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
  ExpectProblem(JillNormal(list), 536, "breaks lock rule 4: position 30 holds neither 6 nor 15");
}

}  // namespace
}  // namespace velmora
