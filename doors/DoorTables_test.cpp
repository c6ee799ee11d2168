#include "doors/DoorTables.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

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
  EXPECT_EQ(VanillaPartner(130), 134);
  EXPECT_EQ(VanillaPartner(134), 131);
  EXPECT_EQ(partnered.count(131), 2u);
  for (int nobodys : {85, 130, 227}) EXPECT_EQ(partnered.count(nobodys), 0u) << nobodys;
  EXPECT_EQ(VanillaPartner(264), -1);
}

TEST(FillDoorTablesTest, FillsTheDoorMapAndTheRoomListsOfTheCharacter) {
  for (Character character : {Character::kJill, Character::kChris}) {
    const bool jill = character == Character::kJill;
    GeneratorState state;
    FillDoorTables(state, character);
    int doors = 0;
    for (const auto& [room, room_doors] : state.m_vanillaDoors) doors += room_doors.size();
    EXPECT_EQ(doors, 264);
    EXPECT_EQ(state.m_vanillaDoors.at("Small Library"), (std::map<int, int>{{84, 80}, {85, -1}}));
    EXPECT_EQ(state.m_vanillaDoors.at("Main Garden"),
              (std::map<int, int>{{128, 69}, {129, 131}, {130, 134}}));
    EXPECT_EQ(state.m_singleDoorRooms.size(), 37u);
    // Jill's list ends with "Tea Room" and "Northern Corridor", where Chris starts.
    EXPECT_EQ(state.m_multiDoorRooms.size(), jill ? 44u : 42u);
    EXPECT_EQ(state.m_multiDoorRooms.back(), jill ? "Northern Corridor" : "Winding Corridor");
  }
}

}  // namespace
}  // namespace velmora
