// Mystery seeds: the options themselves drawn at random from a weights file,
// so that nobody can prepare for them.
//
// The weights file is a JSON object. Each option of the dialog, named as the
// command line names it, maps its choices to relative weights (non-negative
// numbers; a choice left out weighs 0): "character" {"jill", "chris"},
// "difficulty" {"normal", "hard"}, "items", "enemies", "doors", "locks",
// "swap-sdg" and "armed-capsule" {"on", "off"}, "tyrant", "yawn" and "lisa"
// {"one", "many", "none"}, "tyrant-type" {"fast", "slow", "random"}; "kinds"
// and "remove" hold one such {"on", "off"} object per enemy kind and per item
// group. An option left out keeps the dialog's default and draws nothing.
//
// The draws come from a generator of their own, never the game's: SplitMix64
// started from XXH3-64 of the file's canonical bytes with the seed as the
// hash's seed. The canonical bytes are the file's options, with every choice
// of a given option and every weight as a double, written as compact JSON with
// keys in byte order; so spacing, key order and the spelling of a number do
// not change a draw. One 64-bit output is drawn per option the file gives, in
// the order above (kinds and removals in the command line's order), and turned
// into a choice by MysteryRandom::Pick.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "cli/CommandLine.h"

namespace velmora {

/// A weights file is refused when larger than this.
inline constexpr size_t kMaxWeightsFileBytes = 64 * 1024;

/// A weights file read and checked.
struct MysteryWeights {
  /// For each option in draw order, its choices' weights, or nothing when
  /// the file leaves the option out.
  std::vector<std::optional<std::vector<double>>> options;
  /// The canonical bytes the draws are seeded from.
  std::string canonical;
};

struct WeightsParseResult {
  std::optional<MysteryWeights> weights;
  /// A one-line message naming the place of the problem otherwise.
  std::string error;
};

/// Reads a weights file's bytes. Never throws.
WeightsParseResult ParseMysteryWeights(std::string_view bytes);

/// The draws of a mystery seed: SplitMix64, portable and exact.
class MysteryRandom {
 public:
  explicit MysteryRandom(uint64_t state) : state_(state) {}
  /// Seeded from the weights' canonical bytes and the seed.
  MysteryRandom(const MysteryWeights& weights, uint32_t seed);

  /// The next 64-bit output.
  uint64_t Next();

  /// Draws one choice: u, the top 53 bits of the next output as a fraction
  /// of 1, times the sum of the weights, picks the first choice whose running
  /// sum of weights exceeds u (the last choice of non-zero weight should
  /// rounding reach the sum). At least one weight must be above zero.
  size_t Pick(std::span<const double> weights);

 private:
  uint64_t state_;
};

/// The options of the mystery seed `seed`: each option the weights give is
/// drawn and clicked into a fresh dialog in the order above, running the
/// click handlers, so the dialog's rules hold (a drawn Doors forces Normal,
/// Items and no Locks; the enemy panel only with Enemies). The result's seed
/// is `seed`.
CommandLineOptions DrawMysteryOptions(const MysteryWeights& weights, uint32_t seed);

/// Reads and checks the weights file at `path` for `velmora --mystery`.
/// The error names the file and the problem's place.
WeightsParseResult ReadMysteryWeightsFile(const std::string& path);

}  // namespace velmora
