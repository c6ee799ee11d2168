#include "output/RoomsDoc.h"

#include <iterator>
#include <map>
#include <string_view>
#include <vector>

#include "doors/DoorTables.h"

namespace velmora {

std::string FormatRoomsDoc() {
  // Rooms in the order of their first door, each with its doors ascending.
  std::vector<std::string_view> rooms;
  std::map<std::string_view, std::vector<const DoorRow*>> doors_of;
  for (const DoorRow& row : kDoorTable) {
    auto& doors = doors_of[row.room];
    if (doors.empty()) rooms.push_back(row.room);
    doors.push_back(&row);
  }

  std::string out;
  auto line = [&out](std::string_view text) {
    out += text;
    out += '\n';
  };
  line("# Rooms and doors");
  line("");
  line("Every room of the game with its numbered doors and where each door leads in");
  line("the unshuffled game: " + std::to_string(std::size(kDoorTable)) + " doors in " +
       std::to_string(rooms.size()) + " rooms, each room under its first door.");
  line("");
  line("The door numbers are those of the door section of the item list and of the");
  line("`Room:door:value` lines of the cheat sheet. A door with the value t takes the");
  line("player along the passage of door t, so it leads where door t leads below; a");
  line("door whose value is its own number is unchanged.");
  line("");
  line("Generated from the door tables by the `velmora-rooms-doc` tool; do not edit by");
  line("hand. Regenerate with `cmake --build <build directory> --target rooms-doc`.");
  for (std::string_view room : rooms) {
    line("");
    line("## " + std::string(room));
    line("");
    for (const DoorRow* row : doors_of[room]) {
      std::string text = "- Door " + std::to_string(row->door);
      if (row->partner < 0 || row->partner >= static_cast<int>(std::size(kDoorTable))) {
        text += " leads nowhere";
      } else {
        const DoorRow& partner = kDoorTable[row->partner];
        text += " leads to " + std::string(partner.room) + ", arriving at door " +
                std::to_string(partner.door);
      }
      line(text);
    }
  }
  return out;
}

}  // namespace velmora
