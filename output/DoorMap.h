// The door map: the rewired map of a Doors seed as a Graphviz graph, rooms as
// nodes and passages as edges, for players who would rather look at a picture
// than follow the cheat sheet's door lines.
#pragma once

#include <string>
#include <vector>

#include "app/GeneratorState.h"
#include "catalogue/Selection.h"
#include "doors/RandomizeDoors.h"

namespace velmora {

/// One passage of the rewired map: going through door `from` arrives at door
/// `to`.
struct DoorConnection {
  RoomDoor from;
  RoomDoor to;
  /// Door `to` leads back to door `from`. A two-way passage is listed once,
  /// from its lower door number.
  bool two_way = false;
  /// Not made by the door pass: one of its doors keeps the same value in
  /// every seed (a fixed door, or a door of a room the pass never places).
  bool fixed = false;
};

/// The passages of the map in m_roomDoors, ordered by the number of their
/// `from` door. A door whose value leads back to itself, or into no passage
/// (-1), makes none.
std::vector<DoorConnection> DoorConnections(const GeneratorState& state, Character character);

/// Graphviz dot text of the map in m_roomDoors: every room a player can get
/// to from "Main Hall" as a node, "Main Hall" marked as the start, and one
/// edge per passage between them labelled "a - b" with door a of the first
/// room and door b of the second. Passages the door pass made are solid,
/// fixed ones dashed; a one-way passage has an arrow. `title`, when not
/// empty, is the graph's caption. The graph asks for the neato layout.
std::string FormatDoorMap(const GeneratorState& state, Character character,
                          const std::string& title);

}  // namespace velmora
