#include "enemies/EnemyPositions.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/MemoryWindow.h"
#include "app/VelmoraDlg.h"
#include "output/OutputFiles.h"

namespace velmora {
namespace {

std::vector<int> Kinds(const EnemyPositionRow& row) {
  return {row.allowed.kinds().begin(), row.allowed.kinds().end()};
}

TEST(EnemyPositionTableTest, StandsInByteOrderOfTheNamesLikeTheItemListSection) {
  std::span<const EnemyPositionRow> table = EnemyPositionTable();
  ASSERT_EQ(table.size(), 53u);
  for (size_t i = 1; i < table.size(); ++i) EXPECT_LT(table[i - 1].name, table[i].name);
  EXPECT_EQ(table.front().name, "Aqua Ring Walkway");
  EXPECT_EQ(table[27].name, "Main Hall");
  EXPECT_EQ(table[40].name, "Room 001");
  EXPECT_EQ(table[41].name, "Room 001 Bathroom");
  EXPECT_EQ(table.back().name, "X-Ray Room B");
}

TEST(EnemyPositionTableTest, SpecialKindsAreAllowedAt28And28And41Positions) {
  int tyrant = 0, yawn = 0, lisa = 0;
  for (const EnemyPositionRow& row : EnemyPositionTable()) {
    const std::vector<int> kinds = Kinds(row);
    tyrant += std::count(kinds.begin(), kinds.end(), kKindTyrant);
    yawn += std::count(kinds.begin(), kinds.end(), kKindYawn);
    lisa += std::count(kinds.begin(), kinds.end(), kKindLisa);
  }
  EXPECT_EQ(tyrant, 28);
  EXPECT_EQ(yawn, 28);
  EXPECT_EQ(lisa, 41);
}

TEST(EnemyPositionTableTest, ListsAscendWithAnOrdinaryKindAndNeverTheSlowTyrant) {
  for (const EnemyPositionRow& row : EnemyPositionTable()) {
    const std::vector<int> kinds = Kinds(row);
    EXPECT_TRUE(std::is_sorted(kinds.begin(), kinds.end())) << row.name;
    EXPECT_EQ(std::adjacent_find(kinds.begin(), kinds.end()), kinds.end()) << row.name;
    EXPECT_TRUE(std::any_of(kinds.begin(), kinds.end(),
                            [](int k) { return k != 3 && k != 7 && k != 10 && k >= 1 && k <= 12; }))
        << row.name;
    EXPECT_EQ(std::count(kinds.begin(), kinds.end(), kKindSlowTyrant), 0) << row.name;
  }
}

TEST(EnemyPositionTableTest, FillReplacesWholeListsAndGivesTheTableRows) {
  MemoryWindow window;
  MemoryOutputFiles files;
  CVelmoraDlg dlg(window, files);
  dlg.m_enemyPositions["Small Library"] = {4, 4, 4};
  dlg.FillEnemyPositions();
  ASSERT_EQ(dlg.m_enemyPositions.size(), 53u);
  EXPECT_EQ(dlg.m_enemyPositions["Small Library"], std::vector<int>{1});
  EXPECT_EQ(dlg.m_enemyPositions["Dining Room"], (std::vector<int>{1, 2, 4, 6, 8}));
  EXPECT_EQ(dlg.m_enemyPositions["Entry Corridor"], (std::vector<int>{2, 3, 5, 7, 10}));
  EXPECT_EQ(dlg.m_enemyPositions["Large Gallery"], (std::vector<int>{2, 4, 7, 8, 9}));
  EXPECT_EQ(dlg.m_enemyPositions["West Wing Outer Stairway"],
            (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 12}));
  EXPECT_EQ(dlg.m_enemyPositions["Main Hall"], (std::vector<int>{1, 3, 4, 5, 10, 12}));
}

struct KindName {
  EnemyKind kind;
  const char* name;
};

class EnemyKindNameTest : public ::testing::TestWithParam<KindName> {};

TEST_P(EnemyKindNameTest, GivesTheCheatSheetName) {
  EXPECT_EQ(EnemyKindName(GetParam().kind), GetParam().name);
}

INSTANTIATE_TEST_SUITE_P(
    AllKinds, EnemyKindNameTest,
    ::testing::Values(KindName{1, "HUNTERS"}, KindName{2, "CHIMERAS"}, KindName{3, "TYRANTS"},
                      KindName{4, "DOGS"}, KindName{5, "SHARKS"}, KindName{6, "ZOMBIES"},
                      KindName{7, "YAWNS"}, KindName{8, "SPIDERS"}, KindName{9, "BEES"},
                      KindName{10, "LISA"}, KindName{11, "SLOW TYRANT"},
                      KindName{12, "ELDER CRIMSON HEAD"}, KindName{0, ""}, KindName{13, ""},
                      KindName{-1, ""}));

}  // namespace
}  // namespace velmora
