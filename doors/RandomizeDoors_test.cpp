#include "doors/RandomizeDoors.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "doors/DoorTables.h"
#include "doors/doors_test.h"

namespace velmora {
namespace {

using doors_test::FindSeed;

constexpr int kSeeds = 200;

std::map<int, int> ValuesByDoor(const GeneratorState& state) {
  std::map<int, int> values;
  for (const auto& [room, doors] : state.m_roomDoors)
    for (const auto& [door, value] : doors) EXPECT_TRUE(values.emplace(door, value).second) << door;
  return values;
}

int CountKind(const std::vector<DoorTurn>& turns, DoorTurnKind kind) {
  return static_cast<int>(
      std::count_if(turns.begin(), turns.end(), [kind](const DoorTurn& t) { return t.kind == kind; }));
}

// --- The game's tables ---

struct GameCase {
  Character character;
  std::vector<std::string> reached_first;
  int multi_turns, single_turns, pairing_turns, open_at_start;
};

class GameDoorPassTest : public ::testing::TestWithParam<GameCase> {};

TEST_P(GameDoorPassTest, EverySeedMakesTheSameTurnsAndAWholeTwoWayMap) {
  const GameCase& c = GetParam();
  for (uint32_t seed = 1; seed <= kSeeds; ++seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    GeneratorState state;
    FillDoorTables(state, c.character);
    state.m_random.Seed(seed);
    std::string log;
    const std::vector<DoorTurn> turns =
        RunDoorPass(state, GameDoorPassRules(c.character), [&log](std::string text) { log += text; });
    EXPECT_EQ(log, "Randomizing Doors . . . done!\n");

    EXPECT_EQ(CountKind(turns, DoorTurnKind::kParityGuard), 0);
    EXPECT_EQ(CountKind(turns, DoorTurnKind::kMultiDoorRoom), c.multi_turns);
    EXPECT_EQ(CountKind(turns, DoorTurnKind::kSingleDoorRoom), c.single_turns);
    EXPECT_EQ(CountKind(turns, DoorTurnKind::kPairing), c.pairing_turns);
    ASSERT_FALSE(turns.empty());
    EXPECT_EQ(turns.front().open_count, c.open_at_start);
    // The open count after the single-door rooms, before door 90 comes back.
    EXPECT_EQ(turns[turns.size() - c.pairing_turns].open_count, 11);
    EXPECT_EQ(turns.back().open_count, 2);

    // Each connection is two-way: a leads to b and b to a.
    const std::map<int, int> values = ValuesByDoor(state);
    ASSERT_EQ(values.size(), 264u);
    std::set<int> connected;
    for (const DoorTurn& turn : turns) {
      ASSERT_TRUE(turn.connected);
      EXPECT_NE(turn.a, turn.b);
      EXPECT_EQ(values.at(turn.a.door), VanillaPartner(turn.b.door));
      EXPECT_EQ(values.at(turn.b.door), VanillaPartner(turn.a.door));
      EXPECT_TRUE(connected.insert(turn.a.door).second);
      EXPECT_TRUE(connected.insert(turn.b.door).second);
      if (turn.a.door == 90 || turn.b.door == 90) {
        EXPECT_EQ(turn.kind, DoorTurnKind::kPairing);
      }
    }
    EXPECT_TRUE(connected.count(90));

    // Fixed doors keep their values; every door left alone leads back.
    std::map<int, int> fixed = {{28, 159}, {139, 178}, {140, 232}, {235, 234}, {236, 236},
                                {227, 227}, {21, 21},   {19, 19},   {38, 38},   {36, 36},
                                {53, 53},   {54, 54},   {11, 11},   {10, 10},   {32, 32},
                                {70, 70},   {199, 211}};
    if (c.character == Character::kChris) fixed.insert({{9, 9}, {20, 20}});
    for (const auto& [door, value] : values) {
      if (connected.count(door)) {
        EXPECT_FALSE(fixed.count(door)) << door;
      } else if (fixed.count(door)) {
        EXPECT_EQ(value, fixed.at(door)) << door;
      } else {
        EXPECT_EQ(value, VanillaPartner(door)) << door;
      }
    }

    // All rooms placed and reached, nothing left open in them.
    EXPECT_TRUE(state.m_multiDoorRooms.empty());
    EXPECT_TRUE(state.m_singleDoorRooms.empty());
    ASSERT_EQ(state.m_reachedRooms.size(), 83u);
    EXPECT_TRUE(std::equal(c.reached_first.begin(), c.reached_first.end(),
                           state.m_reachedRooms.begin()));
    const std::set<std::string> reached(state.m_reachedRooms.begin(), state.m_reachedRooms.end());
    EXPECT_EQ(reached.size(), 83u);
    for (const std::string& room : reached)
      EXPECT_TRUE(!state.m_openDoors.count(room) || state.m_openDoors.at(room).empty()) << room;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Characters, GameDoorPassTest,
    ::testing::Values(
        // Jill reaches "Tea Room" and "Northern Corridor" in one multi-door
        // turn, so she makes 43 of them; 8 + 40 = 48 open doors after them,
        // 48 - 37 = 11 after the single-door rooms, and with door 90 back
        // 12 doors make 6 pairs.
        GameCase{Character::kJill, {"Main Hall", "Dining Room"}, 43, 37, 6, 8},
        GameCase{Character::kChris,
                 {"Main Hall", "Dining Room", "Tea Room", "Northern Corridor"}, 42, 37, 6, 14}),
    [](const auto& param) { return param.param.character == Character::kJill ? "Jill" : "Chris"; });

// --- Small tables of our own ---

struct SmallPass {
  std::vector<DoorTurn> turns;
  std::string log;
  std::vector<DoorTurnKind> Kinds() const {
    std::vector<DoorTurnKind> kinds;
    for (const DoorTurn& turn : turns) kinds.push_back(turn.kind);
    return kinds;
  }
};

/// Runs the pass on the handmade tables in `state` from the start room "Hall".
SmallPass RunFromHall(GeneratorState& state, DoorPassRules rules = {}) {
  rules.start_rooms = {"Hall"};
  SmallPass pass;
  pass.turns = RunDoorPass(state, rules, [&pass](std::string text) { pass.log += text; });
  return pass;
}

TEST(SmallDoorPassTest, PlacingTurnDrawsDoorAThenRoomThenItsDoor) {
  // pickA 1 of 2 -> Hall 1; room 1 of ["Left", "Right"] -> Right; its door 0
  // of 2 -> 20.
  GeneratorState state;
  state.m_vanillaDoors = {{"Hall", {{0, 5}, {1, 6}}},
                          {"Left", {{10, 15}, {11, 16}}},
                          {"Right", {{20, 25}, {21, 26}}}};
  state.m_multiDoorRooms = {"Left", "Right"};
  state.m_random.Seed(FindSeed({2, 2, 2}, [](const std::vector<int>& d) {
    return d[0] == 1 && d[1] == 1 && d[2] == 0;
  }));
  const std::vector<DoorTurn> turns = RunFromHall(state).turns;
  ASSERT_FALSE(turns.empty());
  EXPECT_EQ(turns[0].a, (RoomDoor{"Hall", 1}));
  EXPECT_EQ(turns[0].b, (RoomDoor{"Right", 20}));
  // Hall 1 now leads where door 20's passage arrives, and back.
  EXPECT_EQ(state.m_roomDoors.at("Hall").at(1), 25);
  EXPECT_EQ(state.m_roomDoors.at("Right").at(20), 6);
  EXPECT_EQ(state.m_reachedRooms.at(1), "Right");
}

TEST(SmallDoorPassTest, PairingRedrawsWhileItDrawsDoorAItself) {
  GeneratorState state;
  state.m_vanillaDoors = {{"Hall", {{0, 7}, {1, 8}, {2, 9}}}};
  state.m_random.Seed(FindSeed({3, 3, 3}, [](const std::vector<int>& d) {
    return d[0] == 0 && d[1] == 0 && d[2] == 2;
  }));
  const std::vector<DoorTurn> turns = RunFromHall(state).turns;
  ASSERT_FALSE(turns.empty());
  EXPECT_EQ(turns[0].kind, DoorTurnKind::kPairing);
  EXPECT_EQ(turns[0].a, (RoomDoor{"Hall", 0}));
  EXPECT_EQ(turns[0].b, (RoomDoor{"Hall", 2}));
}

TEST(SmallDoorPassTest, OneDoorLeftToPairLogsSlotCountAndEndsInOrder) {
  // Three open doors and nothing to place: one pair, then a lone door.
  for (uint32_t seed : {1u, 2u, 3u, 77u}) {
    GeneratorState state;
    state.m_vanillaDoors = {{"Hall", {{0, 7}, {1, 8}, {2, 9}}}};
    state.m_random.Seed(seed);
    const auto [turns, log] = RunFromHall(state);
    EXPECT_EQ(log, "Randomizing Doors . . . SLOTCOUNT ERROR - TELL QUORRAN HE FUCKED UP\ndone!\n");
    ASSERT_EQ(turns.size(), 2u);
    EXPECT_FALSE(turns[1].connected);
    ASSERT_EQ(state.m_openDoors.at("Hall").size(), 1u);
    const int lone = state.m_openDoors.at("Hall").begin()->first;
    EXPECT_EQ(state.m_roomDoors.at("Hall").at(lone), 7 + lone);
  }
}

TEST(SmallDoorPassTest, RoomWithoutOpenDoorsLogsInvalidDoorAndConnectsNothing) {
  // "Ghost" is listed but has no doors: its turn connects nothing, and the
  // two doors of "Hall" are paired afterwards.
  for (uint32_t seed : {1u, 2u, 3u, 77u}) {
    GeneratorState state;
    state.m_vanillaDoors = {{"Hall", {{0, 10}, {1, 11}}}};
    state.m_multiDoorRooms = {"Ghost"};
    state.m_random.Seed(seed);
    const auto [turns, log] = RunFromHall(state);
    EXPECT_EQ(log, "Randomizing Doors . . . INVALID DOOR ERROR - TELL QUORRAN HE FUCKED UP\ndone!\n");
    ASSERT_EQ(turns.size(), 2u);
    EXPECT_FALSE(turns[0].connected);
    EXPECT_EQ(turns[0].b, (RoomDoor{"Ghost", -1}));
    EXPECT_TRUE(turns[1].connected);
    EXPECT_EQ(state.m_roomDoors.at("Hall"), (std::map<int, int>{{0, 11}, {1, 10}}));
    EXPECT_EQ(state.m_roomDoors.count("Ghost"), 0u);
  }
}

TEST(SmallDoorPassTest, OddCountWithOneSingleRoomLeftBringsInTheSpareRoom) {
  // Three open doors, one held back: placing "Closet" alone would leave 2,
  // and 3 with the held-back door. The spare room evens it out.
  for (uint32_t seed : {1u, 2u, 3u, 77u}) {
    GeneratorState state;
    state.m_vanillaDoors = {{"Hall", {{0, 30}, {1, 31}, {2, 32}, {3, 33}}},
                            {"Closet", {{5, 35}}},
                            {"Spare", {{6, 36}}}};
    state.m_singleDoorRooms = {"Closet"};
    state.m_random.Seed(seed);
    DoorPassRules rules;
    rules.held_back_door = RoomDoor{"Hall", 3};
    rules.spare_single_door_room = "Spare";
    const SmallPass pass = RunFromHall(state, rules);
    EXPECT_EQ(pass.log, "Randomizing Doors . . . done!\n");
    ASSERT_EQ(pass.Kinds(), (std::vector<DoorTurnKind>{DoorTurnKind::kParityGuard, DoorTurnKind::kSingleDoorRoom,
                                                     DoorTurnKind::kSingleDoorRoom, DoorTurnKind::kPairing}));
    EXPECT_EQ(pass.turns[0].open_count, 3);
    EXPECT_TRUE(pass.turns[3].a.door == 3 || pass.turns[3].b.door == 3);
    const std::set<std::string> reached(state.m_reachedRooms.begin(), state.m_reachedRooms.end());
    EXPECT_EQ(reached, (std::set<std::string>{"Hall", "Closet", "Spare"}));
    for (const auto& [room, doors] : state.m_openDoors) EXPECT_TRUE(doors.empty()) << room;
  }
}

TEST(SmallDoorPassTest, JoinedRoomsAreReachedTogetherAndLeaveTheList) {
  GeneratorState state;
  state.m_vanillaDoors = {{"Hall", {{0, 40}, {1, 41}}},
                          {"East", {{10, 50}, {11, 51}}},
                          {"West", {{20, 60}, {21, 61}}}};
  state.m_multiDoorRooms = {"East", "West"};
  state.m_random.Seed(FindSeed({2, 2}, [](const std::vector<int>& d) { return d[1] == 1; }));
  DoorPassRules rules;
  rules.joined_rooms.emplace("East", "West");
  const std::vector<DoorTurn> turns = RunFromHall(state, rules).turns;
  ASSERT_FALSE(turns.empty());
  EXPECT_EQ(turns[0].b.room, "West");
  EXPECT_EQ(state.m_reachedRooms, (std::vector<std::string>{"Hall", "West", "East"}));
  EXPECT_EQ(CountKind(turns, DoorTurnKind::kMultiDoorRoom), 1);
}

}  // namespace
}  // namespace velmora
