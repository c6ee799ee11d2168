#include "doors/DoorTables.h"

#include <gtest/gtest.h>

#include <set>

namespace velmora {
namespace {

TEST(DoorTableTest, PartnersAreSymmetricExceptTheGamesThreeOddDoors) {
  std::multiset<int> partnered;
  for (const DoorRow& row : kDoorTable) {
    if (row.partner < 0) continue;
    partnered.insert(row.partner);
    EXPECT_NE(kDoorTable[row.partner].room, row.room) << row.door;
    if (row.door == 130 || row.door == 134 || row.door == 129) continue;
    EXPECT_EQ(kDoorTable[row.partner].partner, row.door) << row.door;
  }
  // Water Pool 131 is the partner of Main Garden 130 and of Falls Area 134.
  EXPECT_EQ(partnered.count(131), 2u);
  for (int nobodys : {85, 130, 227}) EXPECT_EQ(partnered.count(nobodys), 0u) << nobodys;
  EXPECT_EQ(VanillaPartner(264), -1);
}

}  // namespace
}  // namespace velmora
