#include "output/DoorMap.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "output/test_support.h"

namespace velmora {
namespace {

std::string Describe(const DoorConnection& c) {
  return c.from.room + " " + std::to_string(c.from.door) + (c.two_way ? " <-> " : " -> ") +
         c.to.room + " " + std::to_string(c.to.door) + (c.fixed ? " fixed" : "");
}

// Door values worked out by hand from the game's partners: joining door a
// with door b gives a the partner of b and b the partner of a.
TEST(DoorMapTest, ConnectionsFollowTheDoorValuesThroughTheGamePartners) {
  GeneratorState state;
  state.m_roomDoors["Main Hall"] = {{21, 21}, {22, 15}, {28, 159}};
  state.m_roomDoors["Bar"] = {{51, 30}};                     // joined with Main Hall 22
  state.m_roomDoors["Dining Room"] = {{19, 19}};             // fixed, unchanged
  state.m_roomDoors["Fountain"] = {{139, 178}, {140, 234}};  // 140 leads back to itself
  state.m_roomDoors["Gallery"] = {{199, 211}};               // closed: leads back to itself
  state.m_roomDoors["Passage to Heliport"] = {{236, 236}};   // unchanged, into 228
  state.m_roomDoors["Elevator to Helipad"] = {{227, 227}, {228, 236}};
  state.m_roomDoors["Dark Corridor"] = {{41, 64}, {42, 61}, {43, 43}};  // 41 with 42
  state.m_roomDoors["East Wing Stairway"] = {{90, 90}};  // 90 with its own partner 43
  state.m_reachedRooms = {"Main Hall", "Dining Room", "Bar", "Dark Corridor", "East Wing Stairway"};

  std::vector<std::string> got;
  for (const DoorConnection& c : DoorConnections(state, Character::kJill))
    got.push_back(Describe(c));
  const std::vector<std::string> expected = {
      "Dining Room 19 <-> Main Hall 21 fixed",
      "Main Hall 22 <-> Bar 51",
      "Main Hall 28 <-> Fountain 139 fixed",
      "Dark Corridor 41 <-> Dark Corridor 42",
      "Dark Corridor 43 <-> East Wing Stairway 90",
      "Passage to Heliport 236 -> Elevator to Helipad 228 fixed",
  };
  EXPECT_EQ(got, expected);
}

// The whole dot text of a map of two rooms, worked out by hand: the start
// room marked, the fixed passage dashed, quotes and backslashes of the title
// escaped.
TEST(DoorMapTest, TwoRoomsGiveTheDotTextWorkedOutByHand) {
  GeneratorState state;
  state.m_roomDoors["Main Hall"] = {{21, 21}};
  state.m_roomDoors["Dining Room"] = {{19, 19}};
  const std::string dot = FormatDoorMap(state, Character::kJill, R"(a "b" \c)");
  EXPECT_EQ(dot.substr(dot.find("graph doors {")),
            "graph doors {\n"
            "  graph [layout=neato fontname=\"Helvetica\" overlap=false splines=true sep=\"+10\""
            " label=\"a \\\"b\\\" \\\\c\" labelloc=t fontsize=16];\n"
            "  node [shape=box style=rounded fontname=\"Helvetica\" fontsize=10];\n"
            "  edge [fontname=\"Helvetica\" fontsize=9];\n"
            "  \"Main Hall\" [label=\"Main Hall\\n(start)\" peripheries=2 style=\"rounded,filled\""
            " fillcolor=\"#ffe08a\"];\n"
            "  \"Dining Room\";\n"
            "  \"Dining Room\" -- \"Main Hall\" [label=\"19 - 21\" style=dashed color=gray45"
            " fontcolor=gray35];\n"
            "}\n");
}

// The pass makes 86 two-way connections for Jill and 85 for Chris, whatever
// the draws; 10 passages are the same in every seed, 11 for Chris (the door
// tests pin the values of their doors): the fixed doors' own, and three
// one-way ones among rooms the pass never places, two of them made by the
// asymmetric partners of Main Garden and Falls Area. The reached rooms are
// 83, and fixed doors lead into six more (Fountain, Passage to Heliport,
// Elevator to Helipad, Bathroom, Mirror Room, Hidden Wardrobe).
TEST(GeneratedDoorMapTest, PassagesCountedByKindAndTheMapShowsTheReachableOnes) {
  const std::pair<Character, uint32_t> seeds[] = {{kJill, 77}, {kChris, 4242}};
  for (const auto& [character, seed] : seeds) {
    SCOPED_TRACE(seed);
    const GeneratedSeed run({.character = character, .doors = true, .seed = seed});
    const CVelmoraDlg& dlg = run.dlg;

    const std::vector<DoorConnection> connections = DoorConnections(dlg, character);
    const size_t unchanged = character == kJill ? 10 : 11;
    size_t made = 0, one_way = 0;
    for (const DoorConnection& conn : connections) {
      EXPECT_TRUE(conn.two_way || conn.fixed) << Describe(conn);
      made += conn.fixed ? 0 : 1;
      one_way += conn.two_way ? 0 : 1;
    }
    EXPECT_EQ(made, character == kJill ? 86u : 85u);
    EXPECT_EQ(connections.size() - made, unchanged);
    EXPECT_EQ(one_way, 3u);

    // The map leaves out the two passages nobody can reach, among the fixed
    // ones the one-way passage into the Elevator to Helipad; its 89 rooms are
    // the start room and a plain line each.
    const std::string dot = FormatDoorMap(dlg, character, "a title");
    EXPECT_EQ(CountOf(dot, " -- "), connections.size() - 2);
    EXPECT_EQ(CountOf(dot, " style=dashed"), unchanged - 2);
    EXPECT_EQ(CountOf(dot, " dir=forward];\n"), 1u);
    EXPECT_EQ(CountOf(dot, "\";\n"), 89u - 1);
  }
}

}  // namespace
}  // namespace velmora
