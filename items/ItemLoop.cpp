#include "items/ItemLoop.h"

#include <algorithm>
#include <string>
#include <thread>

#include "app/ControlIds.h"
#include "app/VelmoraDlg.h"
#include "items/FastItemSearch.h"
#include "items/Pins.h"

namespace velmora {

uint64_t RunLiteralItemLoop(CVelmoraDlg& dlg, uint64_t attempts, uint64_t since_mark,
                            uint64_t limit) {
  while (!dlg.m_placementValid) {
    if (limit != 0 && attempts >= limit) break;
    if (ProgressDotDue(since_mark)) {
      if (dlg.CancelRequested()) break;
      dlg.AppendStatus(" .");
      since_mark = 0;
    }
    dlg.ShuffleItems();
    dlg.CheckPlacement();
    ++attempts;
    ++since_mark;
  }
  return attempts;
}

void CVelmoraDlg::RandomizeItems() {
  m_itemAttempts = 0;
  if (IsChecked(kIdDoors)) {
    AppendStatus("Doing custom item rando for door rando mode . . .");
    PlaceItemsForDoorMode();
    AppendStatus("done!\n");
    return;
  }

  AppendStatus("Randomizing Items. . .");
  uint64_t attempts = 0;
  if (!m_placementValid && m_visiting.empty()) {
    // Judge the attempts a block of marks at a time with the fast search,
    // so the log shows the marks as the loop goes on, then make the deciding
    // attempt (the passing one, or the last one the limit allows) the
    // literal way, which leaves the placement, the visiting list and the
    // random state exactly as the loop leaves them.
    const FastItemSearch search(*this, PinnedSlots(SelectedCharacter(), SelectedDifficulty()));
    const uint32_t loop_start = m_random.state();
    const uint64_t limit = m_itemAttemptLimit != 0 ? m_itemAttemptLimit : UINT64_MAX;
    const int threads = m_searchThreads != 0
                            ? m_searchThreads
                            : static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    uint64_t deciding = 0;
    for (uint64_t first = 1; first <= limit; first += kAttemptsPerMark) {
      if (first > 1) AppendStatus(" .");
      const uint64_t last = std::min(limit, first + kAttemptsPerMark - 1);
      deciding = search.FindFirstPassing(loop_start, first, last, threads);
      if (deciding != 0) break;
      deciding = last;
      if (m_searchProgress) m_searchProgress(last);
      if (CancelRequested()) {
        m_itemAttempts = last;
        return;
      }
    }
    if (deciding != 0) {
      m_random.set_state(LcgJump::For(uint64_t{kSlotCount} * (deciding - 1)).Apply(loop_start));
      ShuffleItems();
      CheckPlacement();
      attempts = deciding;
    }
  }
  // The literal loop takes over where the fast search cannot be used (a
  // visiting list left from before) and goes on from the deciding attempt
  // should the two ever disagree.
  const uint64_t since_mark = attempts == 0 ? 0 : (attempts - 1) % kAttemptsPerMark + 1;
  attempts = RunLiteralItemLoop(*this, attempts, since_mark, m_itemAttemptLimit);
  m_itemAttempts = attempts;
  if (!m_placementValid) return;
  AppendStatus("done after " + std::to_string(attempts) + " attempts!\n");
}

}  // namespace velmora
