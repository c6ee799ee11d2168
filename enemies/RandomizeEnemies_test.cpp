#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "app/ControlIds.h"
#include "doors/doors_test.h"
#include "enemies/EnemyPositions.h"
#include "output/test_support.h"

namespace velmora {
namespace {

using doors_test::FindSeed;

class EnemyPassTest : public DialogTest {
 protected:
  EnemyPassTest() {
    window.Click(kIdEnemies);
    dlg.OnBnClickedEnemies();
  }

  /// One pass on the game's table with `seed`. The fill replaces the lists
  /// the last pass left with the table's rows.
  void Run(uint32_t seed) {
    dlg.FillEnemyPositions();
    dlg.m_random.Seed(seed);
    dlg.RandomizeEnemies();
  }

  std::map<std::string, int> Result() const {
    std::map<std::string, int> result;
    for (const auto& [position, kinds] : dlg.m_enemyPositions) {
      EXPECT_EQ(kinds.size(), 1u) << position;
      result[position] = kinds.empty() ? -1 : kinds[0];
    }
    return result;
  }
};

int Count(const std::map<std::string, int>& result, const std::vector<int>& kinds) {
  int n = 0;
  for (const auto& [position, kind] : result)
    if (std::find(kinds.begin(), kinds.end(), kind) != kinds.end()) ++n;
  return n;
}

// Over many seeds under each set of spawn options: "One" places a special
// kind exactly once, "None" never, "Many" at least once, and on some seeds
// more than once, as it leaves the kind in the lists. A Tyrant takes the form
// the Tyrant type asks for. That each position gets a kind its row allows is
// checked by the verifier on every seed of the property run.
TEST_F(EnemyPassTest, SpecialKindsFollowTheirSpawnOptionsAndTheTyrantType) {
  enum Spawn { kOne, kMany, kNone };
  const struct {
    Spawn tyrant, yawn, lisa;
    int tyrant_type;
  } cases[] = {{kOne, kOne, kOne, kIdTyrantFast},       {kMany, kMany, kMany, kIdTyrantSlow},
               {kMany, kOne, kNone, kIdTyrantRandom},   {kOne, kMany, kOne, kIdTyrantRandom},
               {kNone, kNone, kNone, kIdTyrantSlow}};
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << "case " << &c - cases);
    // The special kinds with their spawn option and their One, Many, None boxes.
    const struct {
      Spawn spawn;
      std::vector<int> kinds;
      int boxes[3];
    } specials[] = {
        {c.tyrant, {kKindTyrant, kKindSlowTyrant}, {kIdTyrantOne, kIdTyrantMany, kIdTyrantNone}},
        {c.yawn, {kKindYawn}, {kIdYawnOne, kIdYawnMany, kIdYawnNone}},
        {c.lisa, {kKindLisa}, {kIdLisaOne, kIdLisaMany, kIdLisaNone}}};
    for (const auto& special : specials) window.SetChecked(special.boxes[special.spawn], true);
    window.SetChecked(c.tyrant_type, true);

    int most[3] = {0, 0, 0};
    bool saw_fast = false, saw_slow = false;
    for (uint32_t seed = 1; seed <= 300; ++seed) {
      Run(seed);
      const std::map<std::string, int> result = Result();
      for (int i = 0; i < 3; ++i) {
        const int count = Count(result, specials[i].kinds);
        most[i] = std::max(most[i], count);
        const int least = specials[i].spawn == kNone ? 0 : 1;
        EXPECT_TRUE(count == least || (specials[i].spawn == kMany && count > least)) << i << " seed " << seed;
      }
      saw_fast |= Count(result, {kKindTyrant}) > 0;
      saw_slow |= Count(result, {kKindSlowTyrant}) > 0;
    }
    for (int i = 0; i < 3; ++i) EXPECT_EQ(most[i] > 1, specials[i].spawn == kMany) << i;
    if (c.tyrant != kNone) {
      EXPECT_EQ(saw_fast, c.tyrant_type != kIdTyrantSlow);
      EXPECT_EQ(saw_slow, c.tyrant_type != kIdTyrantFast);
    }
  }
}

// --- All ordinary kinds off: the order of removal decides ---

