#include "doors/RandomizeDoors.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "doors/DoorTables.h"
#include "doors/doors_test.h"

namespace velmora {
namespace {

using doors_test::FindSeed;

int CountKind(const std::vector<DoorTurn>& turns, DoorTurnKind kind) {
  return static_cast<int>(
      std::count_if(turns.begin(), turns.end(), [kind](const DoorTurn& t) { return t.kind == kind; }));
}

// The game's tables, over many seeds. Jill reaches "Tea Room" and "Northern
// Corridor" in one multi-door turn, so she makes 43 of them; 8 + 40 = 48 open
// doors after them, 48 - 37 = 11 after the single-door rooms, and with door
// 90 back 12 doors make 6 pairs. Chris starts in those two rooms as well.
// That the connections are two-way, use every door once and keep the fixed
// doors is checked on the door map of whole generations and by the verifier
// on every door seed of the property run.
TEST(GameDoorPassTest, EverySeedMakesTheSameTurns) {
  const struct {
    Character character;
    int multi_turns, open_at_start;
  } cases[] = {{kJill, 43, 8}, {kChris, 42, 14}};
  for (const auto& c : cases) {
    for (uint32_t seed = 1; seed <= 200; ++seed) {
      SCOPED_TRACE((c.character == kJill ? "Jill seed " : "Chris seed ") + std::to_string(seed));
      GeneratorState state;
      FillDoorTables(state, c.character);
      state.m_random.Seed(seed);
      std::string log;
      const std::vector<DoorTurn> turns =
          RunDoorPass(state, GameDoorPassRules(c.character), [&log](std::string text) { log += text; });
      EXPECT_EQ(log, "Randomizing Doors . . . done!\n");
      EXPECT_EQ(CountKind(turns, DoorTurnKind::kMultiDoorRoom), c.multi_turns);
      EXPECT_EQ(CountKind(turns, DoorTurnKind::kSingleDoorRoom), 37);
      ASSERT_EQ(CountKind(turns, DoorTurnKind::kPairing), 6);
      EXPECT_EQ(turns.front().open_count, c.open_at_start);
      EXPECT_EQ(turns[turns.size() - 6].open_count, 11);
      // The held-back door 90 is never joined to a newly placed room.
      for (const DoorTurn& turn : turns)
        EXPECT_TRUE(turn.kind == DoorTurnKind::kPairing || (turn.a.door != 90 && turn.b.door != 90));
    }
  }
}

// --- Small tables of our own ---

struct SmallPass {
  std::vector<DoorTurn> turns;
  std::string log;
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
  EXPECT_EQ(turns[0].a, (RoomDoor{"Hall", 0}));
  EXPECT_EQ(turns[0].b, (RoomDoor{"Hall", 2}));
}

// A pass that cannot connect a door logs an error and leaves it as it was.
TEST(SmallDoorPassTest, ADoorThatCannotBeConnectedIsLoggedAndLeftAlone) {
  for (uint32_t seed : {1u, 2u, 3u, 77u}) {
    // Three open doors and nothing to place: one pair, then a lone door.
    GeneratorState three;
    three.m_vanillaDoors = {{"Hall", {{0, 7}, {1, 8}, {2, 9}}}};
    three.m_random.Seed(seed);
    const auto [turns, log] = RunFromHall(three);
    EXPECT_EQ(log, "Randomizing Doors . . . SLOTCOUNT ERROR - TELL QUORRAN HE FUCKED UP\ndone!\n");
    ASSERT_EQ(turns.size(), 2u);
    EXPECT_FALSE(turns[1].connected);
    const int lone = turns[1].a.door;
    EXPECT_EQ(three.m_roomDoors.at("Hall").at(lone), 7 + lone);

    // "Ghost" is listed but has no doors: its turn connects nothing, and the
    // two doors of "Hall" are paired afterwards.
    GeneratorState ghost;
    ghost.m_vanillaDoors = {{"Hall", {{0, 10}, {1, 11}}}};
    ghost.m_multiDoorRooms = {"Ghost"};
    ghost.m_random.Seed(seed);
    const SmallPass pass = RunFromHall(ghost);
    EXPECT_EQ(pass.log, "Randomizing Doors . . . INVALID DOOR ERROR - TELL QUORRAN HE FUCKED UP\ndone!\n");
    ASSERT_EQ(pass.turns.size(), 2u);
    EXPECT_EQ(pass.turns[0].b, (RoomDoor{"Ghost", -1}));
    EXPECT_EQ(ghost.m_roomDoors.at("Hall"), (std::map<int, int>{{0, 11}, {1, 10}}));
    EXPECT_EQ(ghost.m_roomDoors.count("Ghost"), 0u);
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
    std::vector<DoorTurnKind> kinds;
    for (const DoorTurn& turn : pass.turns) kinds.push_back(turn.kind);
    ASSERT_EQ(kinds, (std::vector<DoorTurnKind>{DoorTurnKind::kParityGuard, DoorTurnKind::kSingleDoorRoom,
                                               DoorTurnKind::kSingleDoorRoom, DoorTurnKind::kPairing}));
    EXPECT_TRUE(pass.turns[3].a.door == 3 || pass.turns[3].b.door == 3);
    EXPECT_EQ(state.m_reachedRooms.size(), 3u);
  }
}

}  // namespace
}  // namespace velmora
