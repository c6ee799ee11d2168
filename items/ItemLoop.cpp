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
    // Judge the attempts with the fast search, block of marks by block,
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
    // The search runs over spans of blocks, doubled while none passes, so
    // that the threads work long enough to be worth starting; the blocks of
    // a span are then logged one by one up to the deciding attempt, with
    // the same marks, reports and chances to stop as block by block.
    constexpr uint64_t kLongestSpan = 32;
    uint64_t deciding = 0;
    uint64_t span = 1;
    for (uint64_t first = 1; first <= limit && deciding == 0;) {
      const uint64_t span_last = first - 1 + std::min(limit - (first - 1), span * kAttemptsPerMark);
      const uint64_t found = search.FindFirstPassing(loop_start, first, span_last, threads);
      for (uint64_t block = first; block <= span_last; block += kAttemptsPerMark) {
        if (block > 1) AppendStatus(" .");
        const uint64_t last = std::min(span_last, block + kAttemptsPerMark - 1);
        if (found != 0 && found <= last) {
          deciding = found;
          break;
        }
        if (m_searchProgress) m_searchProgress(last);
        if (CancelRequested()) {
          m_itemAttempts = last;
          return;
        }
      }
      if (deciding == 0 && span_last == limit) deciding = limit;
      first = span_last + 1;
      span = std::min(span * 2, kLongestSpan);
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
