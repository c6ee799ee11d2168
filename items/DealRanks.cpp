// The deal by ranks: an attempt is judged by following only the items it can
// be given up on ("watched"), each by its rank in the pool, and never the
// pool itself.
//
// A draw takes the id of rank r in the ascending pool. A watched item of rank
// r is the one drawn; one of a higher rank moves one rank down; one of a
// lower rank keeps its rank. So the ranks of the watched items, one byte
// each, side by side in a vector, follow the deal with a few byte operations
// a draw, whatever the other items are; and the deal is given up when a
// watched item is drawn in a slot where it fails. The ranks are kept plus
// one, with 0 for an item already drawn, which no rank equals or exceeds.
//
// Three attempts are dealt in turn, so that the steps of one overlap those of
// the others. The source is written once with Highway's portable vectors and
// compiled once for each instruction set the build targets: AVX2 and SSE4 on
// x86-64, NEON on ARM, SIMD128 for the page. The kernel list
// (DealKernels.cpp) chooses among them, not Highway's own dispatch, so only
// Highway's headers are used and no part of its library is linked: the same
// source builds natively, for Windows, for WebAssembly and for other
// processors.
#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "items/DealRanks.cpp"
// Highway's debug checks call into its library.
#ifndef HWY_IS_DEBUG_BUILD
#define HWY_IS_DEBUG_BUILD 0
#endif
// Targets the kernel list does not offer: SSSE3 (processors that have it but
// not SSE4 are rare), AVX-512 (the lanes kernel deals faster there) and the
// scalable ARM vectors.
#ifndef HWY_DISABLED_TARGETS
#define HWY_DISABLED_TARGETS \
  (HWY_SSSE3 | HWY_AVX3 | HWY_AVX3_DL | HWY_SVE | HWY_SVE2 | HWY_SVE_256 | HWY_SVE2_128)
#endif
#define HWY_DISABLE_PCLMUL_AES 1
#define HWY_DISABLE_F16C 1
#include <hwy/foreach_target.h>  // must come before highway.h
#include <hwy/highway.h>

#include <cstdint>
#include <utility>
#include <vector>

#include "app/Random.h"
#include "items/DealKernels.h"

// Per-target part: compiled once for every target in HWY_TARGETS that the
// kernel list offers.
#if HWY_TARGET == HWY_AVX2 || HWY_TARGET == HWY_SSE4 || HWY_TARGET == HWY_NEON || \
    HWY_TARGET == HWY_WASM
