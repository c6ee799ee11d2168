#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "app/ControlIds.h"
#include "app/MemoryWindow.h"
#include "app/VelmoraDlg.h"
#include "enemies/EnemyPositions.h"
#include "output/OutputFiles.h"

namespace velmora {
namespace {

constexpr int kSeeds = 300;
constexpr int kOrdinaryBoxes[] = {kIdZombies, kIdDogs,  kIdHunters, kIdSpiders,
                                  kIdSharks,  kIdBees,  kIdChimera, kIdElderCrimsonHeads};

class EnemyPassTest : public ::testing::Test {
 protected:
  EnemyPassTest() : dlg(window, files) {
    dlg.OnInitDialog();
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

  void UncheckAllOrdinaryKinds() {
    for (int box : kOrdinaryBoxes) window.SetChecked(box, false);
  }

  MemoryWindow window;
  MemoryOutputFiles files;
  CVelmoraDlg dlg;
};

int Count(const std::map<std::string, int>& result, std::initializer_list<int> kinds) {
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
  std::vector<int> unchecked_boxes;
  /// Ordinary kinds switched off and the only positions where each may
  /// still stand, as the last kind left in the position's list.
  std::map<int, std::set<std::string>> off_kinds_only_at;
};

void PrintTo(const SpawnCase& c, std::ostream* os) { *os << c.name; }

class EnemySpawnTest : public EnemyPassTest, public ::testing::WithParamInterface<SpawnCase> {
 protected:
  void SetSpawn(Spawn spawn, int one, int many, int none) {
    window.SetChecked(spawn == Spawn::kOne ? one : spawn == Spawn::kMany ? many : none, true);
  }
};

void ExpectSpawnCount(Spawn spawn, int count, int* seeds_with_several, const char* what) {
  switch (spawn) {
    case Spawn::kOne: EXPECT_EQ(count, 1) << what; break;
    case Spawn::kNone: EXPECT_EQ(count, 0) << what; break;
    case Spawn::kMany:
      EXPECT_GE(count, 1) << what;
      if (count > 1) ++*seeds_with_several;
      break;
  }
}

TEST_P(EnemySpawnTest, EveryPositionGetsOneAllowedKindUnderTheOptions) {
  const SpawnCase& c = GetParam();
  SetSpawn(c.tyrant, kIdTyrantOne, kIdTyrantMany, kIdTyrantNone);
  SetSpawn(c.yawn, kIdYawnOne, kIdYawnMany, kIdYawnNone);
  SetSpawn(c.lisa, kIdLisaOne, kIdLisaMany, kIdLisaNone);
  window.SetChecked(c.tyrant_type, true);
  for (int box : c.unchecked_boxes) window.SetChecked(box, false);

  std::map<std::string, std::vector<int>> allowed;
  for (const EnemyPositionRow& row : EnemyPositionTable())
    allowed[std::string(row.name)].assign(row.allowed.kinds().begin(), row.allowed.kinds().end());

  int several_tyrants = 0, several_yawns = 0, several_lisas = 0;
  bool saw_fast = false, saw_slow = false;
  for (uint32_t seed = 1; seed <= kSeeds; ++seed) {
    Run(seed);
    const std::map<std::string, int> result = Result();
    ASSERT_EQ(result.size(), 53u);
    for (const auto& [position, kind] : result) {
      const std::vector<int>& ok = allowed[position];
      const int as_listed = kind == kKindSlowTyrant ? kKindTyrant : kind;
      EXPECT_NE(std::find(ok.begin(), ok.end(), as_listed), ok.end())
          << position << " got " << kind << " with seed " << seed;
      auto off = c.off_kinds_only_at.find(kind);
      if (off != c.off_kinds_only_at.end()) {
        EXPECT_TRUE(off->second.count(position)) << position << " got " << kind;
      }
    }
    ExpectSpawnCount(c.tyrant, Count(result, {kKindTyrant, kKindSlowTyrant}), &several_tyrants,
                     "tyrants");
    ExpectSpawnCount(c.yawn, Count(result, {kKindYawn}), &several_yawns, "yawns");
    ExpectSpawnCount(c.lisa, Count(result, {kKindLisa}), &several_lisas, "lisas");
    saw_fast |= Count(result, {kKindTyrant}) > 0;
    saw_slow |= Count(result, {kKindSlowTyrant}) > 0;
  }
  // "Many" leaves the kind in the lists, so some seeds draw it more than once.
  if (c.tyrant == Spawn::kMany) {
    EXPECT_GT(several_tyrants, 0);
  }
  if (c.yawn == Spawn::kMany) {
    EXPECT_GT(several_yawns, 0);
  }
  if (c.lisa == Spawn::kMany) {
    EXPECT_GT(several_lisas, 0);
  }
  if (c.tyrant != Spawn::kNone) {
    EXPECT_EQ(saw_fast, c.tyrant_type != kIdTyrantSlow);
    EXPECT_EQ(saw_slow, c.tyrant_type != kIdTyrantFast);
  } else {
    EXPECT_FALSE(saw_fast || saw_slow);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Options, EnemySpawnTest,
    ::testing::Values(
        SpawnCase{"Defaults", Spawn::kOne, Spawn::kOne, Spawn::kOne, kIdTyrantFast, {}, {}},
        SpawnCase{"ManySlow", Spawn::kMany, Spawn::kMany, Spawn::kMany, kIdTyrantSlow, {}, {}},
        SpawnCase{"ManyRandom", Spawn::kMany, Spawn::kOne, Spawn::kNone, kIdTyrantRandom, {}, {}},
        SpawnCase{"OneRandom", Spawn::kOne, Spawn::kMany, Spawn::kOne, kIdTyrantRandom, {}, {}},
        SpawnCase{"NoneSlow", Spawn::kNone, Spawn::kNone, Spawn::kNone, kIdTyrantSlow, {}, {}},
        SpawnCase{"NoHuntersNoZombies",
                  Spawn::kOne,
                  Spawn::kNone,
                  Spawn::kMany,
                  kIdTyrantFast,
                  {kIdHunters, kIdZombies},
                  // "Small Library" allows hunters alone; every list that
                  // holds zombies holds another ordinary kind.
                  {{kKindHunters, {"Small Library"}}, {kKindZombies, {}}}},
        SpawnCase{"OnlyBees",
                  Spawn::kNone,
                  Spawn::kNone,
                  Spawn::kNone,
                  kIdTyrantFast,
                  {kIdZombies, kIdDogs, kIdHunters, kIdSpiders, kIdSharks, kIdChimera,
                   kIdElderCrimsonHeads},
                  // Without bees in its list, a position keeps the last of
                  // its ordinary kinds in removal order (12, 1, 2, 9, 8, 4,
                  // 5, 6): zombies where listed, else what the list leaves.
                  {{kKindHunters, {"Small Library"}},
                   {kKindChimeras, {}},
                   {kKindDogs, {}},
                   {kKindSharks, {"Entry Corridor", "Main Hall"}},
                   {kKindSpiders, {}},
                   {kKindElderCrimsonHead, {}},
                   {kKindZombies,
                    {"Bathroom / Winding Corridor", "Dining Room", "Mirror Corridor",
                     "Researcher's Bedroom", "Roofed Passage"}}}}),
    [](const ::testing::TestParamInfo<SpawnCase>& param) { return std::string(param.param.name); });

// --- All ordinary kinds off: the order of removal decides ---

// The kind each position keeps when every ordinary kind is off and no
// special kind stays in the lists: the ordinary kind of its list that comes
// last in the removal order 12, 1, 2, 9, 8, 4, 5, 6. Zombies wherever the
// list holds them; the others worked out row by row.
std::map<std::string, int> LastKindLeft() {
  std::map<std::string, int> expected;
  for (const EnemyPositionRow& row : EnemyPositionTable()) expected[std::string(row.name)] = 6;
  expected["Entry Corridor"] = 5;           // 2, 3, 5, 7, 10
  expected["Large Gallery"] = 4;            // 2, 4, 7, 8, 9
  expected["Main Hall"] = 5;                // 1, 3, 4, 5, 10, 12
  expected["Power Maze B"] = 8;             // 2, 8, 9, 10, 12
  expected["Small Library"] = 1;            // 1
  expected["Surgeon's Room / Morgue"] = 8;  // 1, 2, 8, 9, 10
  return expected;
}

TEST_F(EnemyPassTest, AllKindsOffAndNoSpecialsLeavesTheLastKindOfEveryList) {
  UncheckAllOrdinaryKinds();
  window.SetChecked(kIdTyrantNone, true);
  window.SetChecked(kIdYawnNone, true);
  window.SetChecked(kIdLisaNone, true);
  const std::map<std::string, int> expected = LastKindLeft();
  for (uint32_t seed : {1u, 2u, 99u, 123456u}) {
    Run(seed);
    EXPECT_EQ(Result(), expected) << "seed " << seed;
  }
}

TEST_F(EnemyPassTest, AllKindsOffWithOneOfEachSpecialChangesOnlyThreePositions) {
  UncheckAllOrdinaryKinds();
  const std::map<std::string, int> last_left = LastKindLeft();
  for (uint32_t seed = 1; seed <= 50; ++seed) {
    Run(seed);
    std::map<int, int> specials;
    for (const auto& [position, kind] : Result()) {
      if (kind == kKindTyrant || kind == kKindYawn || kind == kKindLisa)
        ++specials[kind];
      else
        EXPECT_EQ(kind, last_left.at(position)) << position << " seed " << seed;
    }
    EXPECT_EQ(specials, (std::map<int, int>{{3, 1}, {7, 1}, {10, 1}})) << "seed " << seed;
  }
}

TEST_F(EnemyPassTest, ASpecialSetToNoneStillTakesItsPositionDraws) {
  // The special positions are chosen before "None" is applied, so switching
  // Tyrant off leaves the Yawn and Lisa positions where they were.
  for (uint32_t seed = 1; seed <= 100; ++seed) {
    window.SetChecked(kIdTyrantOne, true);
    Run(seed);
    const std::map<std::string, int> with_tyrant = Result();
    window.SetChecked(kIdTyrantNone, true);
    Run(seed);
    const std::map<std::string, int> without = Result();
    for (int special : {kKindYawn, kKindLisa}) {
      for (const auto& [position, kind] : with_tyrant)
        EXPECT_EQ(kind == special, without.at(position) == special) << position << " " << seed;
    }
  }
}

// --- Draw order on a handmade table ---

/// The first seed from which the generator's draws reduced by `moduli`
/// satisfy `wanted`.
uint32_t FindSeed(const std::vector<int>& moduli,
                  const std::function<bool(const std::vector<int>&)>& wanted) {
  for (uint32_t seed = 1;; ++seed) {
    CrtRandom random;
    random.Seed(seed);
    std::vector<int> draws;
    for (int m : moduli) draws.push_back(random.Draw(m));
    if (wanted(draws)) return seed;
  }
}

TEST_F(EnemyPassTest, ClashRedrawsAllThreeThenTyrantCoinComesBeforeTheNextPositionsDraw) {
  // Three positions that allow every special kind and one ordinary one.
  // Draws: t, y, l (t == y: a clash), t, y, l again (A, B, C), then in map
  // order the coin toss of the Tyrant at A and the draw of D.
  const uint32_t seed = FindSeed({3, 3, 3, 3, 3, 3, 2, 2}, [](const std::vector<int>& d) {
    return d[0] == d[1] && d[3] == 0 && d[4] == 1 && d[5] == 2 && d[6] == 1 && d[7] == 0;
  });
  window.SetChecked(kIdTyrantRandom, true);
  dlg.m_enemyPositions = {
      {"A", {1, 3, 7, 10}}, {"B", {2, 3, 7, 10}}, {"C", {4, 3, 7, 10}}, {"D", {1, 6}}};
  dlg.m_random.Seed(seed);
  dlg.RandomizeEnemies();
  EXPECT_EQ(Result(), (std::map<std::string, int>{{"A", 11}, {"B", 7}, {"C", 10}, {"D", 1}}));
}

}  // namespace
}  // namespace velmora
