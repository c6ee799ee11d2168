#include "enemies/EnemyPositions.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/MemoryWindow.h"
#include "app/VelmoraDlg.h"
#include "output/OutputFiles.h"

namespace velmora {
namespace {

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
