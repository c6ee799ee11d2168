// Reads an item-list file back: its form, line by line, into its sections.
//
// The form is the one the generator writes: 185 item ids, "ENEMYRANDODATA"
// and 53 enemy kinds, "DOORRANDODATA" and 264 door values, and optionally
// "LOCKRANDODATA" and 38 lock types; each line a plain decimal number or a
// marker, ending in CR LF, the last one included, nothing after it.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velmora {

/// A problem found in an item list, with the line it was found on.
struct ItemListProblem {
  /// 1-based line number; 0 when the problem belongs to no single line.
  int line = 0;
  /// What was found and what was expected, on one line.
  std::string message;
};

/// The sections of an item list, with every value in its range.
struct ItemListContents {
  std::vector<int> items;    ///< 185 item ids, 0..186, by slot
  std::vector<int> enemies;  ///< 53 kinds 1..12, or 53 times -1
  std::vector<int> doors;    ///< 264 door values -1..263, by door number
  std::vector<int> locks;    ///< 38 lock types 0..15; empty without a lock section
  bool has_lock_section = false;

  /// True unless every enemy line is -1.
  bool enemies_randomized() const;
  /// True unless every door line is -1.
  bool doors_randomized() const;
};

/// The line of each part of the file.
inline constexpr int kFirstItemLine = 1;
inline constexpr int kEnemyMarkerLine = 186;
inline constexpr int kFirstEnemyLine = 187;
inline constexpr int kDoorMarkerLine = 240;
inline constexpr int kFirstDoorLine = 241;
inline constexpr int kLockMarkerLine = 505;
inline constexpr int kFirstLockLine = 506;
inline constexpr int kLinesWithoutLocks = 504;
inline constexpr int kLinesWithLocks = 543;

/// Files longer than this are refused without being read further.
inline constexpr size_t kMaxItemListBytes = 64 * 1024;

/// The sections of an item list, or the first problem of its form.
struct ItemListReadResult {
  std::optional<ItemListContents> contents;
  std::optional<ItemListProblem> problem;
};

/// Reads `bytes` as an item list. Never throws; any input gives either the
/// sections or the first problem, in file order.
ItemListReadResult ReadItemList(std::string_view bytes);

/// `text` quoted for a message: at most 40 characters, bytes outside
/// printable ASCII written as \xNN.
std::string QuoteForMessage(std::string_view text);

}  // namespace velmora
