// Set-up shared by the door and lock tests.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "app/DialogFixture_test.h"
#include "doors/LockPositions.h"
#include "doors/LockStage.h"

namespace velmora::doors_test {

/// The line the lock tables log when an area's way in needs the error marker.
inline const std::string kErrorLine = "-99 ERROR, TELL QUORRAN AND RELAUNCH SEED GENERATOR";

/// A deal that breaks no lock rule: 15 at positions 2, 10 and 28, so that
/// positions 15 and 10 have an open partner. The open door at position 2
/// opens gate 76 while gate 86 stays closed, so area 86 asks for the keys of
/// position 2 and gets the error marker in one alternative.
inline constexpr LockDeal kOpenTwoDeal = {5, 0, 15, 5,  6, 4,  6, 0, 14, 14, 15, 6, 4,
                                          0, 14, 14, 5, 0, 2,  8, 6, 0,  6,  0,  0, 5,
                                          6, 4,  15, 13, 6, 11, 3, 4, 12, 1,  10, 10};

/// Puts the game's unshuffled locks into the pool the deal draws from.
inline void FillUnshuffledPool(CVelmoraDlg& dlg) {
  dlg.m_lockPool.clear();
  for (int p = 0; p < kLockPositionCount; ++p) dlg.m_lockPool[p] = kUnshuffledLockTypes[p];
}

/// Deals the game's locks from `seed` until the lock rules and the pins
/// accept a deal, and builds the item loop's tables of that deal.
inline void DealAcceptedLocks(CVelmoraDlg& dlg, uint32_t seed) {
  FillUnshuffledPool(dlg);
  dlg.m_random.Seed(seed);
  do dlg.ShuffleLocks();
  while (!dlg.LocksAreValid() || !LockDealCanBeFinished(dlg));
  dlg.m_lockGates.clear();
  dlg.m_itemForbiddenAreas.clear();
  BuildLockTables(dlg);
}

/// The first seed whose draws reduced by `moduli` satisfy `wanted`.
inline uint32_t FindSeed(const std::vector<int>& moduli,
                         const std::function<bool(const std::vector<int>&)>& wanted) {
  for (uint32_t seed = 1;; ++seed) {
    CrtRandom random;
    random.Seed(seed);
    std::vector<int> draws;
    for (int m : moduli) draws.push_back(random.Draw(m));
    if (wanted(draws)) return seed;
  }
}

}  // namespace velmora::doors_test
