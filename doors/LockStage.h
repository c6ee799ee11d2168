// The lock stage: deals the locks until a deal is accepted and builds the
// lock-mode area tables from it.
//
// A deal is accepted when it obeys the lock rules, when every pinned item can
// still be reached, and, when items are randomized, when the item stage finds
// a placement for it within a bounded number of attempts. Without the last
// two tests an unlucky deal would keep the item stage busy for ever.
#pragma once

#include <vector>

#include "app/GeneratorState.h"

namespace velmora {

class CVelmoraDlg;

/// The pinned items (ascending) that cannot be reached when every item other
/// than the pinned ones is obtainable: a pinned item becomes obtainable once
/// the area of its slot is open under the items obtainable so far, until
/// nothing changes. An area is open when every entry of its index-0 list is -1
/// or obtainable and, when it has alternatives (indices 1, 2, ... up to the
/// first missing or empty one), every entry of one of them is. Ids outside
/// 0..184 (the -99 marker) are never obtainable, and a slot outside
/// `slot_area` has no open area.
std::vector<int> UnreachablePinnedItems(const AreaRequirements& requirements,
                                        const std::vector<int>& slot_area,
                                        const std::vector<int>& pinned);

/// Tries the deal in m_lockTypes out: builds its lock gates, the "Fuse Unit"
/// forbidden list and the area requirements (logging their error lines), then
/// runs the enemy stage when "Enemies" is checked and the item stage with at
/// most m_lockDealAttemptBound attempts. Everything is logged into a held-back
/// log. When the items were placed, keeps the result and appends the held
/// lines in one piece. Otherwise puts back the generator state as it was
/// before the trial, random source included, and drops the held lines.
class LockTrial {
 public:
  /// True when the deal was kept.
  static bool Run(CVelmoraDlg& dialog);
};

/// Builds the lock gates, the forbidden list of item 183 and the area
/// requirements of the deal in m_lockTypes into the dialog's state, logging
/// error lines through the dialog.
void BuildLockTables(CVelmoraDlg& dialog);

/// Whether every pinned item of the selected character and difficulty can be
/// reached under the deal in m_lockTypes; logs nothing.
bool LockDealCanBeFinished(CVelmoraDlg& dialog);

}  // namespace velmora
