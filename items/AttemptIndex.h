// The attempt index: for each selection without locks, every attempt of the
// item loop's one cycle that passes, so that a loop's first passing attempt
// is looked up instead of searched for.
//
// An attempt deals with 185 draws and 185 is odd, so the attempt starts of
// any item loop run through all 2^32 random states on one single cycle.
// Numbered along that cycle from state 0 (an attempt's key), a loop whose
// first attempt has key m makes the attempts m, m + 1, m + 2, ... (mod 2^32),
// and its first passing attempt is the first passing key at or after m.
// Without locks the tables depend on character and difficulty alone, so four
// sorted lists of keys answer every such loop.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "app/GeneratorState.h"
#include "catalogue/Selection.h"

namespace velmora {

/// 185^-1 mod 2^32: multiplying a distance in draws by it counts attempts.
inline constexpr uint32_t kInverseOfDealDraws = 3923510665u;

/// The key of the attempt that starts at random state `state`.
uint32_t AttemptKey(uint32_t state);
/// The random state at which the attempt with key `key` starts.
uint32_t AttemptStart(uint32_t key);

/// A fingerprint of everything but the start state that an attempt's outcome
/// depends on: the slot areas, the forbidden areas and the requirements of
/// `state` (empty lists count as missing, as the check reads them), and the
/// pins in their order.
uint64_t TablesFingerprint(const GeneratorState& state, const std::vector<int>& pins);

/// One selection's sorted passing keys, read in place from the bytes of its
/// index file: "VMAIDX01", the tables' fingerprint (8 bytes), the number of
/// keys (4 bytes), the keys' XXH64 checksum (8 bytes), then the keys
/// ascending, 4 bytes each; every number little-endian.
class AttemptIndex {
 public:
  /// Reads and checks an index; nothing, with `problem` set, when the bytes
  /// are not a whole index, the checksum does not match or the keys are not
  /// strictly ascending.
  static std::optional<AttemptIndex> Parse(std::span<const uint8_t> bytes, std::string* problem);
  /// The bytes of an index of `keys` (sorted ascending, no repeats).
  static std::string Serialize(uint64_t tables, const std::vector<uint32_t>& keys);

  uint64_t tables() const { return tables_; }
  uint32_t size() const { return count_; }
  uint64_t checksum() const { return checksum_; }
  uint32_t key(uint32_t i) const;

  /// The number (counted from 1) of the first passing attempt of a loop
  /// whose first attempt starts at random state `loop_start`, or 0 for an
  /// index without keys.
  uint64_t FirstPassing(uint32_t loop_start) const;

 private:
  uint64_t tables_ = 0;
  uint32_t count_ = 0;
  uint64_t checksum_ = 0;
  const uint8_t* keys_ = nullptr;
};

/// The XXH64 checksum of keys laid out as an index stores them.
uint64_t KeysChecksum(std::span<const uint8_t> key_bytes);

/// The file name of a selection's index ("JillNormal.idx", ...).
std::string AttemptIndexFileName(Character character, Difficulty difficulty);

/// The bytes of the index the build embeds for a selection.
std::span<const uint8_t> EmbeddedAttemptIndexBytes(Character character, Difficulty difficulty);

/// The embedded index of the selection when it was made from exactly the
/// tables of `state` and `pins`; nullptr otherwise (lock mode, handmade
/// tables) or when the embedded bytes do not read as an index.
const AttemptIndex* MatchingAttemptIndex(const GeneratorState& state, const std::vector<int>& pins,
                                         Character character, Difficulty difficulty);

}  // namespace velmora
