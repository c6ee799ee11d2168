#include "verify/SeedSense.h"

#include <gtest/gtest.h>

#include <numeric>

#include "catalogue/ItemNames.h"
#include "doors/DoorTables.h"
#include "enemies/EnemyPositions.h"
#include "output/test_support.h"

namespace velmora {
namespace {

constexpr PlacementKind kKept = PlacementKind::kKept, kShuffled = PlacementKind::kShuffled;

// Every item at home, every option off: what --no-items writes.
ItemListContents Unshuffled() {
  ItemListContents list;
  list.items.resize(185);
  std::iota(list.items.begin(), list.items.end(), 0);
  list.enemies.assign(53, -1);
  list.doors.assign(264, -1);
  return list;
}

// The item list the dialog writes for `g`, for Jill on Normal, read back.
ItemListContents Generated(const Generation& g) {
  const ItemListReadResult read =
      ReadItemList(GeneratedSeed(g).files.files().at("ItemListJillNormal.txt"));
  EXPECT_TRUE(read.contents) << read.problem->message;
  return read.contents ? *read.contents : Unshuffled();
}

void ExpectProblem(const SeedSense& sense, int line, const std::string& part) {
  ASSERT_TRUE(sense.problem) << "expected a problem on line " << line;
  EXPECT_EQ(sense.problem->line, line) << sense.problem->message;
  EXPECT_NE(sense.problem->message.find(part), std::string::npos) << sense.problem->message;
}

SeedSense JillNormal(const ItemListContents& list) { return CheckSeedSense(list, kJill, kNormal); }

// --- Items ---

// The unshuffled placement with some slots given other items, for Jill.
struct Placement {
  std::string name;
  Difficulty difficulty;
  std::vector<std::pair<int, int>> slot_items;
  int line = -1;                   ///< of the problem; -1 when sound
  std::string part{};              ///< of the problem's message
  PlacementKind kind = kShuffled;  ///< when sound
};

class SeedSensePlacementTest : public ::testing::TestWithParam<Placement> {};

TEST_P(SeedSensePlacementTest, IsJudged) {
  const Placement& p = GetParam();
  ItemListContents list = Unshuffled();
  for (const auto& [slot, item] : p.slot_items) list.items[slot] = item;
  const SeedSense sense = CheckSeedSense(list, kJill, p.difficulty);
  if (p.line >= 0) {
    ExpectProblem(sense, p.line, p.part);
  } else {
    EXPECT_FALSE(sense.problem) << sense.problem->message;
    EXPECT_EQ(sense.placement, p.kind);
    EXPECT_TRUE(p.kind != kShuffled || sense.spheres > 1) << sense.spheres;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Jill, SeedSensePlacementTest,
    ::testing::Values(
        // Area 39 (slots 180 to 183) needs 178: without it or its armed
        // form, nothing removes the capsule, so it is missing.
        Placement{"EmptyCapsuleGone", kNormal, {{5, 6}, {6, 5}, {178, 167}}, 0,
                  "item 178 (\"Fuel Supply Capsule (Empty)\") lies in no slot"},
        // "Square Crank" (107) goes to slot 22 in area 8, which needs the
        // "Helmet Key" (150); the key goes to slot 110 in area 22, which
        // needs 107. The smallest needed item then out of reach is the "MO
        // Disk" 14 at home in slot 14: its area 16 needs 62, which lies in
        // area 10, which needs 150.
        Placement{"KeyBehindItsOwnLock", kNormal, {{107, 22}, {22, 107}, {150, 110}, {110, 150}},
                  15, "item 14 (\"MO Disk\") at slot 14 cannot be reached: it lies in area 16"},
        Placement{"ItemInTwoSlots", kNormal, {{5, 100}}, 101,
                  "lies at slot 100 and already at slot 5 (line 6)"},
        // A filler and the Self Defense Gun in place of ammunition and healing.
        Placement{"ModifierItems", kHard, {{4, 167}, {5, kSelfDefenseGun}, {8, kSelfDefenseGun}},
                  -1, "", kKept},
        Placement{"DoorModeShotgun", kNormal, {{60, kDoorModeShotgun}}, 61,
                  "item 186 (\"Shotgun\") is handed out only in door seeds"},
        // Slot 4 is pinned on Hard only.
        Placement{"UnpinnedOnNormal", kNormal, {{4, 6}, {6, 4}}},
        Placement{"PinnedOnHard", kHard, {{4, 6}, {6, 4}}, 5, "slot 4 is pinned and holds item 6"},
        // The "Lighter" may not lie in area 38.
        Placement{"ForbiddenArea", kNormal, {{0, 72}, {72, 0}}, 73,
                  "item 0 (\"Lighter\") lies at slot 72 in area 38, where it may never lie"}),
    [](const testing::TestParamInfo<Placement>& param) { return param.param.name; });

// --- Enemies ---

TEST(SeedSenseEnemiesTest, EachPositionTakesOnlyTheKindsItAllows) {
  ItemListContents list = Unshuffled();
  list.enemies.clear();
  for (const EnemyPositionRow& row : EnemyPositionTable())
    list.enemies.push_back(row.allowed.kinds().front());

  ItemListContents chimera = list;
  chimera.enemies[45] = kKindChimeras;  // "Small Library", position 46, allows hunters only
  ExpectProblem(JillNormal(chimera), 232,
                "enemy kind 2 (CHIMERAS) may not stand at \"Small Library\"; expected one of "
                "HUNTERS");
  list.enemies[0] = kKindSlowTyrant;  // "Aqua Ring Walkway" allows no Tyrant
  ExpectProblem(JillNormal(list), 187, "enemy kind 11 (SLOW TYRANT) may not stand at");
}

// --- Doors ---

// Seed 7's door map.
ItemListContents DoorsSeed() {
  static const ItemListContents seed = Generated({.doors = true, .seed = 7});
  return seed;
}

// The door that `door` leads to.
int Target(const ItemListContents& list, int door) { return VanillaPartner(list.doors[door]); }

// Seed 7's door map with one door given another value. Doors 0 and 1 of the
// "Medical Storage Room" are the first two the door pass rewires, so that no
// check before them can fail.
TEST(SeedSenseDoorsTest, AChangedDoorValueIsNamed) {
  ASSERT_NE(Target(DoorsSeed(), 0), 1) << "pick a door that door 0 does not lead to";
  const struct {
    int door, value, line;
    std::string part;
  } cases[] = {
      {28, 160, 269, "door 28 (\"Main Hall\") holds 160; it keeps 159 in every seed"},
      // "Kitchen" is never placed; its door 125 has partner 16.
      {125, 17, 366,
       "door 125 (\"Kitchen\") holds 17; its room is never rewired, so expected its partner 16"},
      {0, VanillaPartner(0), 241, "and so leads back to itself"},
      // Door 0 now leads to door 1, but door 1 still leads elsewhere.
      {0, VanillaPartner(1), 241, "door 0 (\"Medical Storage Room\") leads to door 1"}};
  for (const auto& c : cases) {
    ItemListContents list = DoorsSeed();
    list.doors[c.door] = c.value;
    ExpectProblem(JillNormal(list), c.line, c.part);
  }
}

// Two single-door rooms joined to each other, and the doors they hung on
// joined to each other: every connection is two-way, but the two rooms form
// an island.
TEST(SeedSenseDoorsTest, AnIslandOfRoomsCannotBeReachedFromTheMainHall) {
  ItemListContents list = DoorsSeed();
  const int r = 51;  // "Bar"
  const int s = 49;  // "Tiger Statue Room"
  const int x = Target(list, r), y = Target(list, s);
  ASSERT_NE(x, s) << "pick rooms that are not joined to each other";
  list.doors[r] = VanillaPartner(s);
  list.doors[s] = VanillaPartner(r);
  list.doors[x] = VanillaPartner(y);
  list.doors[y] = VanillaPartner(x);
  ExpectProblem(JillNormal(list), 241 + 49,
                "\"Tiger Statue Room\" cannot be reached from \"Main Hall\"");
}

// Door values with Hard: RunVerifyTest prints that problem.
TEST(SeedSenseDoorsTest, DoorValuesGoWithNoLocks) {
  ItemListContents list = DoorsSeed();
  list.has_lock_section = true;
  list.locks.assign(38, 6);
  ExpectProblem(JillNormal(list), 505, "a lock section in a seed with door values");
}

// --- Locks ---

// Seed 11's lock deal with the items kept.
ItemListContents LocksSeed() {
  static const ItemListContents seed = Generated({.items = false, .locks = true, .seed = 11});
  return seed;
}

// Seed 11's deal with a lock set at `position`, or traded with the lock at
// `swap_with`: the problem is named on the line of the position.
TEST(SeedSenseLocksTest, ADealTheGameCannotHaveIsRefused) {
  struct Case {
    int position, type, swap_with, line;
    std::string part;
  };
  for (const Case& c : {
           // Position 37, "O Room -> Morgue", cannot be turned: neither reversed
           // door type, 7 (dealt as 6) nor 9 (dealt as 8), may stand there.
           Case{37, 7, -1, 543, "lock position 37 holds 7 ("},
           Case{37, 9, -1, 543, "), but its door cannot be turned around; expected 8"},
           // The one "Shield Key" lock (13), at position 23, dealt a second time.
           Case{24, 13, -1, 530,
                "lock type 13 (Shield Key) appears 2 times by here; the game's deal has 1 of it"},
           // Rule 4 wants 6 or 15 at position 30; position 0, which no rule
           // names, holds an "Armor Key" lock (0): the two trade their locks.
           Case{30, 0, 0, 536, "breaks lock rule 4: position 30 holds neither 6 nor 15"}}) {
    ItemListContents list = LocksSeed();
    if (c.swap_with >= 0) std::swap(list.locks[c.position], list.locks[c.swap_with]);
    else list.locks[c.position] = c.type;
    ExpectProblem(JillNormal(list), c.line, c.part);
  }
}

}  // namespace
}  // namespace velmora
