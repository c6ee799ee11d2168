// The deal of sixteen attempts side by side in AVX-512 lanes, written with
// the processor's intrinsics.
#include "app/Random.h"
#include "items/DealKernels.h"

#if defined(__x86_64__)
#include <immintrin.h>

#include <algorithm>

namespace velmora {
namespace {

// GCC's AVX-512 intrinsics start some results from a self-initialised
// "undefined" vector, which its uninitialised-use warning mistakes for a
// fault.
#pragma GCC diagnostic push
#if !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif
#define VELMORA_VECTOR_ISA "avx512f,avx512dq,avx512vpopcntdq,bmi2,popcnt"
#define VELMORA_VECTOR_INLINE __attribute__((target(VELMORA_VECTOR_ISA), always_inline)) inline

constexpr int kLanes = 16;
constexpr int kPoolWords = 6;  // 32-bit words of the pool's bit set

// Sixteen attempts dealt side by side, one in each 32-bit lane: the random
// state, the attempt's number counted from the first attempt of the run, the
// slot being dealt and the pool's six words.
struct DealLanes {
  __m512i state;
  __m512i attempt;
  __m512i slot;
  __m512i pool[kPoolWords];
  __mmask16 live;  ///< lanes that hold an attempt still to be judged
};

// One halving step of finding the set bit of rank `rank` in `word`: when the
// rank lies past the low `kWidth` bits, the high half is kept and the rank
// and position move on.
template <unsigned kWidth>
VELMORA_VECTOR_INLINE void Halve(__m512i& word, __m512i& rank, __m512i& position) {
  const __m512i low = _mm512_and_si512(word, _mm512_set1_epi32((1u << kWidth) - 1));
  const __m512i count = _mm512_popcnt_epi32(low);
  const __mmask16 high = _mm512_cmpge_epu32_mask(rank, count);
  rank = _mm512_mask_sub_epi32(rank, high, rank, count);
  word = _mm512_mask_srli_epi32(low, high, word, kWidth);
  position = _mm512_mask_add_epi32(position, high, position, _mm512_set1_epi32(kWidth));
}

// One draw in every lane, as DealBmi2 makes it. Lanes whose item lands where
// the deal gives up on it join `rejected`; lanes that deal their last slot
// without that join `dealt`. Such lanes go on drawing until they are
// refilled; what they draw then is never read, and the table of items to give
// up on has blank rows past the last slot for them.
VELMORA_VECTOR_INLINE void DealStep(DealLanes& g, const uint32_t* early_by_slot,
                                    __mmask16& rejected, __mmask16& dealt) {
  g.state = _mm512_add_epi32(_mm512_mullo_epi32(g.state, _mm512_set1_epi32(CrtRandom::kMultiplier)),
                             _mm512_set1_epi32(CrtRandom::kIncrement));
  const __m512i drawn = _mm512_and_si512(_mm512_srli_epi32(g.state, 16), _mm512_set1_epi32(0x7FFF));
  const __m512i size = _mm512_sub_epi32(_mm512_set1_epi32(kSlotCount), g.slot);
  // Rounding down the single-precision quotient of two whole numbers below
  // 2^15 is exact: the true quotient is at least 1/size away from the next
  // whole number, a relative gap of at least 2^-15, far beyond the
  // division's rounding of 2^-24.
  const __m512i quotient = _mm512_cvttps_epi32(
      _mm512_div_ps(_mm512_cvtepi32_ps(drawn), _mm512_cvtepi32_ps(size)));
  __m512i rank = _mm512_sub_epi32(drawn, _mm512_mullo_epi32(quotient, size));

  // The pool word that holds the rank: the counts of the words before it are
  // compared with the rank all at once.
  __m512i word = g.pool[0];
  __m512i before = _mm512_setzero_si512();
  __m512i which = _mm512_setzero_si512();
  __mmask16 past[kPoolWords];
  __m512i total = _mm512_setzero_si512();
  for (int w = 1; w < kPoolWords; ++w) {
    total = _mm512_add_epi32(total, _mm512_popcnt_epi32(g.pool[w - 1]));
    past[w] = _mm512_cmpge_epu32_mask(rank, total);
    word = _mm512_mask_mov_epi32(word, past[w], g.pool[w]);
    before = _mm512_mask_mov_epi32(before, past[w], total);
    which = _mm512_mask_add_epi32(which, past[w], which, _mm512_set1_epi32(1));
  }
  rank = _mm512_sub_epi32(rank, before);
  __m512i position = _mm512_setzero_si512();
  Halve<16>(word, rank, position);
  Halve<8>(word, rank, position);
  Halve<4>(word, rank, position);
  Halve<2>(word, rank, position);
  Halve<1>(word, rank, position);
  const __m512i bit = _mm512_sllv_epi32(_mm512_set1_epi32(1), position);
  g.pool[0] = _mm512_mask_xor_epi32(g.pool[0], static_cast<__mmask16>(~past[1]), g.pool[0], bit);
  for (int w = 1; w < kPoolWords; ++w) {
    const auto here = static_cast<__mmask16>(w + 1 < kPoolWords ? past[w] & ~past[w + 1] : past[w]);
    g.pool[w] = _mm512_mask_xor_epi32(g.pool[w], here, g.pool[w], bit);
  }

  // The slot's word of items to give up on, beside the drawn item's word.
  const __m512i index =
      _mm512_add_epi32(_mm512_mullo_epi32(g.slot, _mm512_set1_epi32(kPoolWords)), which);
  const __m512i give_up = _mm512_i32gather_epi32(index, early_by_slot, 4);
  const __mmask16 rejected_now = _mm512_test_epi32_mask(give_up, bit);
  g.slot = _mm512_add_epi32(g.slot, _mm512_set1_epi32(1));
  const __mmask16 last_slot = _mm512_cmpeq_epi32_mask(g.slot, _mm512_set1_epi32(kSlotCount));
  dealt = static_cast<__mmask16>(dealt | (last_slot & ~rejected_now & ~rejected));
  rejected = static_cast<__mmask16>(rejected | rejected_now);
}

// Hands out attempts in increasing order with their start states, from a
// window of the next 32 attempts that moves on sixteen at a time.
struct AttemptSource {
  alignas(64) uint32_t states[2 * kLanes];
  alignas(64) uint32_t numbers[2 * kLanes];  ///< counted from `first`
  int taken = 0;                             ///< entries of the window handed out
  uint64_t first;
  uint64_t next;
  uint64_t last;
  LcgJump sixteen_deals;
};

VELMORA_VECTOR_INLINE void StartSource(AttemptSource& source, uint32_t loop_start, uint64_t first,
                                       uint64_t last) {
  source.first = source.next = first;
  source.last = last;
  source.sixteen_deals = LcgJump::For(kSlotCount * kLanes);
  const LcgJump one_deal = LcgJump::For(kSlotCount);
  uint32_t state = LcgJump::For(kSlotCount * (first - 1)).Apply(loop_start);
  for (int k = 0; k < 2 * kLanes; ++k) {
    source.states[k] = state;
    source.numbers[k] = static_cast<uint32_t>(k);
    state = one_deal.Apply(state);
  }
}

// Records the attempts of lanes `kept` as survivors.
__attribute__((target(VELMORA_VECTOR_ISA), noinline)) void KeepSurvivors(
    __m512i attempt, __mmask16 kept, uint64_t first, std::vector<uint64_t>& survivors) {
  alignas(64) uint32_t attempts[kLanes];
  _mm512_store_si512(attempts, attempt);
  for (int lane = 0; lane < kLanes; ++lane)
    if ((kept >> lane) & 1) survivors.push_back(first + attempts[lane]);
}

// Starts new deals in the lanes of `g` whose deals ended: the survivors
// among them are recorded first, then the lanes take the next attempts in
// lane order, and those left over when none remain stop being live. Lanes
// that are not live keep dealing unseen, so they restart too.
VELMORA_VECTOR_INLINE void Refill(DealLanes& g, __mmask16 rejected, __mmask16 dealt,
                                  AttemptSource& source, std::vector<uint64_t>& survivors) {
  const auto done = static_cast<__mmask16>(rejected | dealt);
  const auto ended = static_cast<__mmask16>(done & g.live);
  if (const auto kept = static_cast<__mmask16>(dealt & g.live))
    KeepSurvivors(g.attempt, kept, source.first, survivors);
  const uint64_t left = source.last + 1 - source.next;
  const auto wanted = static_cast<uint64_t>(__builtin_popcount(ended));
  const auto taking = static_cast<int>(std::min(wanted, left));
  const auto refilled = static_cast<__mmask16>(_pdep_u32((1u << taking) - 1, ended));
  g.state = _mm512_mask_expandloadu_epi32(g.state, refilled, source.states + source.taken);
  g.attempt = _mm512_mask_expandloadu_epi32(g.attempt, refilled, source.numbers + source.taken);
  source.taken += taking;
  source.next += static_cast<uint64_t>(taking);
  if (source.taken >= kLanes) {
    const __m512i later = _mm512_load_si512(source.states + kLanes);
    const __m512i later_numbers = _mm512_load_si512(source.numbers + kLanes);
    _mm512_store_si512(source.states, later);
    _mm512_store_si512(source.numbers, later_numbers);
    _mm512_store_si512(source.states + kLanes,
                       _mm512_add_epi32(_mm512_mullo_epi32(later, _mm512_set1_epi32(static_cast<int>(
                                                                      source.sixteen_deals.multiplier))),
                                        _mm512_set1_epi32(static_cast<int>(source.sixteen_deals.increment))));
    _mm512_store_si512(source.numbers + kLanes,
                       _mm512_add_epi32(later_numbers, _mm512_set1_epi32(kLanes)));
    source.taken -= kLanes;
  }
  g.live = static_cast<__mmask16>((g.live & ~ended) | refilled);
  g.slot = _mm512_mask_mov_epi32(g.slot, done, _mm512_setzero_si512());
  for (int w = 0; w + 1 < kPoolWords; ++w)
    g.pool[w] = _mm512_mask_mov_epi32(g.pool[w], done, _mm512_set1_epi32(-1));
  g.pool[kPoolWords - 1] = _mm512_mask_mov_epi32(
      g.pool[kPoolWords - 1], done, _mm512_set1_epi32((1 << (kSlotCount - 32 * (kPoolWords - 1))) - 1));
}

// Attempts `first` to `last` (at most 2^31 of them) dealt in two groups of
// lanes, so that the two groups' chains of dependent steps overlap; the
// attempts dealt to their end are appended to `survivors`, in no particular
// order.
}  // namespace

__attribute__((target(VELMORA_VECTOR_ISA))) void DealAvx512(
    uint32_t loop_start, uint64_t first, uint64_t last, const DealTables& tables,
    std::vector<uint64_t>& survivors) {
  const uint32_t* early_by_slot = tables.words.data();
  AttemptSource source;
  StartSource(source, loop_start, first, last);
  DealLanes a{};
  DealLanes b{};
  a.live = b.live = 0xFFFF;  // every lane ends its empty deal and takes an attempt
  Refill(a, 0xFFFF, 0, source, survivors);
  Refill(b, 0xFFFF, 0, source, survivors);
  // Lanes are refilled only every few draws: a branch after every draw on
  // whether any lane has ended would be mispredicted often.
  while ((a.live | b.live) != 0) {
    __mmask16 rejected_a = 0;
    __mmask16 dealt_a = 0;
    __mmask16 rejected_b = 0;
    __mmask16 dealt_b = 0;
    for (int step = 0; step < kStepsPerRefill; ++step) {
      DealStep(a, early_by_slot, rejected_a, dealt_a);
      DealStep(b, early_by_slot, rejected_b, dealt_b);
    }
    if ((rejected_a | dealt_a) != 0) Refill(a, rejected_a, dealt_a, source, survivors);
    if ((rejected_b | dealt_b) != 0) Refill(b, rejected_b, dealt_b, source, survivors);
  }
}
#pragma GCC diagnostic pop

bool RunsAvx512Intrinsics() {
  __builtin_cpu_init();
  return __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512dq") &&
         __builtin_cpu_supports("avx512vpopcntdq") && __builtin_cpu_supports("bmi2") &&
         __builtin_cpu_supports("popcnt");
}

}  // namespace velmora
#endif
