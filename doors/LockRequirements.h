// The lock-mode area requirements: what each area needs, derived from a lock
// deal and its lock gates.
#pragma once

#include <map>
#include <vector>

#include "app/GeneratorState.h"
#include "catalogue/LockTypes.h"
#include "catalogue/Selection.h"
#include "doors/LockPositions.h"

namespace velmora {

/// Area -> its lock gate: {69} (or 69 first) when the way in is open, -1 first
/// when no rule opened it, else the key items of the lock on the way in
/// (possibly followed by -1).
using LockGates = std::map<int, std::vector<int>>;

inline constexpr int kOpenGate = 69;

/// The lock gates of `deal` for `character`. Key lists come from LockKeys,
/// which sends its error line to `log` for a type without keys.
LockGates BuildLockGates(const LockDeal& deal, Character character, const LogSink& log);

/// The area requirements of `deal`, given its gates (built by BuildLockGates
/// or by hand). May open gate 86 in `gates`. Error lines of key requests on
/// types without keys go to `log`, once per request, and the request adds
/// kNoKeysMarker to its list.
AreaRequirements DeriveLockRequirements(const LockDeal& deal, LockGates& gates,
                                        Character character, const LogSink& log);

}  // namespace velmora
