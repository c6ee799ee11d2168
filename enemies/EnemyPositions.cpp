#include "enemies/EnemyPositions.h"

#include <string>
#include <vector>

#include "app/VelmoraDlg.h"

namespace velmora {
namespace {

constexpr EnemyPositionRow kEnemyPositions[] = {
    {"Aqua Ring Walkway", {1, 5, 6, 7, 9, 10, 12}},
    {"Art Room", {1, 3, 5, 6, 7, 8, 9, 12}},
    {"Attic", {1, 3, 4, 5, 6, 7, 8, 9, 10, 12}},
    {"Attic Entry", {1, 2, 4, 5, 6, 8, 9, 10, 12}},
    {"Bathroom / Winding Corridor", {1, 2, 4, 5, 6, 7, 8, 10, 12}},
    {"Boulder Passage 1", {1, 2, 4, 6, 8, 9, 12}},
    {"C Corridor", {1, 4, 5, 6, 7, 8, 9, 10, 12}},
    {"Concrete Passage 1", {2, 5, 6, 8, 9, 10, 12}},
    {"Concrete Passage 2", {1, 2, 4, 5, 6, 8, 9, 10, 12}},
    {"Crypt / Graveyard", {1, 5, 6, 8, 9, 12}},
    {"Dark Corridor", {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 12}},
    {"Dining Room", {1, 2, 4, 6, 8}},
    {"Dining Room 2F", {1, 3, 4, 5, 6, 7, 8, 9, 10, 12}},
    {"East Wing Stairway", {1, 4, 5, 6, 8, 9, 10, 12}},
    {"Elevator Corridor", {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 12}},
    {"Elevator Entry", {1, 3, 4, 5, 6, 8, 9, 10, 12}},
    {"Enrico Room", {1, 2, 4, 6, 8, 9, 12}},
    {"Entry Corridor", {2, 3, 5, 7, 10}},
    {"Forest Pathway", {1, 3, 4, 5, 6, 7, 8, 9, 10, 12}},
    {"Forked Passage", {1, 4, 5, 6, 8, 9, 10, 12}},
    {"Jessica's Tomb", {1, 2, 4, 5, 6, 7, 8, 9, 10, 12}},
    {"Kitchen", {1, 5, 6, 7, 8, 9, 10, 12}},
    {"L Corridor", {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 12}},
    {"Laboratory Stairway", {3, 5, 6, 7, 9, 10, 12}},
    {"Large Gallery", {2, 4, 7, 8, 9}},
    {"Library", {1, 2, 6, 7, 8, 9, 12}},
    {"Main Garden", {1, 3, 4, 5, 6, 7, 8, 9, 10, 12}},
    {"Main Hall", {1, 3, 4, 5, 10, 12}},
    {"Main Laboratory", {1, 2, 4, 5, 6, 8, 9, 10}},
    {"Mirror Corridor", {1, 2, 4, 5, 6, 8, 10, 12}},
    {"Mirror Room", {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 12}},
    {"O Room", {1, 3, 4, 5, 6, 7, 8, 9, 10, 12}},
    {"Outside Boiler", {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 12}},
    {"Outside Patio", {1, 3, 4, 5, 6, 8, 9, 10, 12}},
    {"Pillar Room", {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 12}},
    {"Power Control Room", {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 12}},
    {"Power Maze A", {2, 3, 4, 6, 8, 9, 10, 12}},
    {"Power Maze B", {2, 8, 9, 10, 12}},
    {"Researcher's Bedroom", {1, 2, 3, 5, 6, 10, 12}},
    {"Roofed Passage", {2, 3, 4, 5, 6, 7, 8, 10, 12}},
    {"Room 001", {1, 2, 4, 5, 6, 8, 9, 12}},
    {"Room 001 Bathroom", {1, 2, 3, 4, 5, 6, 8, 9, 10, 12}},
    {"Room 002", {1, 2, 4, 5, 6, 8, 9, 10, 12}},
    {"Room 002 Bathroom", {1, 2, 3, 5, 6, 7, 9, 12}},
    {"Small Dining Room", {1, 2, 4, 5, 6, 8, 9, 12}},
    {"Small Library", {1}},
    {"Surgeon's Room / Morgue", {1, 2, 8, 9, 10}},
    {"Tea Room / Northern Corridor", {1, 3, 4, 5, 6, 7, 8, 9, 10, 12}},
    {"Tiger Statue Room", {1, 2, 4, 5, 6, 8, 9, 12}},
    {"West Wing Inner Stairway", {1, 3, 4, 5, 6, 8, 9, 10, 12}},
    {"West Wing Outer Stairway", {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 12}},
    {"Winding Underground Passage", {1, 3, 4, 5, 6, 7, 8, 9, 10, 12}},
    {"X-Ray Room B", {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 12}},
};

constexpr std::string_view kEnemyKindNames[] = {
    "HUNTERS", "CHIMERAS", "TYRANTS", "DOGS",        "SHARKS",      "ZOMBIES",
    "YAWNS",   "SPIDERS",  "BEES",    "LISA",        "SLOW TYRANT", "ELDER CRIMSON HEAD",
};

}  // namespace

static_assert(std::size(kEnemyPositions) == kEnemyPositionCount);

std::span<const EnemyPositionRow> EnemyPositionTable() { return kEnemyPositions; }

std::string_view EnemyKindName(EnemyKind kind) {
  if (kind < 1 || kind > static_cast<int>(std::size(kEnemyKindNames))) return {};
  return kEnemyKindNames[kind - 1];
}

void CVelmoraDlg::FillEnemyPositions() {
  for (const EnemyPositionRow& row : kEnemyPositions) {
    std::span<const EnemyKind> kinds = row.allowed.kinds();
    m_enemyPositions[std::string(row.name)] = std::vector<int>(kinds.begin(), kinds.end());
  }
}

}  // namespace velmora