HWY_BEFORE_NAMESPACE();
namespace velmora {
namespace HWY_NAMESPACE {

namespace hn = hwy::HWY_NAMESPACE;

using D = hn::ScalableTag<uint8_t>;
using V = hn::Vec<D>;
constexpr size_t kLanes = HWY_MAX_BYTES;
// Vectors of watched items an attempt may need: every item watched.
constexpr size_t kMaxVectors = (kSlotCount + kLanes - 1) / kLanes;

// Hands out attempts in increasing order with their start states.
struct AttemptSource {
  uint64_t next;
  uint64_t last;
  uint32_t next_state;
  LcgJump one_deal;
};

// One attempt being dealt: the ranks of its watched items, `kVectors`
// vectors of them, its random state and the slot it deals next.
template <size_t kVectors>
struct Deal {
  // Defined here, so that it is compiled for the target like the rest (an
  // implicit one would not be on every compiler).
  Deal() {}
  V ranks[kVectors];
  uint32_t state;
  int slot;
  uint64_t attempt;
  bool live;  ///< holds an attempt still to be judged
};

// Starts the next attempt in `deal`, or marks it not live when none remain.
template <size_t kVectors>
HWY_INLINE void Start(Deal<kVectors>& deal, const V* start, AttemptSource& source) {
  for (size_t i = 0; i < kVectors; ++i) deal.ranks[i] = start[i];
  deal.slot = 0;
  deal.attempt = source.next;
  deal.state = source.next_state;
  deal.live = source.next <= source.last;
  if (!deal.live) return;
  ++source.next;
  source.next_state = source.one_deal.Apply(source.next_state);
}

// One draw of `deal`. Returns true when its deal ended, given up or dealt to
// the last slot; a live deal dealt to the end joins `survivors`.
template <size_t kVectors>
HWY_INLINE bool Draw(Deal<kVectors>& deal, const uint8_t* give_up, size_t stride,
                     std::vector<uint64_t>& survivors) {
  const D d;
  deal.state = deal.state * CrtRandom::kMultiplier + CrtRandom::kIncrement;
  const uint32_t rank = kReciprocals.Mod((deal.state >> 16) & 0x7FFF,
                                         static_cast<uint32_t>(kSlotCount - deal.slot));
  const V drawn_rank = hn::Set(d, static_cast<uint8_t>(rank + 1));
  const uint8_t* row = give_up + static_cast<size_t>(deal.slot) * stride;
  V given_up = hn::Zero(d);
  for (size_t i = 0; i < kVectors; ++i) {
    const auto drawn = hn::Eq(deal.ranks[i], drawn_rank);
    const V above = hn::Min(hn::SaturatedSub(deal.ranks[i], drawn_rank), hn::Set(d, 1));
    deal.ranks[i] = hn::Sub(hn::IfThenZeroElse(drawn, deal.ranks[i]), above);
    given_up = hn::Or(given_up, hn::IfThenElseZero(drawn, hn::LoadU(d, row + i * kLanes)));
  }
  ++deal.slot;
  const bool ends = !hn::AllFalse(d, hn::MaskFromVec(given_up));
  if (HWY_LIKELY(!ends && deal.slot < kSlotCount)) return false;
  if (!ends && deal.live) survivors.push_back(deal.attempt);
  return true;
}

template <size_t kVectors>
HWY_NOINLINE void DealWith(uint32_t loop_start, uint64_t first, uint64_t last,
                           const DealTables& tables, std::vector<uint64_t>& survivors) {
  const D d;
  V start[kVectors];
  for (size_t i = 0; i < kVectors; ++i) start[i] = hn::LoadU(d, tables.start.data() + i * kLanes);
  AttemptSource source{first, last,
                       LcgJump::For(uint64_t{kSlotCount} * (first - 1)).Apply(loop_start),
                       LcgJump::For(kSlotCount)};
  const uint8_t* give_up = tables.give_up.data();
  const size_t stride = tables.stride;
  // Three named deals rather than an array, so that their ranks stay in
  // registers.
  Deal<kVectors> a, b, c;
  Start(a, start, source);
  Start(b, start, source);
  Start(c, start, source);
  while (a.live || b.live || c.live) {
    if (Draw(a, give_up, stride, survivors)) Start(a, start, source);
    if (Draw(b, give_up, stride, survivors)) Start(b, start, source);
    if (Draw(c, give_up, stride, survivors)) Start(c, start, source);
  }
}

// The deal compiled for each number of vectors an attempt may need, from 1
// to kMaxVectors.
template <size_t... kCounts>
void DealByCount(size_t vectors, uint32_t loop_start, uint64_t first, uint64_t last,
                 const DealTables& tables, std::vector<uint64_t>& survivors,
                 std::index_sequence<kCounts...>) {
  ((vectors == kCounts + 1 ? DealWith<kCounts + 1>(loop_start, first, last, tables, survivors)
                           : void()),
   ...);
}

void DealRanks(uint32_t loop_start, uint64_t first, uint64_t last, const DealTables& tables,
               std::vector<uint64_t>& survivors) {
  const size_t vectors = tables.watched.empty() ? 1 : (tables.watched.size() + kLanes - 1) / kLanes;
  DealByCount(vectors, loop_start, first, last, tables, survivors,
              std::make_index_sequence<kMaxVectors>());
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
[[maybe_unused]] bool RunsSse4() {
  __builtin_cpu_init();
  return __builtin_cpu_supports("ssse3") && __builtin_cpu_supports("sse4.1") &&
         __builtin_cpu_supports("sse4.2");
}
[[maybe_unused]] bool RunsAvx2() {
  __builtin_cpu_init();
  return RunsSse4() && __builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma") &&
         __builtin_cpu_supports("bmi") && __builtin_cpu_supports("bmi2");
}
#endif
// The static target of a build is the instruction set it was compiled for.
[[maybe_unused]] bool RunsAlways() { return true; }

// Attempts each kernel deals in turn (the three deals of DealWith).
[[maybe_unused]] constexpr int kDealsInTurn = 3;

}  // namespace

// Wider vectors first: they take fewer steps a draw.
std::vector<DealKernel> DealRanksKernels() {
  std::vector<DealKernel> kernels;
#if HWY_TARGETS & HWY_AVX2
  kernels.push_back({"avx2", kDealsInTurn, RunsAvx2, nullptr, N_AVX2::DealRanks});
#endif
#if HWY_TARGETS & HWY_SSE4
  kernels.push_back({"sse4", kDealsInTurn, RunsSse4, nullptr, N_SSE4::DealRanks});
#endif
#if HWY_TARGETS & HWY_NEON
  kernels.push_back({"neon", kDealsInTurn, RunsAlways, nullptr, N_NEON::DealRanks});
#endif
#if HWY_TARGETS & HWY_WASM
  kernels.push_back({"wasm128", kDealsInTurn, RunsAlways, nullptr, N_WASM::DealRanks});
#endif
  return kernels;
}

}  // namespace velmora
#endif
