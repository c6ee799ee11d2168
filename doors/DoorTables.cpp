#include "doors/DoorTables.h"

#include <iterator>
#include <string>

namespace velmora {

static_assert(std::size(kDoorTable) == kDoorCount);
static_assert(std::size(kMultiDoorRooms) == 42);
static_assert(std::size(kSingleDoorRooms) == 37);

constexpr bool DoorsStandInNumberOrder() {
  for (size_t i = 0; i < std::size(kDoorTable); ++i)
    if (kDoorTable[i].door != static_cast<int>(i)) return false;
  return true;
}
static_assert(DoorsStandInNumberOrder(), "kDoorTable[n] must describe door n");

int VanillaPartner(int door) {
  if (door < 0 || door >= static_cast<int>(std::size(kDoorTable))) return -1;
  return kDoorTable[door].partner;
}

void FillDoorTables(GeneratorState& state, Character character) {
  for (std::string_view room : kMultiDoorRooms) state.m_multiDoorRooms.emplace_back(room);
  if (character == Character::kJill) {
    for (std::string_view room : kTeaRoomAndNorthernCorridor)
      state.m_multiDoorRooms.emplace_back(room);
  }
  for (std::string_view room : kSingleDoorRooms) state.m_singleDoorRooms.emplace_back(room);
  for (const DoorRow& row : kDoorTable)
    state.m_vanillaDoors[std::string(row.room)][row.door] = row.partner;
}

}  // namespace velmora
