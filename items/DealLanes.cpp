// The deal of several attempts side by side in vector lanes, written once
// with Highway's portable vectors and compiled once for each instruction set
// the build targets: AVX2 (eight lanes) on x86-64 and NEON (four) on ARM.
// AVX-512 and WebAssembly SIMD have kernels of their own, written with their
// intrinsics, which deal faster there (DealAvx512.cpp, DealWasm.cpp). The
// kernel list (DealKernels.cpp) chooses among them, not Highway's own
// dispatch, so only Highway's headers are used and no part of its library is
// linked: the same source builds natively, for Windows, for WebAssembly and
// for other processors.
#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "items/DealLanes.cpp"
// Highway's debug checks call into its library.
#ifndef HWY_IS_DEBUG_BUILD
#define HWY_IS_DEBUG_BUILD 0
#endif
// Targets the kernel list does not offer: SSE4 and SSSE3 (too few lanes to
// beat the bit-set deal), AVX-512 (its intrinsics kernel deals about 1.5
// times as fast) and the scalable ARM vectors. WebAssembly, the only target
// there, is left out below (its intrinsics kernel deals about 2.4 times as
// fast).
#ifndef HWY_DISABLED_TARGETS
#define HWY_DISABLED_TARGETS                                                            \
  (HWY_SSSE3 | HWY_SSE4 | HWY_AVX3 | HWY_AVX3_DL | HWY_SVE | HWY_SVE2 | HWY_SVE_256 | \
   HWY_SVE2_128)
#endif
#define HWY_DISABLE_PCLMUL_AES 1
#define HWY_DISABLE_F16C 1
#include <hwy/foreach_target.h>  // must come before highway.h
#include <hwy/highway.h>

#include <cstdint>
#include <vector>

#include "app/Random.h"
#include "items/DealKernels.h"

