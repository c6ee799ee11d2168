#include "enemies/EnemyPositions.h"

#include <gtest/gtest.h>

#include <vector>

#include "app/DialogFixture_test.h"

namespace velmora {
namespace {

TEST(EnemyPositionTableTest, FillReplacesWholeListsWithTheTableRows) {
  DialogFixture f;
  f.dlg.m_enemyPositions["Small Library"] = {4, 4, 4};
  f.dlg.FillEnemyPositions();
  ASSERT_EQ(f.dlg.m_enemyPositions.size(), 53u);
  EXPECT_EQ(f.dlg.m_enemyPositions["Small Library"], std::vector<int>{1});
}

TEST(EnemyKindNameTest, NamesTheKindsOneToTwelveAndNothingElse) {
  EXPECT_EQ(EnemyKindName(1), "HUNTERS");
  EXPECT_EQ(EnemyKindName(12), "ELDER CRIMSON HEAD");
  for (EnemyKind outside : {-1, 0, 13}) EXPECT_EQ(EnemyKindName(outside), "") << outside;
}

}  // namespace
}  // namespace velmora
