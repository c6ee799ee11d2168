#include "doors/DoorTables.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace velmora {
namespace {

std::map<std::string, std::vector<int>> DoorsByRoom() {
  std::map<std::string, std::vector<int>> rooms;
  for (const DoorRow& row : kDoorTable) rooms[std::string(row.room)].push_back(row.door);
  return rooms;
}

TEST(DoorTableTest, HoldsTheGamesRoomSizes) {
  const auto rooms = DoorsByRoom();
  EXPECT_EQ(rooms.size(), 120u);
  std::map<size_t, int> rooms_by_size;
  for (const auto& [room, doors] : rooms) ++rooms_by_size[doors.size()];
  EXPECT_EQ(rooms_by_size,
            (std::map<size_t, int>{{1, 42}, {2, 44}, {3, 19}, {4, 4}, {5, 9}, {7, 1}, {9, 1}}));
  EXPECT_EQ(rooms.at("West Wing Inner Stairway").size(), 7u);
  EXPECT_EQ(rooms.at("Main Hall").size(), 9u);
  EXPECT_EQ(rooms.at("Tea Room"), (std::vector<int>{9, 11, 15, 16, 18}));
}

TEST(DoorTableTest, PartnersAreSymmetricExceptTheGamesThreeOddDoors) {
  std::multiset<int> partnered;
  for (const DoorRow& row : kDoorTable) {
    if (row.partner < 0) continue;
    partnered.insert(row.partner);
    EXPECT_NE(kDoorTable[row.partner].room, row.room) << row.door;
    if (row.door == 130 || row.door == 134 || row.door == 129) continue;
    EXPECT_EQ(kDoorTable[row.partner].partner, row.door) << row.door;
  }
  EXPECT_EQ(VanillaPartner(85), -1);
  EXPECT_EQ(VanillaPartner(227), -1);
  EXPECT_EQ(VanillaPartner(130), 134);
  EXPECT_EQ(VanillaPartner(134), 131);
  EXPECT_EQ(VanillaPartner(129), 131);
  EXPECT_EQ(VanillaPartner(131), 129);
  EXPECT_EQ(partnered.count(131), 2u);
  for (int nobodys : {85, 130, 227}) EXPECT_EQ(partnered.count(nobodys), 0u) << nobodys;
  EXPECT_EQ(VanillaPartner(264), -1);
}

class FillDoorTablesTest : public ::testing::TestWithParam<Character> {};

TEST_P(FillDoorTablesTest, FillsTheDoorMapAndTheRoomListsOfTheCharacter) {
  GeneratorState state;
  FillDoorTables(state, GetParam());
  int doors = 0;
  for (const auto& [room, room_doors] : state.m_vanillaDoors) doors += room_doors.size();
  EXPECT_EQ(doors, 264);
  EXPECT_EQ(state.m_vanillaDoors.at("Small Library"), (std::map<int, int>{{84, 80}, {85, -1}}));
  EXPECT_EQ(state.m_vanillaDoors.at("Main Garden"),
            (std::map<int, int>{{128, 69}, {129, 131}, {130, 134}}));
  EXPECT_EQ(state.m_singleDoorRooms.size(), 37u);
  EXPECT_EQ(state.m_singleDoorRooms.front(), "Medical Storage Room");
  EXPECT_EQ(state.m_singleDoorRooms.back(), "Large Art Room");
  EXPECT_EQ(state.m_multiDoorRooms.front(), "West Wing Inner Stairway");
  if (GetParam() == Character::kJill) {
    ASSERT_EQ(state.m_multiDoorRooms.size(), 44u);
    EXPECT_EQ(state.m_multiDoorRooms[41], "Winding Corridor");
    EXPECT_EQ(state.m_multiDoorRooms[42], "Tea Room");
    EXPECT_EQ(state.m_multiDoorRooms[43], "Northern Corridor");
  } else {
    ASSERT_EQ(state.m_multiDoorRooms.size(), 42u);
    EXPECT_EQ(state.m_multiDoorRooms.back(), "Winding Corridor");
  }
}

INSTANTIATE_TEST_SUITE_P(Characters, FillDoorTablesTest,
                         ::testing::Values(Character::kJill, Character::kChris),
                         [](const auto& param) {
                           return param.param == Character::kJill ? "Jill" : "Chris";
                         });

TEST(DoorTableTest, PlacedRoomsHaveTheUsableDoorsTheirListPromises) {
  std::set<int> taken_out;
  for (const FixedDoor& fixed : kFixedDoors) {
    EXPECT_EQ(kDoorTable[fixed.door].room, fixed.room) << fixed.door;
    if (fixed.play != FixedDoorPlay::kInPlay) taken_out.insert(fixed.door);
  }
  std::map<std::string, int> usable;
  for (const DoorRow& row : kDoorTable)
    if (!taken_out.count(row.door)) ++usable[std::string(row.room)];
  for (std::string_view room : kMultiDoorRooms) EXPECT_GE(usable[std::string(room)], 2) << room;
  for (std::string_view room : kTeaRoomAndNorthernCorridor)
    EXPECT_GE(usable[std::string(room)], 2) << room;
  for (std::string_view room : kSingleDoorRooms) EXPECT_EQ(usable[std::string(room)], 1) << room;
}

TEST(DoorTableTest, EveryRoomIsPlacedStartedFromOrLeftAsItIs) {
  const std::set<std::string> never_placed = {
      "Bathroom", "Mirror Room", "Living Room", "Large Gallery", "Roofed Passage",
      "Hidden Wardrobe", "Kitchen Elevator", "Small Library", "Elevator Corridor",
      "Sliding Trap Room / Secret Passage", "Concrete Passage 1", "Kitchen", "Main Garden",
      "Water Pool", "Falls Area", "Fountain", "Entrance Passage", "Generator Room", "Cabin",
      "Jessica's Tomb", "Garbage Compactor Room", "Winding Underground Passage",
      "Boulder Passage 1", "Boulder Passage 2", "Room 003", "Plant 42 Room", "Aqua Ring Entry",
      "Cell Entrance", "Elevator Entry", "Elevator to Helipad", "Passage to Heliport",
      "Laboratory Stairway", "Pass Code Corridor", "Cell", "Main Laboratory",
      "Main Laboratory Entrance", "Laboratory Elevator"};
  ASSERT_EQ(never_placed.size(), 37u);
  std::map<std::string, int> roles;
  for (std::string_view room : kMultiDoorRooms) ++roles[std::string(room)];
  for (std::string_view room : kTeaRoomAndNorthernCorridor) ++roles[std::string(room)];
  for (std::string_view room : kSingleDoorRooms) ++roles[std::string(room)];
  for (std::string_view room : kStartRooms) ++roles[std::string(room)];
  for (const std::string& room : never_placed) ++roles[room];
  const auto rooms = DoorsByRoom();
  EXPECT_EQ(roles.size(), rooms.size());
  for (const auto& [room, doors] : rooms) EXPECT_EQ(roles[room], 1) << room;
  EXPECT_EQ(kSpareSingleDoorRoom, "Cell");
  EXPECT_EQ(rooms.at("Cell").size(), 1u);
}

}  // namespace
}  // namespace velmora
