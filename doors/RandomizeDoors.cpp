#include "doors/RandomizeDoors.h"

#include <algorithm>
#include <iterator>

#include "app/VelmoraDlg.h"
#include "doors/DoorTables.h"

namespace velmora {
namespace {

bool Contains(const std::vector<std::string>& rooms, const std::string& room) {
  return std::find(rooms.begin(), rooms.end(), room) != rooms.end();
}

void EraseFirst(std::vector<std::string>& rooms, const std::string& room) {
  auto it = std::find(rooms.begin(), rooms.end(), room);
  if (it != rooms.end()) rooms.erase(it);
}

/// The number of open doors of `room`; 0 for a room without an entry.
int OpenDoorCount(const GeneratorState& state, const std::string& room) {
  auto it = state.m_openDoors.find(room);
  return it == state.m_openDoors.end() ? 0 : static_cast<int>(it->second.size());
}

int OpenCount(const GeneratorState& state) {
  int count = 0;
  for (const std::string& room : state.m_reachedRooms) count += OpenDoorCount(state, room);
  return count;
}

/// The position of `door` among the open doors of `room`, in ascending
/// door-number order.
int LocalIndex(const GeneratorState& state, const RoomDoor& door) {
  const std::map<int, int>& doors = state.m_openDoors.at(door.room);
  return static_cast<int>(std::distance(doors.begin(), doors.find(door.door)));
}

/// The open door of `room` at `local_index` with its partner, if there is one.
std::optional<std::pair<int, int>> OpenDoorAt(const GeneratorState& state, const std::string& room,
                                              std::optional<int> local_index) {
  auto it = state.m_openDoors.find(room);
  if (!local_index || it == state.m_openDoors.end() || *local_index < 0 ||
      *local_index >= static_cast<int>(it->second.size()))
    return std::nullopt;
  auto door = std::next(it->second.begin(), *local_index);
  return std::pair<int, int>(door->first, door->second);
}

/// Takes the next room from a placing list and draws one of its open doors.
/// A room without open doors yields no door and no door draw.
void DrawPlacedRoom(GeneratorState& state, std::vector<std::string>& rooms, std::string& room,
                    std::optional<int>& local_index) {
  const int k = state.m_random.Draw(static_cast<int>(rooms.size()));
  room = rooms[k];
  rooms.erase(rooms.begin() + k);
  const int open = OpenDoorCount(state, room);
  if (open > 0) local_index = state.m_random.Draw(open);
}

}  // namespace

DoorPassRules GameDoorPassRules(Character character) {
  DoorPassRules rules;
  for (std::string_view room : kStartRooms) rules.start_rooms.emplace_back(room);
  if (character == Character::kChris) {
    for (std::string_view room : kTeaRoomAndNorthernCorridor) rules.start_rooms.emplace_back(room);
  }
  for (const FixedDoor& fixed : kFixedDoors) {
    RoomDoor where{std::string(fixed.room), fixed.door};
    switch (fixed.play) {
      case FixedDoorPlay::kOutOfPlay:
        rules.fixed_doors.push_back({where, *fixed.value, true});
        break;
      case FixedDoorPlay::kInPlay:
        rules.fixed_doors.push_back({where, *fixed.value, false});
        break;
      case FixedDoorPlay::kHeldBack:
        rules.held_back_door = where;
        break;
      case FixedDoorPlay::kOutOfPlayForChris:
        if (character == Character::kChris) rules.fixed_doors.push_back({where, *fixed.value, true});
        break;
    }
  }
  if (character == Character::kJill) {
    rules.joined_rooms.emplace(kTeaRoomAndNorthernCorridor[0], kTeaRoomAndNorthernCorridor[1]);
  }
  rules.spare_single_door_room = kSpareSingleDoorRoom;
  return rules;
}

std::vector<RoomDoor> OpenDoorEnumeration(const GeneratorState& state) {
  std::vector<RoomDoor> doors;
  for (const std::string& room : state.m_reachedRooms) {
    auto it = state.m_openDoors.find(room);
    if (it == state.m_openDoors.end()) continue;
    for (const auto& [door, partner] : it->second) doors.push_back({room, door});
  }
  return doors;
}

void PrepareDoorPass(GeneratorState& state, const DoorPassRules& rules) {
  state.m_openDoors = state.m_vanillaDoors;
  state.m_roomDoors = state.m_vanillaDoors;
  state.m_reachedRooms = rules.start_rooms;
  for (const DoorPassRules::FixedDoor& fixed : rules.fixed_doors) {
    state.m_roomDoors[fixed.where.room][fixed.where.door] = fixed.value;
    if (fixed.out_of_play) state.m_openDoors[fixed.where.room].erase(fixed.where.door);
  }
  if (rules.held_back_door)
    state.m_openDoors[rules.held_back_door->room].erase(rules.held_back_door->door);
}

std::vector<DoorTurn> RunDoorPass(GeneratorState& state, const DoorPassRules& rules,
                                  const std::function<void(std::string)>& log) {
  log("Randomizing Doors . . . ");
  PrepareDoorPass(state, rules);
  bool held_back_returned = false;
  std::vector<DoorTurn> turns;

  int open_count = OpenCount(state);
  while (open_count > 0) {
    DoorTurn turn;
    turn.open_count = open_count;

    if (state.m_singleDoorRooms.size() == 1 && open_count % 2 == 1) {
      state.m_singleDoorRooms.push_back(rules.spare_single_door_room);
      turn.kind = DoorTurnKind::kParityGuard;
      turns.push_back(turn);
      continue;
    }

    const int pick_a = state.m_random.Draw(open_count);
    turn.a = OpenDoorEnumeration(state)[pick_a];
    const int local_a = LocalIndex(state, turn.a);

    std::optional<int> local_b;
    if (!state.m_multiDoorRooms.empty()) {
      turn.kind = DoorTurnKind::kMultiDoorRoom;
      DrawPlacedRoom(state, state.m_multiDoorRooms, turn.b.room, local_b);
    } else if (!state.m_singleDoorRooms.empty()) {
      turn.kind = DoorTurnKind::kSingleDoorRoom;
      DrawPlacedRoom(state, state.m_singleDoorRooms, turn.b.room, local_b);
    } else {
      turn.kind = DoorTurnKind::kPairing;
      if (rules.held_back_door && !held_back_returned) {
        const RoomDoor& held = *rules.held_back_door;
        state.m_openDoors[held.room][held.door] = state.m_vanillaDoors.at(held.room).at(held.door);
        held_back_returned = true;
      }
      const std::vector<RoomDoor> open_doors = OpenDoorEnumeration(state);
      const int n = static_cast<int>(open_doors.size());
      if (n == 1) {
        // Door A is the only open door: there is nothing to pair it with.
        // The pass ends here and leaves it unconnected.
        log("SLOTCOUNT ERROR - TELL QUORRAN HE FUCKED UP\n");
        turns.push_back(turn);
        break;
      }
      int pick_b = state.m_random.Draw(n);
      while (open_doors[pick_b] == turn.a) pick_b = state.m_random.Draw(n);
      turn.b = open_doors[pick_b];
      local_b = LocalIndex(state, turn.b);
    }

    if (!Contains(state.m_reachedRooms, turn.b.room)) state.m_reachedRooms.push_back(turn.b.room);

    if (rules.joined_rooms) {
      const auto& [first, second] = *rules.joined_rooms;
      if ((turn.b.room == first || turn.a.room == first) &&
          !Contains(state.m_reachedRooms, second)) {
        state.m_reachedRooms.push_back(second);
        EraseFirst(state.m_multiDoorRooms, second);
      }
      if ((turn.b.room == second || turn.a.room == second) &&
          !Contains(state.m_reachedRooms, first)) {
        state.m_reachedRooms.push_back(first);
        EraseFirst(state.m_multiDoorRooms, first);
      }
    }

    const auto door_a = OpenDoorAt(state, turn.a.room, local_a);
    const auto door_b = OpenDoorAt(state, turn.b.room, local_b);
    if (door_b) turn.b.door = door_b->first;
    if (door_a && door_b) {
      // Door A leads where door B's passage arrives and the other way round.
      state.m_roomDoors[turn.a.room][door_a->first] = door_b->second;
      state.m_roomDoors[turn.b.room][door_b->first] = door_a->second;
      state.m_openDoors[turn.a.room].erase(door_a->first);
      state.m_openDoors[turn.b.room].erase(door_b->first);
      turn.connected = true;
    } else {
      // A door that cannot be looked up has no partner to give: the
      // connection is left out rather than written with made-up values.
      log("INVALID DOOR ERROR - TELL QUORRAN HE FUCKED UP\n");
    }
    turns.push_back(turn);
    open_count = OpenCount(state);
  }

  log("done!\n");
  return turns;
}

void CVelmoraDlg::RandomizeDoors() {
  const Character character = SelectedCharacter();
  FillDoorTables(*this, character);
  RunDoorPass(*this, GameDoorPassRules(character),
              [this](std::string text) { AppendStatus(std::move(text)); });
}

}  // namespace velmora
