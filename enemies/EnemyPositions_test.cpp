#include "enemies/EnemyPositions.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

TEST(EnemyKindNameTest, NamesTheKindsOneToTwelveAndNothingElse) {
  EXPECT_EQ(EnemyKindName(12), "ELDER CRIMSON HEAD");
  for (EnemyKind outside : {-1, 0, 13}) EXPECT_EQ(EnemyKindName(outside), "") << outside;
}

}  // namespace
}  // namespace velmora
