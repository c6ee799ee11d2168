#include "items/ItemLoop.h"

#include <algorithm>
#include <string>
#include <thread>

#include "app/ControlIds.h"
#include "app/VelmoraDlg.h"
#include "items/AttemptIndex.h"
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

namespace {

// The fast search over the attempts of a loop from random state
// `loop_start`, with the log's marks, the progress reports and the chances
// to stop of the literal loop: the deciding attempt (the first passing one,
// or `limit` when none passes before), or 0 when the loop was asked to stop,
// with the count of the attempts made set.
uint64_t SearchWithMarks(CVelmoraDlg& dlg, const FastItemSearch& search, uint32_t loop_start,
                         uint64_t limit) {
  const int threads = dlg.m_searchThreads != 0
                          ? dlg.m_searchThreads
                          : static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
  // The search runs over spans of blocks, doubled while none passes, so that
  // the threads work long enough to be worth starting; the blocks of a span
  // are then logged one by one up to the deciding attempt, with the same
  // marks, reports and chances to stop as block by block.
  constexpr uint64_t kLongestSpan = 32;
  uint64_t span = 1;
  for (uint64_t first = 1; first <= limit;) {
    const uint64_t span_last = first - 1 + std::min(limit - (first - 1), span * kAttemptsPerMark);
    const uint64_t found = search.FindFirstPassing(loop_start, first, span_last, threads);
    for (uint64_t block = first; block <= span_last; block += kAttemptsPerMark) {
      if (block > 1) dlg.AppendStatus(" .");
      const uint64_t last = std::min(span_last, block + kAttemptsPerMark - 1);
      if (found != 0 && found <= last) return found;
      if (dlg.m_searchProgress) dlg.m_searchProgress(last);
      if (dlg.CancelRequested()) {
        dlg.m_itemAttempts = last;
        return 0;
      }
    }
    if (span_last == limit) break;
    first = span_last + 1;
    span = std::min(span * 2, kLongestSpan);
  }
  return limit;
}

}  // namespace

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
    // Find the deciding attempt (the passing one, or the last one the limit
    // allows) from the attempt index when the tables are the plain ones it
    // was made from, from m_findDecidingAttempt when it is set (the page
    // searches in its workers), and with the fast search otherwise; then
    // make that attempt the literal way, which leaves the placement, the
    // visiting list and the random state exactly as the loop leaves them.
    const Character character = SelectedCharacter();
    const Difficulty difficulty = SelectedDifficulty();
    const std::vector<int> pins = PinnedSlots(character, difficulty);
    const uint32_t loop_start = m_random.state();
    const uint64_t limit = m_itemAttemptLimit != 0 ? m_itemAttemptLimit : UINT64_MAX;
    const AttemptIndex* index =
        m_useAttemptIndex ? MatchingAttemptIndex(*this, pins, character, difficulty) : nullptr;
    uint64_t deciding = 0;
    if (index || m_findDecidingAttempt) {
      // The answer is there at once: the marks the loop makes up to the
      // deciding attempt go into the log in one piece.
      deciding = index ? std::min(index->FirstPassing(loop_start), limit)
                       : m_findDecidingAttempt(FastItemSearch(*this, pins), loop_start, limit);
      if (deciding == 0) return;
      std::string marks;
      for (uint64_t m = (deciding - 1) / kAttemptsPerMark; m > 0; --m) marks += " .";
      if (!marks.empty()) AppendStatus(std::move(marks));
    } else {
      deciding = SearchWithMarks(*this, FastItemSearch(*this, pins), loop_start, limit);
      if (deciding == 0) return;
    }
    m_random.set_state(LcgJump::For(uint64_t{kSlotCount} * (deciding - 1)).Apply(loop_start));
    ShuffleItems();
    CheckPlacement();
    attempts = deciding;
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
