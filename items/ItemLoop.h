// The item randomizer's retry loop: deal, check, and deal again until a
// placement passes. The operations themselves are members of CVelmoraDlg.
#pragma once

#include <cstdint>

namespace velmora {

class CVelmoraDlg;

/// Attempts between two " ." marks of the log: a mark comes before attempts
/// 10,002, 20,003, 30,004, ...
inline constexpr uint64_t kAttemptsPerMark = 10001;

/// Whether the retry loop appends a " ." mark to the log before its next
/// attempt: once more than 10,000 attempts have been made since the loop
/// began or since the last mark.
constexpr bool ProgressDotDue(uint64_t attempts_since_last_dot) {
  return attempts_since_last_dot > 10000;
}

/// The loop as written, one literal deal and check per attempt, going on
/// from `attempts` attempts of which `since_mark` came after the last mark.
/// Stops at `limit` attempts (0: never). Returns the attempts made in all.
/// The fast search must agree with it attempt for attempt.
uint64_t RunLiteralItemLoop(CVelmoraDlg& dlg, uint64_t attempts, uint64_t since_mark,
                            uint64_t limit);

}  // namespace velmora
