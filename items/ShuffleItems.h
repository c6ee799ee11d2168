// The item randomizer's retry loop: deal, check, and deal again until a
// placement passes. The operations themselves are members of CVelmoraDlg.
#pragma once

#include <cstdint>

namespace velmora {

/// Whether the retry loop appends a " ." mark to the log before its next
/// attempt: once more than 10,000 attempts have been made since the loop
/// began or since the last mark. The count restarts at 0 after each mark, so
/// marks come before attempts 10,002, 20,003, 30,004, ...
constexpr bool ProgressDotDue(uint64_t attempts_since_last_dot) {
  return attempts_since_last_dot > 10000;
}

}  // namespace velmora
