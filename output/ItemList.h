// The item-list file: the seed as the companion program reads it.
#pragma once

#include <string>

#include "app/GeneratorState.h"
#include "catalogue/Selection.h"

namespace velmora {

/// "ItemListJillNormal.txt" and its three siblings.
std::string ItemListFileName(Character character, Difficulty difficulty);

/// The file's bytes: 185 item ids, "ENEMYRANDODATA" and 53 kinds,
/// "DOORRANDODATA" and 264 door values, and with locks "LOCKRANDODATA" and
/// 38 lock types; -1 where an option is off; every line ends CR LF.
std::string FormatItemList(const GeneratorState& state, bool enemies, bool doors, bool locks);

}  // namespace velmora
