#include "enemies/EnemyPositions.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "app/MemoryWindow.h"
#include "app/VelmoraDlg.h"
#include "output/OutputFiles.h"

namespace velmora {
namespace {

TEST(EnemyPositionTableTest, RowsInByteOrderWithAscendingListsHoldingAnOrdinaryKind) {
  std::span<const EnemyPositionRow> table = EnemyPositionTable();
  ASSERT_EQ(table.size(), 53u);
  int tyrant = 0, yawn = 0, lisa = 0;
  for (size_t i = 0; i < table.size(); ++i) {
    if (i > 0) {
      EXPECT_LT(table[i - 1].name, table[i].name);
    }
    const std::span<const EnemyKind> kinds = table[i].allowed.kinds();
    EXPECT_TRUE(std::adjacent_find(kinds.begin(), kinds.end(), std::greater_equal<>()) ==
                kinds.end())
        << table[i].name;
    EXPECT_TRUE(std::any_of(kinds.begin(), kinds.end(),
                            [](int k) { return k != 3 && k != 7 && k != 10 && k != 11; }))
        << table[i].name;
    tyrant += std::count(kinds.begin(), kinds.end(), kKindTyrant);
    yawn += std::count(kinds.begin(), kinds.end(), kKindYawn);
    lisa += std::count(kinds.begin(), kinds.end(), kKindLisa);
  }
  EXPECT_EQ(tyrant, 28);
  EXPECT_EQ(yawn, 28);
  EXPECT_EQ(lisa, 41);
}

TEST(EnemyPositionTableTest, FillReplacesWholeListsWithTheTableRows) {
  MemoryWindow window;
  MemoryOutputFiles files;
  CVelmoraDlg dlg(window, files);
  dlg.m_enemyPositions["Small Library"] = {4, 4, 4};
  dlg.FillEnemyPositions();
  ASSERT_EQ(dlg.m_enemyPositions.size(), 53u);
  EXPECT_EQ(dlg.m_enemyPositions["Small Library"], std::vector<int>{1});
  EXPECT_EQ(dlg.m_enemyPositions["Main Hall"], (std::vector<int>{1, 3, 4, 5, 10, 12}));
}

TEST(EnemyKindNameTest, NamesTheKindsOneToTwelveAndNothingElse) {
  EXPECT_EQ(EnemyKindName(1), "HUNTERS");
  EXPECT_EQ(EnemyKindName(11), "SLOW TYRANT");
  EXPECT_EQ(EnemyKindName(12), "ELDER CRIMSON HEAD");
  for (EnemyKind outside : {-1, 0, 13}) EXPECT_EQ(EnemyKindName(outside), "") << outside;
}

}  // namespace
}  // namespace velmora
