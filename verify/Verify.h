// `velmora verify FILE`: reads an item-list file and says whether it is a
// sound seed.
#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/Selection.h"
#include "verify/ItemListReader.h"

namespace velmora {

/// Exit statuses of `velmora verify`.
inline constexpr int kVerifySound = 0;
inline constexpr int kVerifyUnsound = 1;    ///< well-formed, but not a seed that works
inline constexpr int kVerifyMalformed = 2;  ///< not in the item-list form, or bad arguments

struct VerifyResult {
  int status = kVerifyMalformed;
  /// The first problem, when the status is not kVerifySound.
  std::optional<ItemListProblem> problem;
  /// When sound: the placement hash and a one-line summary of the seed.
  std::string hash;
  std::string summary;
};

/// Judges the bytes of an item list for `character` and `difficulty`: first
/// its form (ReadItemList), then its sense (CheckSeedSense). Never throws.
VerifyResult VerifyItemList(std::string_view bytes, Character character, Difficulty difficulty);

/// The character and difficulty an item-list file name tells: the base name
/// starts "ItemList", then "Jill" or "Chris", then "Normal" or "Hard".
struct NamedSelection {
  std::optional<Character> character;
  std::optional<Difficulty> difficulty;
};
NamedSelection SelectionFromFileName(std::string_view path);

/// Runs `velmora verify` with `args`, the words after "verify": the file and
/// optionally --character jill|chris and --difficulty normal|hard, which
/// override what the file name says. On a sound seed prints "ok", "hash ..."
/// and a summary on `out`; otherwise the first problem as FILE:LINE: ... on
/// `err`. Returns the exit status.
int RunVerify(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace velmora
