#include "output/DoorMap.h"

#include <gtest/gtest.h>

#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <tuple>
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

// Quotes and backslashes in names and the title are escaped inside dot strings.
TEST(DoorMapTest, QuotesAndBackslashesAreEscapedInDotStrings) {
  GeneratorState state;
  state.m_roomDoors["Main Hall"] = {{21, 21}};
  state.m_roomDoors["Dining Room"] = {{19, 19}};
  const std::string dot = FormatDoorMap(state, Character::kJill, R"(a "b" \c)");
  EXPECT_NE(dot.find(R"( label="a \"b\" \\c" labelloc=t)"), std::string::npos) << dot;
}

// The dot text read back: node names and edges with their labels.
struct DotGraph {
  std::set<std::string> nodes;
  std::map<std::string, std::string> node_attributes;
  struct Edge {
    std::string a, b;
    int door_a, door_b;
    std::string attributes;
  };
  std::vector<Edge> edges;
};

DotGraph ReadDot(const std::string& dot) {
  DotGraph graph;
  const std::regex edge(R"re(^  "([^"]+)" -- "([^"]+)" \[label="(\d+) - (\d+)"(.*)\];$)re");
  const std::regex node(R"re(^  "([^"]+)"(.*);$)re");
  std::istringstream in(dot);
  std::string line;
  std::smatch m;
  while (std::getline(in, line)) {
    if (std::regex_match(line, m, edge)) {
      graph.edges.push_back({m[1], m[2], std::stoi(m[3]), std::stoi(m[4]), m[5]});
    } else if (std::regex_match(line, m, node)) {
      graph.nodes.insert(m[1]);
      graph.node_attributes[m[1]] = m[2];
    }
  }
  return graph;
}

struct SeedCase {
  Character character;
  uint32_t seed;
  size_t door_pass_connections;
};

class GeneratedDoorMapTest : public ::testing::TestWithParam<SeedCase> {};

// The passages no seed changes, worked out from the fixed doors and the game
// partners: the fixed doors' own, and two one-way passages that the
// asymmetric partners of Main Garden and Falls Area make among rooms the
// pass never places.
std::set<std::string> UnchangedPassages(Character character) {
  std::set<std::string> passages = {
      "Northern Corridor 10 <-> Tea Room 11 fixed",
      "Dining Room 19 <-> Main Hall 21 fixed",
      "Main Hall 28 <-> Fountain 139 fixed",
      "Art Room 32 <-> Hidden Wardrobe 70 fixed",
      "Bathroom 36 <-> Winding Corridor 38 fixed",
      "Large Art Room 53 <-> Mirror Room 54 fixed",
      "Main Garden 130 -> Water Pool 131 fixed",
      "Falls Area 134 -> Main Garden 129 fixed",
      "Fountain 140 <-> Passage to Heliport 235 fixed",
      "Passage to Heliport 236 -> Elevator to Helipad 228 fixed",
  };
  if (character == Character::kChris) passages.insert("Tea Room 9 <-> Dining Room 20 fixed");
  return passages;
}

// The pass makes 86 two-way connections for Jill and 85 for Chris, whatever
// the draws. The reached rooms are 83, and fixed doors lead into six more
// (Fountain, Passage to Heliport, Elevator to Helipad, Bathroom, Mirror Room,
// Hidden Wardrobe).
TEST_P(GeneratedDoorMapTest, EveryPassageOnceWithBothDoorsAndTheMapConnected) {
  const SeedCase& c = GetParam();
  const GeneratedSeed run({.character = c.character, .doors = true, .seed = c.seed});
  const CVelmoraDlg& dlg = run.dlg;

  const std::vector<DoorConnection> connections = DoorConnections(dlg, c.character);
  size_t made = 0;
  std::set<std::string> unchanged;
  std::map<int, int> uses;
  for (const DoorConnection& conn : connections) {
    if (conn.fixed) {
      unchanged.insert(Describe(conn));
    } else {
      ++made;
      EXPECT_TRUE(conn.two_way) << Describe(conn);
    }
    ++uses[conn.from.door];
    ++uses[conn.to.door];
  }
  EXPECT_EQ(made, c.door_pass_connections);
  EXPECT_EQ(unchanged, UnchangedPassages(c.character));
  for (const auto& [door, count] : uses) EXPECT_EQ(count, 1) << "door " << door;

  // Every door of a reached room that the pass had in play is in a passage.
  std::set<int> fixed_doors;
  for (const auto& f : GameDoorPassRules(c.character).fixed_doors) fixed_doors.insert(f.where.door);
  for (const std::string& room : dlg.m_reachedRooms)
    for (const auto& [door, value] : dlg.m_roomDoors.at(room))
      if (!fixed_doors.count(door)) {
        EXPECT_EQ(uses.count(door), 1u) << room << " " << door;
      }

  const DotGraph graph = ReadDot(FormatDoorMap(dlg, c.character, "a title"));
  // The map leaves out the two passages nobody can reach.
  std::vector<DoorConnection> shown = connections;
  std::erase_if(shown, [](const DoorConnection& conn) {
    return conn.from.room == "Main Garden" || conn.from.room == "Falls Area";
  });
  ASSERT_EQ(shown.size(), connections.size() - 2);
  ASSERT_EQ(graph.edges.size(), shown.size());
  EXPECT_EQ(graph.nodes.size(), 89u);
  for (size_t i = 0; i < shown.size(); ++i) {
    const DotGraph::Edge& e = graph.edges[i];
    EXPECT_EQ(std::tie(e.a, e.b, e.door_a, e.door_b),
              std::tie(shown[i].from.room, shown[i].to.room, shown[i].from.door, shown[i].to.door));
    EXPECT_EQ(e.attributes.find("dashed") != std::string::npos, shown[i].fixed);
    EXPECT_EQ(e.attributes.find("dir=forward") != std::string::npos, !shown[i].two_way);
    EXPECT_TRUE(graph.nodes.count(e.a) && graph.nodes.count(e.b));
  }
  // Only the start room has attributes: a "(start)" label and a double ring.
  for (const auto& [room, attributes] : graph.node_attributes) {
    const bool start = room == "Main Hall";
    EXPECT_EQ(attributes.find("(start)") != std::string::npos, start) << room;
    EXPECT_EQ(attributes.find("peripheries=2") != std::string::npos, start) << room;
    EXPECT_TRUE(start || attributes.empty()) << room;
  }

  // Reach every node from the start room along the edges.
  std::set<std::string> reached = {"Main Hall"};
  for (bool grew = true; grew;) {
    grew = false;
    for (const DotGraph::Edge& e : graph.edges) {
      if (reached.count(e.a) != reached.count(e.b)) {
        reached.insert(e.a);
        reached.insert(e.b);
        grew = true;
      }
    }
  }
  EXPECT_EQ(reached, graph.nodes);
}

INSTANTIATE_TEST_SUITE_P(
    Seeds, GeneratedDoorMapTest,
    ::testing::Values(SeedCase{Character::kJill, 1, 86}, SeedCase{Character::kJill, 77, 86},
                      SeedCase{Character::kChris, 1, 85}, SeedCase{Character::kChris, 4242, 85}),
    [](const auto& param) {
      const char* name = param.param.character == kChris ? "Chris" : "Jill";
      return name + std::to_string(param.param.seed);
    });

}  // namespace
}  // namespace velmora
