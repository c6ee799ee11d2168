// The JSON spoiler: everything a generation decided, for programs and for
// players who are stuck. Beside the cheat sheet's contents it holds the
// settings string, the placement hash, every option and the playthrough in
// spheres: which items a player can collect in which round, and where.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "app/GeneratorState.h"
#include "items/Spheres.h"

namespace velmora {

class CVelmoraDlg;

/// The round of the playthrough in which each slot is first entered, indexed
/// by slot; -1 for a slot never entered. `item_rounds` holds the items first
/// collected in each round. A slot is entered in the round after the last
/// round that the items its area needs were collected in (round 0 when it
/// needs nothing): the index-0 list all, and of the alternatives the one
/// collected soonest. The entry -1 needs nothing; an item in no round is
/// never collected.
std::vector<int> SlotRounds(const GeneratorState& state,
                            const std::vector<std::vector<int>>& item_rounds);

/// The playthrough of the generation `dialog` has just made, in spheres; none
/// for a Doors seed, whose items are placed without the progression rules.
std::optional<Spheres> PlaythroughSpheres(const CVelmoraDlg& dialog);

/// The spoiler of the generation `dialog` has just made, as JSON text (UTF-8,
/// indented, ending with a line break). `settings` is the settings string of
/// the generation.
std::string FormatSpoilerJson(const CVelmoraDlg& dialog, const std::string& settings);

}  // namespace velmora
