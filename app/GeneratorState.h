// The generator state that every stage of a generation shares: filled once by
// one generation, read by the later stages and the writers.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "app/Random.h"
#include "app/Version.h"

namespace velmora {

/// Area -> requirement index -> item ids. Index 0 lists items that are all
/// needed; indices 1, 2, ... are alternatives of which one must be wholly
/// available. -1 stands for no item.
using AreaRequirements = std::map<int, std::map<int, std::vector<int>>>;
/// Room name -> door number -> partner door or door result value.
using RoomDoorTable = std::map<std::string, std::map<int, int>>;

struct GeneratorState {
  std::vector<int> m_placement;  ///< item id placed at each slot
  bool m_placementValid = false;
  std::map<std::string, std::vector<int>> m_enemyPositions;
  RoomDoorTable m_vanillaDoors;
  RoomDoorTable m_openDoors;
  std::vector<std::string> m_multiDoorRooms;
  std::vector<std::string> m_singleDoorRooms;
  std::vector<std::string> m_reachedRooms;
  RoomDoorTable m_roomDoors;
  std::vector<int> m_slotArea;
  std::map<int, std::vector<int>> m_itemForbiddenAreas;
  AreaRequirements m_areaRequirements;
  std::vector<int> m_visiting;
  std::vector<std::string> m_itemNames;
  std::string m_versionText = "Version " + std::string(kVersion);
  std::vector<int> m_lockTypes;
  std::map<int, int> m_lockPool;
  std::map<int, std::vector<int>> m_lockGates;
  std::vector<int> m_doorModeSlots;

  /// The one random source of the generation.
  CrtRandom m_random;
};

inline constexpr int kSlotCount = 185;
inline constexpr int kItemCount = 187;

}  // namespace velmora
