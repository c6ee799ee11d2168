// The area tables: in which area each item slot lies, in which areas an item
// may never lie, and which items open each area.
//
// Areas come in two numberings: the plain one (0..40) when every lock stays
// in its place, and the lock-mode one (69..124) when locks are dealt anew.
#pragma once

#include <map>
#include <vector>

#include "app/GeneratorState.h"
#include "catalogue/Selection.h"

namespace velmora {

/// The area of each of the 185 slots, indexed by slot, in the plain or the
/// lock-mode numbering.
std::vector<int> SlotAreas(Character character, bool lock_mode);

/// Item id -> the plain areas in which the item may not lie. Items without an
/// entry may lie anywhere.
std::map<int, std::vector<int>> PlainForbiddenAreas(Character character);

/// The fixed item requirements of the plain areas; areas without an entry
/// need nothing.
AreaRequirements PlainAreaRequirements(Character character);

/// The only forbidden-area list of lock mode, that of the "Fuse Unit"
/// (item 183): every lock-mode area 69..124 in ascending order except 73,
/// 115 and 123.
std::vector<int> LockModeFuseForbiddenAreas();

/// The "Fuse Unit", the one item with a forbidden-area list in lock mode.
inline constexpr int kFuseUnit = 183;

}  // namespace velmora
