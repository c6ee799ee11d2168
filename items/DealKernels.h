// The ways the fast item search deals an attempt while judging it, and the
// choice among them.
//
// Every kernel deals exactly as the item loop does (draw an index into the
// ascending pool of the ids not drawn yet, take that id) and gives a deal up
// as soon as an item lands in a slot that the table of early rejections marks
// as failing for it. They differ only in speed: one attempt at a time with
// the pool in a byte array or in a bit set searched with a bit deposit,
// several attempts side by side in vector lanes, or several attempts in turn
// that follow only the ranks of the items a deal can be given up on.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "app/GeneratorState.h"

namespace velmora {

/// One bit per slot: the slots in which an item fails.
using SlotMask = std::array<uint64_t, 3>;
/// One bit per item: the items that fail in a slot.
using ItemMask = std::array<uint64_t, 3>;

/// Draws the lanes of a vector kernel make between refills; the table of
/// items to give up on by slot has this many blank rows past the last slot
/// for lanes that go on drawing after their deal ended.
inline constexpr int kStepsPerRefill = 8;

/// The table of items to give up on, in the forms the kernels read it.
struct DealTables {
  DealTables() = default;
  /// `early_by_slot[slot]`: the items the deal gives up on in `slot`, with
  /// blank rows past the last slot (kSlotCount + kStepsPerRefill rows).
  explicit DealTables(const std::vector<ItemMask>& early_by_slot);

  /// Six 32-bit words a row, low first, for the AVX-512 kernel.
  std::vector<uint32_t> words;
  /// The items the deal can give up on anywhere ("watched"), ascending, and
  /// the bytes each row below takes: their count rounded up to a multiple of
  /// 64, so that every vector width reads whole vectors.
  std::vector<int> watched;
  size_t stride = 0;
  /// The rank of each watched item in the full pool, plus one, in `stride`
  /// bytes (0 past the last watched item).
  std::vector<uint8_t> start;
  /// kSlotCount rows of `stride` bytes: 0xFF for each watched item the deal
  /// gives up on in that slot.
  std::vector<uint8_t> give_up;
};

/// Deals one attempt from random state `state` into `placement` (the item of
/// each slot), stopping when an item lands in a slot that `early[item]`
/// marks. Returns the number of draws made, negated when the deal stopped
/// early.
using DealOneFunction = int (*)(uint32_t state, const SlotMask* early, int* placement);

/// Deals attempts `first` to `last` (counted from 1, at most 2^31 of them) of
/// a loop whose first attempt starts at random state `loop_start`, several at
/// a time, and appends those dealt to their end without being given up to
/// `survivors`, in no particular order.
using DealManyFunction = void (*)(uint32_t loop_start, uint64_t first, uint64_t last,
                                  const DealTables& tables, std::vector<uint64_t>& survivors);

struct DealKernel {
  const char* name;       ///< the name VELMORA_SEARCH_KERNEL takes
  int lanes;              ///< attempts dealt at a time
  bool (*runs_here)();    ///< whether this processor has the instructions
  DealOneFunction one;    ///< set when lanes == 1
  DealManyFunction many;  ///< set when lanes > 1
};

/// The kernels this build holds, fastest first (by measured attempts per
/// second), whether or not this processor can run them.
std::span<const DealKernel> BuiltDealKernels();

/// The kernel that deals one attempt at a time fastest on this processor.
const DealKernel& FastestSingleDealKernel();

/// The kernel the search uses: the one VELMORA_SEARCH_KERNEL names, or else
/// the first built kernel this processor runs. A name that is unknown, or
/// that this processor cannot run, is refused: the program prints why and
/// the kernels available on standard error and exits with status 2. Programs
/// call it at their start so that the refusal comes before anything else.
const DealKernel& SearchDealKernel();

/// The kernel named `name` when this processor runs it, else nullptr and
/// `error` says why, naming the kernels available.
const DealKernel* FindDealKernel(const std::string& name, std::string& error);

/// The names of the kernels this processor runs, fastest first, comma
/// separated.
std::string AvailableDealKernelNames();

// The kernels, each in its own file. A kernel's `runs_here` is false where
// the build holds it but the processor lacks its instructions.
int DealBytes(uint32_t state, const SlotMask* early, int* placement);
/// Built on x86-64 only.
int DealBmi2(uint32_t state, const SlotMask* early, int* placement);
/// Built on x86-64: sixteen lanes in AVX-512 intrinsics.
void DealAvx512(uint32_t loop_start, uint64_t first, uint64_t last, const DealTables& tables,
                std::vector<uint64_t>& survivors);
bool RunsAvx512Intrinsics();
/// The deal by ranks (DealRanks.cpp), one source compiled once for each
/// instruction set this build targets; empty where it targets none.
std::vector<DealKernel> DealRanksKernels();

/// Exact remainder of x / d for 0 <= x < 2^15 and 1 <= d <= 185, from a
/// precomputed reciprocal: the quotient is (x * ceil(2^32 / d)) >> 32.
struct Reciprocals {
  std::array<uint64_t, kSlotCount + 1> factor{};
  constexpr Reciprocals() {
    for (uint64_t d = 1; d <= kSlotCount; ++d) factor[d] = ((uint64_t{1} << 32) + d - 1) / d;
  }
  uint32_t Mod(uint32_t x, uint32_t d) const {
    const uint32_t q = static_cast<uint32_t>((x * factor[d]) >> 32);
    return x - q * d;
  }
};
inline constexpr Reciprocals kReciprocals;

}  // namespace velmora
