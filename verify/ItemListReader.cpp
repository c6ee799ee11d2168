#include "verify/ItemListReader.h"

#include <algorithm>
#include <cstdint>

#include "app/GeneratorState.h"
#include "doors/DoorTables.h"
#include "doors/LockPositions.h"
#include "enemies/EnemyPositions.h"

namespace velmora {
namespace {

constexpr int kItemLines = kSlotCount;
constexpr int kEnemyLines = kEnemyPositionCount;
constexpr int kDoorLines = kDoorCount;
constexpr int kLockLines = kLockPositionCount;
constexpr size_t kQuotedLength = 40;

constexpr std::string_view kEnemyMarker = "ENEMYRANDODATA";
constexpr std::string_view kDoorMarker = "DOORRANDODATA";
constexpr std::string_view kLockMarker = "LOCKRANDODATA";

/// What one line of the file must hold.
struct LineRule {
  std::string_view marker;  ///< the marker, or empty for a number
  int low = 0, high = 0;    ///< the range of a number
  bool minus_one = false;   ///< whether -1 ("off") is allowed besides the range
  std::string_view what;    ///< what the number is, for messages
};

LineRule RuleForLine(int line) {
  if (line < kEnemyMarkerLine) return {{}, 0, 186, false, "an item id"};
  if (line == kEnemyMarkerLine) return {kEnemyMarker, 0, 0, false, "a marker"};
  if (line < kDoorMarkerLine) return {{}, 1, 12, true, "an enemy kind"};
  if (line == kDoorMarkerLine) return {kDoorMarker, 0, 0, false, "a marker"};
  if (line < kLockMarkerLine) return {{}, 0, 263, true, "a door value"};
  if (line == kLockMarkerLine) return {kLockMarker, 0, 0, false, "a marker"};
  return {{}, 0, 15, false, "a lock type"};
}

bool Allows(const LineRule& rule, int value) {
  return (value >= rule.low && value <= rule.high) || (rule.minus_one && value == -1);
}

std::string RangeText(const LineRule& rule) {
  return std::string(rule.minus_one ? "-1 or " : "") + std::to_string(rule.low) + " to " +
         std::to_string(rule.high);
}

std::string Quote(std::string_view text) {
  std::string quoted = "\"";
  quoted += QuoteForMessage(text);
  quoted += '"';
  return quoted;
}

/// The value of a plain decimal number: digits with an optional leading
/// "-", no leading zeros, no "-0". Nothing for anything else, or for a value
/// beyond a few digits (no line holds more than three).
std::optional<int> ParseNumber(std::string_view text) {
  const bool negative = !text.empty() && text[0] == '-';
  const std::string_view digits = negative ? text.substr(1) : text;
  if (digits.empty() || digits.size() > 9) return std::nullopt;
  if (!std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
    return std::nullopt;
  if (digits.size() > 1 && digits[0] == '0') return std::nullopt;
  if (negative && digits == "0") return std::nullopt;
  int value = 0;
  for (char c : digits) value = value * 10 + (c - '0');
  return negative ? -value : value;
}

ItemListReadResult Problem(int line, std::string message) {
  ItemListReadResult result;
  result.problem = ItemListProblem{line, std::move(message)};
  return result;
}

// Checks that a section is all -1 or holds no -1 at all.
std::optional<ItemListProblem> MixedSection(const std::vector<int>& values, int first_line,
                                            std::string_view section) {
  const bool first_off = values.front() == -1;
  for (size_t i = 1; i < values.size(); ++i) {
    if ((values[i] == -1) != first_off) {
      return ItemListProblem{
          first_line + static_cast<int>(i),
          "found " + std::to_string(values[i]) + " after " + std::to_string(values.front()) +
              " on line " + std::to_string(first_line) + "; the " + std::string(section) +
              " section is either all -1 or holds no -1"};
    }
  }
  return std::nullopt;
}

}  // namespace

bool ItemListContents::enemies_randomized() const {
  return std::any_of(enemies.begin(), enemies.end(), [](int kind) { return kind != -1; });
}

bool ItemListContents::doors_randomized() const {
  return std::any_of(doors.begin(), doors.end(), [](int value) { return value != -1; });
}

std::string QuoteForMessage(std::string_view text) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string quoted;
  for (size_t i = 0; i < text.size() && i < kQuotedLength; ++i) {
    const auto byte = static_cast<unsigned char>(text[i]);
    if (byte >= 0x20 && byte < 0x7F && byte != '\\' && byte != '"') {
      quoted += static_cast<char>(byte);
    } else {
      quoted += "\\x";
      quoted += kHex[byte >> 4];
      quoted += kHex[byte & 15];
    }
  }
  if (text.size() > kQuotedLength) quoted += "...";
  return quoted;
}

ItemListReadResult ReadItemList(std::string_view bytes) {
  if (bytes.empty()) return Problem(1, "the file is empty; expected 504 or 543 lines");
  if (bytes.size() > kMaxItemListBytes)
    return Problem(0, "the file has more than " + std::to_string(kMaxItemListBytes) +
                          " bytes; an item list has about 2 to 3 thousand");

  ItemListContents contents;
  size_t at = 0;
  int line = 0;
  while (at < bytes.size()) {
    ++line;
    const size_t end = bytes.find('\n', at);
    if (end == std::string_view::npos)
      return Problem(line, "the line does not end in CR LF (the file ends without a line end)");
    if (end == at || bytes[end - 1] != '\r')
      return Problem(line, "the line ends in LF alone; every line ends in CR LF");
    const std::string_view text = bytes.substr(at, end - 1 - at);
    at = end + 1;
    if (text.find('\r') != std::string_view::npos)
      return Problem(line, "a CR stands inside the line " + Quote(text) +
                               "; CR belongs only before the LF that ends it");

    if (line > kLinesWithLocks)
      return Problem(line, "found " + Quote(text) + " after the 38 lock lines; nothing follows them");
    const LineRule rule = RuleForLine(line);
    if (!rule.marker.empty()) {
      if (text != rule.marker) {
        const std::string after_doors =
            line == kLockMarkerLine ? " or the end of the file after the door lines" : "";
        return Problem(line, "expected " + Quote(rule.marker) + after_doors + ", found " +
                                 Quote(text));
      }
      if (line == kLockMarkerLine) contents.has_lock_section = true;
      continue;
    }
    const std::optional<int> value = ParseNumber(text);
    if (!value)
      return Problem(line, "expected " + std::string(rule.what) + " in plain decimal, found " +
                               (text.empty() ? std::string("an empty line") : Quote(text)));
    if (!Allows(rule, *value))
      return Problem(line, "expected " + std::string(rule.what) + ", " + RangeText(rule) +
                               ", found " + std::to_string(*value));
    if (line < kEnemyMarkerLine)
      contents.items.push_back(*value);
    else if (line < kDoorMarkerLine)
      contents.enemies.push_back(*value);
    else if (line < kLockMarkerLine)
      contents.doors.push_back(*value);
    else
      contents.locks.push_back(*value);
  }

  if (line != kLinesWithoutLocks && line < kLinesWithLocks) {
    const int missing = line + 1;
    const LineRule rule = RuleForLine(missing);
    const std::string expected =
        rule.marker.empty() ? std::string(rule.what) : Quote(rule.marker);
    return Problem(missing, "the file ends after " + std::to_string(line) +
                                " lines; expected " + expected + " here (an item list has " +
                                std::to_string(kLinesWithoutLocks) + " lines, or " +
                                std::to_string(kLinesWithLocks) + " with locks)");
  }
  if (std::optional<ItemListProblem> mixed =
          MixedSection(contents.enemies, kFirstEnemyLine, "enemy")) {
    ItemListReadResult result;
    result.problem = std::move(mixed);
    return result;
  }

  static_assert(kEnemyMarkerLine == kFirstItemLine + kItemLines);
  static_assert(kDoorMarkerLine == kFirstEnemyLine + kEnemyLines);
  static_assert(kLockMarkerLine == kFirstDoorLine + kDoorLines);
  static_assert(kLinesWithLocks == kFirstLockLine + kLockLines - 1);
  ItemListReadResult result;
  result.contents = std::move(contents);
  return result;
}

}  // namespace velmora
