#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "app/ControlIds.h"
#include "doors/doors_test.h"
#include "enemies/EnemyPositions.h"

namespace velmora {
namespace {

using doors_test::FindSeed;

constexpr int kSeeds = 300;
constexpr int kOrdinaryBoxes[] = {kIdZombies, kIdDogs,  kIdHunters, kIdSpiders,
                                  kIdSharks,  kIdBees,  kIdChimera, kIdElderCrimsonHeads};

class EnemyPassTest : public doors_test::DlgTest {
 protected:
  EnemyPassTest() {
    window.Click(kIdEnemies);
    dlg.OnBnClickedEnemies();
  }

  /// One pass on the game's table with `seed`.
  void Run(uint32_t seed) {
    dlg.m_enemyPositions.clear();
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

// --- Spawn options and Tyrant type, over many seeds ---

enum class Spawn { kOne, kMany, kNone };

struct SpawnCase {
  const char* name;
  Spawn tyrant, yawn, lisa;
  int tyrant_type;
};

void PrintTo(const SpawnCase& c, std::ostream* os) { *os << c.name; }

class EnemySpawnTest : public EnemyPassTest, public ::testing::WithParamInterface<SpawnCase> {};

TEST_P(EnemySpawnTest, EveryPositionGetsOneAllowedKindUnderTheOptions) {
  const SpawnCase& c = GetParam();
  // The special kinds with their spawn option and their One, Many, None boxes.
  const struct {
    Spawn spawn;
    std::vector<int> kinds;
    int boxes[3];
  } specials[] = {
      {c.tyrant, {kKindTyrant, kKindSlowTyrant}, {kIdTyrantOne, kIdTyrantMany, kIdTyrantNone}},
      {c.yawn, {kKindYawn}, {kIdYawnOne, kIdYawnMany, kIdYawnNone}},
      {c.lisa, {kKindLisa}, {kIdLisaOne, kIdLisaMany, kIdLisaNone}}};
  for (const auto& special : specials)
    window.SetChecked(special.boxes[static_cast<int>(special.spawn)], true);
  window.SetChecked(c.tyrant_type, true);

  int most[3] = {0, 0, 0};
  bool saw_fast = false, saw_slow = false;
  for (uint32_t seed = 1; seed <= kSeeds; ++seed) {
    Run(seed);
    const std::map<std::string, int> result = Result();
    ASSERT_EQ(result.size(), 53u);
    for (const EnemyPositionRow& row : EnemyPositionTable()) {
      const int kind = result.at(std::string(row.name));
      const auto ok = row.allowed.kinds();
      EXPECT_NE(std::find(ok.begin(), ok.end(), kind == kKindSlowTyrant ? kKindTyrant : kind), ok.end())
          << row.name << " got " << kind << " with seed " << seed;
    }
    // "One" places a special kind exactly once, "None" never, "Many" at least once.
    for (int i = 0; i < 3; ++i) {
      const int count = Count(result, specials[i].kinds);
      most[i] = std::max(most[i], count);
      const int least = specials[i].spawn == Spawn::kNone ? 0 : 1;
      EXPECT_TRUE(count == least || (specials[i].spawn == Spawn::kMany && count > least))
          << i << " seed " << seed;
    }
    saw_fast |= Count(result, {kKindTyrant}) > 0;
    saw_slow |= Count(result, {kKindSlowTyrant}) > 0;
  }
  // "Many" leaves the kind in the lists, so some seeds draw it more than once.
  for (int i = 0; i < 3; ++i) EXPECT_EQ(most[i] > 1, specials[i].spawn == Spawn::kMany) << i;
  if (c.tyrant != Spawn::kNone) {
    EXPECT_EQ(saw_fast, c.tyrant_type != kIdTyrantSlow);
    EXPECT_EQ(saw_slow, c.tyrant_type != kIdTyrantFast);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Options, EnemySpawnTest,
    ::testing::Values(
        SpawnCase{"Defaults", Spawn::kOne, Spawn::kOne, Spawn::kOne, kIdTyrantFast},
        SpawnCase{"ManySlow", Spawn::kMany, Spawn::kMany, Spawn::kMany, kIdTyrantSlow},
        SpawnCase{"ManyRandom", Spawn::kMany, Spawn::kOne, Spawn::kNone, kIdTyrantRandom},
        SpawnCase{"OneRandomManyYawns", Spawn::kOne, Spawn::kMany, Spawn::kOne, kIdTyrantRandom},
        SpawnCase{"NoneSlow", Spawn::kNone, Spawn::kNone, Spawn::kNone, kIdTyrantSlow}),
    [](const ::testing::TestParamInfo<SpawnCase>& param) { return std::string(param.param.name); });

// --- All ordinary kinds off: the order of removal decides ---

TEST_F(EnemyPassTest, AllKindsOffAndNoSpecialsLeavesTheLastKindOfEveryList) {
  for (int box : kOrdinaryBoxes) window.SetChecked(box, false);
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

TEST_F(EnemyPassTest, ASpecialSetToNoneStillTakesItsPositionDraws) {
  // The special positions are chosen before "None" is applied, so switching
  // Tyrant off leaves the Yawn and Lisa positions where they were.
  for (uint32_t seed = 1; seed <= 50; ++seed) {
    window.SetChecked(kIdTyrantOne, true);
    Run(seed);
    const std::map<std::string, int> with_tyrant = Result();
    window.SetChecked(kIdTyrantNone, true);
    Run(seed);
    for (const auto& [position, kind] : Result())
      for (int special : {kKindYawn, kKindLisa})
        EXPECT_EQ(kind == special, with_tyrant.at(position) == special) << position << " " << seed;
  }
}

// --- Draw order on a handmade table ---

// Three positions that allow every special kind and one ordinary one, and a
// fourth for an ordinary kind only; map order A, B, C, D.
struct DrawCase {
  const char* name;
  std::vector<int> moduli;
  std::function<bool(const std::vector<int>&)> wanted;
  std::map<std::string, int> result;
};

TEST_F(EnemyPassTest, SpecialsDrawTyrantYawnLisaThenTheCoinComesBeforeTheNextPosition) {
  const DrawCase cases[] = {
      // Draws t, y, l: no clash, each special at its own draw.
      {"NoClash", {3, 3, 3, 2, 2},
       [](const auto& d) { return d[0] == 0 && d[1] == 1 && d[2] == 2 && d[3] == 0 && d[4] == 1; },
       {{"A", 3}, {"B", 7}, {"C", 10}, {"D", 6}}},
      // t == y clashes: all three are drawn again (A, B, C), then the coin of
      // the Tyrant at A and the draw of D.
      {"ClashRedrawsAllThree", {3, 3, 3, 3, 3, 3, 2, 2},
       [](const auto& d) {
         return d[0] == d[1] && d[3] == 0 && d[4] == 1 && d[5] == 2 && d[6] == 1 && d[7] == 0;
       },
       {{"A", 11}, {"B", 7}, {"C", 10}, {"D", 1}}},
  };
  window.SetChecked(kIdTyrantRandom, true);
  for (const DrawCase& c : cases) {
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
  auto enemies_of = [](uint32_t seed, bool doors) {
    MemoryWindow window;
    MemoryOutputFiles files;
    CVelmoraDlg dlg(window, files);
    dlg.OnInitDialog();
    window.Click(kIdEnemies);
    dlg.OnBnClickedEnemies();
    if (doors) {
      window.Click(kIdDoors);
      dlg.OnBnClickedDoors();
    }
    dlg.SetSeedSource([seed] { return seed; });
    dlg.m_searchThreads = 1;
    dlg.OnBnClickedGenerateSeed();
    EXPECT_EQ(dlg.IsChecked(kIdDoors), doors);
    return dlg.m_enemyPositions;
  };
  for (uint32_t seed : {1u, 2u, 77u})
    EXPECT_EQ(enemies_of(seed, true), enemies_of(seed, false)) << seed;
}

}  // namespace
}  // namespace velmora
