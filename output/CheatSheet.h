// The cheat sheet: the human-readable spoiler of one generation, written next
// to the item list. No program reads it back.
#pragma once

#include <string>
#include <vector>

#include "app/GeneratorState.h"
#include "catalogue/Selection.h"

namespace velmora {

/// "CheatSheetJillNormal.txt" and its three siblings.
std::string CheatSheetFileName(Character character, Difficulty difficulty);

/// What the cheat sheet needs beyond the generator state: the options of the
/// generation and the lock lookups already made for it.
struct CheatSheetOptions {
  Character character = Character::kJill;
  Difficulty difficulty = Difficulty::kNormal;
  bool enemies = false;
  bool doors = false;
  bool locks = false;
  /// The name of the lock type dealt to each lock position, position 0 first.
  std::vector<std::string> lock_type_names;
  /// With locks: the keys of the lock on the endgame door (lock position 36),
  /// empty when that lock needs none. Without locks it is not read.
  std::vector<int> endgame_lock_keys;
};

/// The file's bytes: header, item lines room by room, and as the options say
/// the enemy, door and lock sections and the Path to Victory; every line ends
/// CR LF.
std::string FormatCheatSheet(const GeneratorState& state, const CheatSheetOptions& options);

/// The room heading under which the cheat sheet lists each slot's line,
/// indexed by slot (a moved slot of Jill's under the heading it is moved to);
/// a slot whose line is hidden gets the heading its line would stand under.
std::vector<std::string> SlotRoomHeadings(Character character, Difficulty difficulty);

}  // namespace velmora
