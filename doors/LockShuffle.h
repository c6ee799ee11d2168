// The rules a lock deal must obey: one-way and open doors at certain
// positions must leave every part of the game enterable.
#pragma once

#include <vector>

#include "doors/LockPositions.h"

namespace velmora {

/// The numbers (1..9, ascending) of the rules that `deal` breaks; empty when
/// the deal is acceptable.
std::vector<int> BrokenLockRules(const LockDeal& deal);

/// `types` as a deal; positions missing from it count as lock type 0.
LockDeal ToLockDeal(const std::vector<int>& types);

}  // namespace velmora