TEST_F(EnemyPassTest, AllKindsOffAndNoSpecialsLeavesTheLastKindOfEveryList) {
  for (int box : {kIdZombies, kIdDogs, kIdHunters, kIdSpiders, kIdSharks, kIdBees, kIdChimera,
                  kIdElderCrimsonHeads})
    window.SetChecked(box, false);
  for (int box : {kIdTyrantNone, kIdYawnNone, kIdLisaNone}) window.SetChecked(box, true);
  // The kind each position keeps: the ordinary kind of its list that comes
  // last in the removal order 12, 1, 2, 9, 8, 4, 5, 6. Zombies wherever the
  // list holds them; the others worked out row by row.
  std::map<std::string, int> expected;
  for (const EnemyPositionRow& row : EnemyPositionTable()) expected[std::string(row.name)] = 6;
  expected["Entry Corridor"] = 5;           // 2, 3, 5, 7, 10
  expected["Large Gallery"] = 4;            // 2, 4, 7, 8, 9
  expected["Main Hall"] = 5;                // 1, 3, 4, 5, 10, 12
  expected["Power Maze B"] = 8;             // 2, 8, 9, 10, 12
  expected["Small Library"] = 1;            // 1
  expected["Surgeon's Room / Morgue"] = 8;  // 1, 2, 8, 9, 10
  for (uint32_t seed : {1u, 2u, 99u, 123456u}) {
    Run(seed);
    EXPECT_EQ(Result(), expected) << "seed " << seed;
  }
}

// --- Draw order on a handmade table ---

// Three positions that allow every special kind and one ordinary one, and a
// fourth for an ordinary kind only; map order A, B, C, D.
struct DrawCase {
  const char* name;
  int tyrant_spawn;
  std::vector<int> moduli;
  std::function<bool(const std::vector<int>&)> wanted;
  std::map<std::string, int> result;
};

TEST_F(EnemyPassTest, SpecialsDrawTyrantYawnLisaThenTheCoinComesBeforeTheNextPosition) {
  const DrawCase cases[] = {
      // Draws t, y, l: no clash, each special at its own draw.
      {"NoClash", kIdTyrantOne, {3, 3, 3, 2, 2},
       [](const auto& d) { return d[0] == 0 && d[1] == 1 && d[2] == 2 && d[3] == 0 && d[4] == 1; },
       {{"A", 3}, {"B", 7}, {"C", 10}, {"D", 6}}},
      // t == y clashes: all three are drawn again (A, B, C), then the coin of
      // the Tyrant at A and the draw of D.
      {"ClashRedrawsAllThree", kIdTyrantOne, {3, 3, 3, 3, 3, 3, 2, 2},
       [](const auto& d) {
         return d[0] == d[1] && d[3] == 0 && d[4] == 1 && d[5] == 2 && d[6] == 1 && d[7] == 0;
       },
       {{"A", 11}, {"B", 7}, {"C", 10}, {"D", 1}}},
      // A Tyrant set to "None" still takes its position draw: Yawn and Lisa
      // stay where they are without a clash, and A draws from its list {1}.
      {"TyrantNone", kIdTyrantNone, {3, 3, 3, 1, 2},
       [](const auto& d) { return d[0] == 0 && d[1] == 1 && d[2] == 2 && d[4] == 1; },
       {{"A", 1}, {"B", 7}, {"C", 10}, {"D", 6}}},
  };
  window.SetChecked(kIdTyrantRandom, true);
  for (const DrawCase& c : cases) {
    window.SetChecked(c.tyrant_spawn, true);
    dlg.m_enemyPositions = {
        {"A", {1, 3, 7, 10}}, {"B", {2, 3, 7, 10}}, {"C", {4, 3, 7, 10}}, {"D", {1, 6}}};
    dlg.m_random.Seed(FindSeed(c.moduli, c.wanted));
    dlg.RandomizeEnemies();
    EXPECT_EQ(Result(), c.result) << c.name;
  }
}

// The enemy pass takes the first draws after the seed, before the door pass
// and the items: a Doors seed has the same enemies as the same seed without
// Doors.
TEST(EnemyStageOrderTest, EnemiesAreDrawnBeforeTheDoorPass) {
  for (uint32_t seed : {1u, 2u, 77u}) {
    const GeneratedSeed with_doors({.enemies = true, .doors = true, .seed = seed});
    const GeneratedSeed without({.enemies = true, .seed = seed});
    EXPECT_TRUE(with_doors.dlg.IsChecked(kIdDoors));
    EXPECT_EQ(with_doors.dlg.m_enemyPositions, without.dlg.m_enemyPositions) << seed;
  }
}

}  // namespace
}  // namespace velmora
