#include "output/DoorMap.h"

#include <algorithm>
#include <map>
#include <set>

#include "doors/DoorTables.h"

namespace velmora {
namespace {

constexpr std::string_view kStartRoom = "Main Hall";

// Text for inside a dot string literal: quotes and backslashes escaped.
std::string Escaped(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '"' || c == '\\') out += '\\';
    out += c;
  }
  return out;
}

std::string Quoted(const std::string& text) { return "\"" + Escaped(text) + "\""; }

bool Contains(const std::vector<std::string>& rooms, const std::string& room) {
  return std::find(rooms.begin(), rooms.end(), room) != rooms.end();
}

}  // namespace

std::vector<DoorConnection> DoorConnections(const GeneratorState& state, Character character) {
  // Door number -> (room, value), whichever room holds the door.
  std::map<int, std::pair<const std::string*, int>> doors;
  for (const auto& [room, room_doors] : state.m_roomDoors)
    for (const auto& [door, value] : room_doors) doors.emplace(door, std::pair{&room, value});

  std::set<int> fixed;
  for (const DoorPassRules::FixedDoor& door : GameDoorPassRules(character).fixed_doors)
    fixed.insert(door.where.door);

  // A door with value t takes the passage of door t and arrives where that
  // passage arrives in the game: at t's partner.
  auto arrival = [&](int door) {
    auto it = doors.find(door);
    if (it == doors.end()) return -1;
    const int to = VanillaPartner(it->second.second);
    return doors.count(to) != 0 ? to : -1;
  };

  std::vector<DoorConnection> connections;
  for (const auto& [door, where] : doors) {
    const int to = arrival(door);
    if (to < 0 || to == door) continue;
    const bool two_way = arrival(to) == door;
    if (two_way && to < door) continue;
    const std::string& to_room = *doors.at(to).first;
    // Doors of rooms the pass never places keep their value in every seed.
    const bool made_by_pass = fixed.count(door) == 0 && fixed.count(to) == 0 &&
                              Contains(state.m_reachedRooms, *where.first) &&
                              Contains(state.m_reachedRooms, to_room);
    connections.push_back({{*where.first, door}, {to_room, to}, two_way, !made_by_pass});
  }
  return connections;
}

std::string FormatDoorMap(const GeneratorState& state, Character character,
                          const std::string& title) {
  // The rooms a player can get to from the start, following the passages in
  // their direction. Rooms the pass never places stay out unless a fixed door
  // leads into them; among those, the two game passages whose partners are
  // not symmetric make one-way passages that nobody can reach.
  std::vector<DoorConnection> connections = DoorConnections(state, character);
  std::vector<std::string> rooms = {std::string(kStartRoom)};
  for (bool grew = true; grew;) {
    grew = false;
    for (const DoorConnection& c : connections) {
      const bool from_in = Contains(rooms, c.from.room);
      const bool to_in = Contains(rooms, c.to.room);
      if (from_in && !to_in) {
        rooms.push_back(c.to.room);
        grew = true;
      } else if (to_in && !from_in && c.two_way) {
        rooms.push_back(c.from.room);
        grew = true;
      }
    }
  }
  std::erase_if(connections,
                [&](const DoorConnection& c) { return !Contains(rooms, c.from.room); });
  // Nodes in the order the pass reached the rooms, then the rooms only fixed
  // doors lead into, in the order they were found.
  std::vector<std::string> nodes;
  for (const std::string& room : state.m_reachedRooms)
    if (Contains(rooms, room) && !Contains(nodes, room)) nodes.push_back(room);
  for (const std::string& room : rooms)
    if (!Contains(nodes, room)) nodes.push_back(room);

  std::string out;
  out += "// The rooms of a Doors seed and the passages between them. An edge \"a - b\"\n";
  out += "// joins door a of the first room with door b of the second. Solid edges were\n";
  out += "// made by the door randomizer; dashed ones are the same in every seed; an\n";
  out += "// arrow marks a passage that leads one way only.\n";
  out += "graph doors {\n";
  out += "  graph [layout=neato fontname=\"Helvetica\" overlap=false splines=true sep=\"+10\"";
  if (!title.empty()) out += " label=" + Quoted(title) + " labelloc=t fontsize=16";
  out += "];\n";
  out += "  node [shape=box style=rounded fontname=\"Helvetica\" fontsize=10];\n";
  out += "  edge [fontname=\"Helvetica\" fontsize=9];\n";
  for (const std::string& room : nodes) {
    out += "  " + Quoted(room);
    if (room == kStartRoom)
      out += " [label=\"" + Escaped(room) +
             "\\n(start)\" peripheries=2 style=\"rounded,filled\" fillcolor=\"#ffe08a\"]";
    out += ";\n";
  }
  for (const DoorConnection& c : connections) {
    out += "  " + Quoted(c.from.room) + " -- " + Quoted(c.to.room) + " [label=\"" +
           std::to_string(c.from.door) + " - " + std::to_string(c.to.door) + "\"";
    if (c.fixed) out += " style=dashed color=gray45 fontcolor=gray35";
    if (!c.two_way) out += " dir=forward";
    out += "];\n";
  }
  out += "}\n";
  return out;
}

}  // namespace velmora
