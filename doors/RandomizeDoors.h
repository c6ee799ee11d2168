// The door pass over plain data: grows a connected map from the start rooms
// by joining an open door of a reached room to a door of a room not yet
// placed, multi-door rooms first, then single-door rooms, and finally pairs
// the doors left open among the reached rooms. CVelmoraDlg::RandomizeDoors
// runs it on the game's tables; tests run it on small tables of their own.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/GeneratorState.h"
#include "catalogue/Selection.h"

namespace velmora {

struct RoomDoor {
  std::string room;
  int door = -1;
  friend bool operator==(const RoomDoor&, const RoomDoor&) = default;
};

/// What the pass needs besides m_vanillaDoors and the two room lists.
struct DoorPassRules {
  struct FixedDoor {
    RoomDoor where;
    int value;
    bool out_of_play;  ///< erased from the open doors at the start
  };

  /// m_reachedRooms at the start, in this order.
  std::vector<std::string> start_rooms;
  std::vector<FixedDoor> fixed_doors;
  /// Taken out of play at the start and returned, with its game partner, at
  /// the first pairing turn, so that it is never joined to a newly placed
  /// room.
  std::optional<RoomDoor> held_back_door;
  /// Two rooms that fixed doors join: a turn that touches one of them
  /// reaches the other too, and takes it off the multi-door list.
  std::optional<std::pair<std::string, std::string>> joined_rooms;
  /// Appended to the single-door list when one single-door room is left and
  /// the open count is odd, so that the pairing can end at zero.
  std::string spare_single_door_room;
};

/// The rules of the game's door pass for `character`.
DoorPassRules GameDoorPassRules(Character character);

enum class DoorTurnKind { kParityGuard, kMultiDoorRoom, kSingleDoorRoom, kPairing };

/// One turn of the pass, as it happened.
struct DoorTurn {
  DoorTurnKind kind;
  /// The open count before the turn.
  int open_count = 0;
  RoomDoor a;
  /// Room B always; its door is -1 when the room had no open door.
  RoomDoor b;
  /// False when the doors could not be looked up and nothing was connected.
  bool connected = false;
};

/// The open doors of the reached rooms, room by room in m_reachedRooms order
/// and by ascending door number within a room.
std::vector<RoomDoor> OpenDoorEnumeration(const GeneratorState& state);

/// Setup of the pass on filled tables: copies m_vanillaDoors into
/// m_openDoors and m_roomDoors, sets the start rooms and applies the fixed
/// doors.
void PrepareDoorPass(GeneratorState& state, const DoorPassRules& rules);

/// The whole pass on filled m_vanillaDoors, m_multiDoorRooms and
/// m_singleDoorRooms, drawing from state.m_random and writing its log lines
/// through `log`. Leaves the result in m_roomDoors and returns the turns.
std::vector<DoorTurn> RunDoorPass(GeneratorState& state, const DoorPassRules& rules,
                                  const std::function<void(std::string)>& log);

}  // namespace velmora