// Per-target part: compiled once for every target in HWY_TARGETS that the
// kernel list offers.
#if HWY_TARGET == HWY_AVX2 || HWY_TARGET == HWY_NEON
HWY_BEFORE_NAMESPACE();
namespace velmora {
namespace HWY_NAMESPACE {

namespace hn = hwy::HWY_NAMESPACE;

using D = hn::ScalableTag<int32_t>;
using V = hn::Vec<D>;
constexpr size_t kLanes = HWY_MAX_BYTES / sizeof(int32_t);
// The pool of a lane as six 32-bit words, with the count of ids each holds.
constexpr int kWords = 6;
constexpr int kLastWordBits = kSlotCount - 32 * (kWords - 1);
// Groups of lanes dealt in turn, so that their chains of dependent steps
// overlap.
constexpr int kGroups = 2;

struct Group {
  // Defined here, so that it is compiled for the target like the rest (an
  // implicit one would not be on every compiler).
  Group() {}
  V state;  ///< each lane's random state
  V slot;   ///< the slot each lane deals next
  V pool[kWords];
  V count[kWords];
  uint64_t attempt[kLanes];  ///< the attempt each lane deals
  bool live[kLanes];         ///< lanes that hold an attempt still to be judged
  int live_lanes;
};

// Hands out attempts in increasing order with their start states.
struct AttemptSource {
  uint64_t next;
  uint64_t last;
  uint32_t next_state;
  LcgJump one_deal;
};

// Byte tables for TableLookupBytes over a nibble: its count of set bits, and
// for each rank 0 to 3 the position of the set bit of that rank (0 where
// there is none).
struct NibbleTables {
  uint8_t count[16] = {};
  uint8_t select[4][16] = {};
  constexpr NibbleTables() {
    for (int nibble = 0; nibble < 16; ++nibble) {
      int rank = 0;
      for (int bit = 0; bit < 4; ++bit) {
        if (((nibble >> bit) & 1) == 0) continue;
        select[rank++][nibble] = static_cast<uint8_t>(bit);
      }
      count[nibble] = static_cast<uint8_t>(rank);
    }
  }
};
constexpr NibbleTables kNibbleTables;

// Looks each lane's low byte, a nibble, up in a 16-byte table; the lane's
// other bytes are 0 and look up entry 0, which is 0.
HWY_INLINE V LookUpNibble(const uint8_t* table, V nibble) {
  const D d;
  const hn::Repartition<uint8_t, D> d8;
  return hn::BitCast(d, hn::TableLookupBytes(hn::LoadDup128(d8, table), hn::BitCast(d8, nibble)));
}

// The position of the set bit of rank `rank` (from 0) in each lane's `word`:
// the byte that holds it from the bytes' running counts, then the nibble,
// then the bit from a table. The steps depend on each other, and the next
// draw waits for them, so they are few and short.
HWY_INLINE V SelectBit(V word, V rank) {
  const D d;
  const hn::Repartition<uint8_t, D> d8;
  const V byte_mask = hn::Set(d, 0xFF);
  // Byte i of `running` counts the bits of bytes 0 to i (at most 32).
  const V counts = hn::BitCast(d, hn::PopulationCount(hn::BitCast(d8, word)));
  const V running = hn::Mul(counts, hn::Set(d, 0x01010101));
  const V upto0 = hn::And(running, byte_mask);
  const V upto1 = hn::And(hn::ShiftRight<8>(running), byte_mask);
  const V upto2 = hn::And(hn::ShiftRight<16>(running), byte_mask);
  const auto in0 = hn::Gt(upto0, rank);
  const auto in_upto1 = hn::Gt(upto1, rank);
  const auto in_upto2 = hn::Gt(upto2, rank);
  // The byte's number: 3 less one for each running count above the rank.
  const V byte_index = hn::Add(hn::Set(d, 3), hn::Add(hn::Add(hn::VecFromMask(d, in0),
                                                             hn::VecFromMask(d, in_upto1)),
                                                     hn::VecFromMask(d, in_upto2)));
  const V before = hn::IfThenZeroElse(
      in0, hn::IfThenElse(in_upto1, upto0, hn::IfThenElse(in_upto2, upto1, upto2)));
  rank = hn::Sub(rank, before);
  V position = hn::ShiftLeft<3>(byte_index);
  const V byte = hn::And(word >> position, byte_mask);

  const V low_nibble = hn::And(byte, hn::Set(d, 0xF));
  const V low_count = LookUpNibble(kNibbleTables.count, low_nibble);
  const auto in_low = hn::Gt(low_count, rank);
  rank = hn::IfThenElse(in_low, rank, hn::Sub(rank, low_count));
  const V nibble = hn::IfThenElse(in_low, low_nibble, hn::ShiftRight<4>(byte));
  position = hn::Add(position, hn::IfThenZeroElse(in_low, hn::Set(d, 4)));

  const V at0 = LookUpNibble(kNibbleTables.select[0], nibble);
  const V at1 = LookUpNibble(kNibbleTables.select[1], nibble);
  const V at2 = LookUpNibble(kNibbleTables.select[2], nibble);
  const V at3 = LookUpNibble(kNibbleTables.select[3], nibble);
  const V at = hn::IfThenElse(
      hn::Eq(rank, hn::Zero(d)), at0,
      hn::IfThenElse(hn::Eq(rank, hn::Set(d, 1)), at1,
                     hn::IfThenElse(hn::Eq(rank, hn::Set(d, 2)), at2, at3)));
  return hn::Add(position, at);
}

// One draw in every lane of `g`. Lanes whose item lands where the deal gives
// up on it join `rejected`; lanes that deal their last slot without that join
// `dealt`. Such lanes go on drawing until they are refilled; what they draw
// then is never read, and the table of items to give up on has blank rows
// past the last slot for them.
HWY_INLINE void DealStep(Group& g, const int32_t* early_by_slot, V& rejected, V& dealt) {
  const D d;
  const hn::RebindToFloat<D> df;
  g.state = hn::Add(hn::Mul(g.state, hn::Set(d, static_cast<int32_t>(CrtRandom::kMultiplier))),
                    hn::Set(d, static_cast<int32_t>(CrtRandom::kIncrement)));
  const V drawn = hn::And(hn::ShiftRight<16>(g.state), hn::Set(d, 0x7FFF));
  const V size = hn::Sub(hn::Set(d, kSlotCount), g.slot);
  // Rounding down the single-precision quotient of two whole numbers below
  // 2^15 is exact: the true quotient is at least 1/size away from the next
  // whole number, a relative gap of at least 2^-15, far beyond the
  // division's rounding of 2^-24.
  const V quotient =
      hn::ConvertTo(d, hn::Div(hn::ConvertTo(df, drawn), hn::ConvertTo(df, size)));
  V rank = hn::Sub(drawn, hn::Mul(quotient, size));

  // The pool word that holds the rank: the counts of the words before it
  // are compared with the rank.
  V word = g.pool[0];
  V before = hn::Zero(d);
  V which = hn::Zero(d);
  V total = hn::Zero(d);
  HWY_UNROLL(5)
  for (int w = 1; w < kWords; ++w) {
    total = hn::Add(total, g.count[w - 1]);
    const auto earlier = hn::Gt(total, rank);
    word = hn::IfThenElse(earlier, word, g.pool[w]);
    before = hn::IfThenElse(earlier, before, total);
    which = hn::IfThenElse(earlier, which, hn::Set(d, w));
  }
  rank = hn::Sub(rank, before);
  const V bit = hn::Set(d, 1) << SelectBit(word, rank);
  HWY_UNROLL(6)
  for (int w = 0; w < kWords; ++w) {
    const auto here = hn::Eq(which, hn::Set(d, w));
    g.pool[w] = hn::Xor(g.pool[w], hn::IfThenElseZero(here, bit));
    g.count[w] = hn::Add(g.count[w], hn::VecFromMask(d, here));  // -1 where drawn
  }

  // The slot's word of items to give up on, beside the drawn item's word.
  const V index = hn::Add(hn::Mul(g.slot, hn::Set(d, kWords)), which);
  const V give_up = hn::GatherIndex(d, early_by_slot, index);
  const V rejected_now = hn::VecFromMask(d, hn::TestBit(give_up, bit));
  g.slot = hn::Add(g.slot, hn::Set(d, 1));
  const V last_slot = hn::VecFromMask(d, hn::Eq(g.slot, hn::Set(d, kSlotCount)));
  dealt = hn::Or(dealt, hn::AndNot(hn::Or(rejected, rejected_now), last_slot));
  rejected = hn::Or(rejected, rejected_now);
}

// Starts new deals in the lanes `done` of `g`: the survivors among them
// (`dealt` and live) are recorded first, then the lanes take the next
// attempts in lane order, and those left over when none remain stop being
// live. Lanes that are not live keep dealing unseen, so they restart too.
HWY_NOINLINE void Refill(Group& g, V done, V dealt, AttemptSource& source,
                         std::vector<uint64_t>& survivors) {
  const D d;
  HWY_ALIGN int32_t done_lanes[kLanes];
  HWY_ALIGN int32_t dealt_lanes[kLanes];
  HWY_ALIGN int32_t states[kLanes];
  hn::Store(done, d, done_lanes);
  hn::Store(dealt, d, dealt_lanes);
  hn::Store(g.state, d, states);
  for (size_t k = 0; k < hn::Lanes(d); ++k) {
    if (done_lanes[k] == 0) continue;
    if (g.live[k] && dealt_lanes[k] != 0) survivors.push_back(g.attempt[k]);
    g.live_lanes -= g.live[k];
    g.live[k] = source.next <= source.last;
    if (!g.live[k]) continue;
    ++g.live_lanes;
    g.attempt[k] = source.next++;
    states[k] = static_cast<int32_t>(source.next_state);
    source.next_state = source.one_deal.Apply(source.next_state);
  }
  g.state = hn::Load(d, states);
  const auto restart = hn::MaskFromVec(done);
  g.slot = hn::IfThenZeroElse(restart, g.slot);
  for (int w = 0; w < kWords; ++w) {
    const bool full = w + 1 < kWords;
    g.pool[w] = hn::IfThenElse(
        restart, hn::Set(d, full ? -1 : static_cast<int32_t>((1u << kLastWordBits) - 1)), g.pool[w]);
    g.count[w] = hn::IfThenElse(restart, hn::Set(d, full ? 32 : kLastWordBits), g.count[w]);
  }
}

void DealLanes(uint32_t loop_start, uint64_t first, uint64_t last, const uint32_t* early_by_slot,
               std::vector<uint64_t>& survivors) {
  const D d;
  const auto* table = reinterpret_cast<const int32_t*>(early_by_slot);
  AttemptSource source{first, last, LcgJump::For(uint64_t{kSlotCount} * (first - 1)).Apply(loop_start),
                       LcgJump::For(kSlotCount)};
  Group groups[kGroups];
  for (Group& g : groups) {
    g.state = g.slot = hn::Zero(d);
    for (int w = 0; w < kWords; ++w) g.pool[w] = g.count[w] = hn::Zero(d);
    for (size_t k = 0; k < kLanes; ++k) g.live[k] = false;
    g.live_lanes = 0;
    Refill(g, hn::Set(d, -1), hn::Zero(d), source, survivors);
  }
  // Lanes are refilled only every few draws: a branch after every draw on
  // whether any lane has ended would be mispredicted often.
  for (;;) {
    int live = 0;
    for (const Group& g : groups) live += g.live_lanes;
    if (live == 0) break;
    V rejected[kGroups];
    V dealt[kGroups];
    for (int i = 0; i < kGroups; ++i) rejected[i] = dealt[i] = hn::Zero(d);
    for (int step = 0; step < kStepsPerRefill; ++step)
      for (int i = 0; i < kGroups; ++i) DealStep(groups[i], table, rejected[i], dealt[i]);
    for (int i = 0; i < kGroups; ++i) {
      const V done = hn::Or(rejected[i], dealt[i]);
      if (!hn::AllFalse(d, hn::MaskFromVec(done))) Refill(groups[i], done, dealt[i], source, survivors);
    }
  }
}
}  // namespace HWY_NAMESPACE
}  // namespace velmora
HWY_AFTER_NAMESPACE();
#endif

#if HWY_ONCE
namespace velmora {
namespace {

#if HWY_ARCH_X86 && (defined(__GNUC__) || defined(__clang__))
// The features each x86 target's code may use (Highway's target strings,
// without those disabled above).
[[maybe_unused]] bool RunsAvx2() {
  __builtin_cpu_init();
  return __builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma") &&
         __builtin_cpu_supports("bmi") && __builtin_cpu_supports("bmi2") &&
         __builtin_cpu_supports("sse4.2");
}
#endif
// The static target of a build is the instruction set it was compiled for.
[[maybe_unused]] bool RunsAlways() { return true; }

}  // namespace

std::vector<DealKernel> DealLanesKernels() {
  std::vector<DealKernel> kernels;
#if HWY_TARGETS & HWY_AVX2
  kernels.push_back({"avx2", 8, RunsAvx2, nullptr, N_AVX2::DealLanes});
#endif
#if HWY_TARGETS & HWY_NEON
  kernels.push_back({"neon", 4, RunsAlways, nullptr, N_NEON::DealLanes});
#endif
  return kernels;
}

}  // namespace velmora
#endif
