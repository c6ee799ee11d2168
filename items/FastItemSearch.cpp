#include "items/FastItemSearch.h"

#include <algorithm>
#include <atomic>
#include <bit>
#include <cstring>

#if defined(__x86_64__)
#include <immintrin.h>
#endif
#if defined(__wasm_simd128__)
#include <wasm_simd128.h>
#endif
#include <map>
#include <set>
#include <thread>

#include "catalogue/AreaNeeds.h"

namespace velmora {
namespace {

constexpr uint64_t kDealDraws = kSlotCount;
constexpr uint64_t kChunk = 4096;
// Draws the lanes of the vector deal make between refills.
constexpr int kStepsPerRefill = 8;
// Attempts the vector deal numbers in one run, counted in 32-bit lanes (unused
// where the vector deal is not built).
[[maybe_unused]] constexpr uint64_t kVectorRun = uint64_t{1} << 31;

bool IsSlotItem(int item) { return item >= 0 && item < kSlotCount; }

// Exact quotient of x / d for 0 <= x < 2^15 and 1 <= d <= 185, from a
// precomputed reciprocal: (x * ceil(2^32 / d)) >> 32 (checked for every x
// and d by the tests).
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
constexpr Reciprocals kReciprocals;



// Deals one attempt from random state `state` into `placement`, as the loop
// does: draw an index into the ascending pool of the ids not drawn yet and
// take that id. Stops early when an item lands in a slot that `early` marks
// as failing for it. Returns the number of draws made, negated when the deal
// stopped early.
using DealFunction = int (*)(uint32_t state, const FastItemSearch::SlotMask* early,
                             int* placement);

int DealPortable(uint32_t state, const FastItemSearch::SlotMask* early, int* placement) {
  uint8_t pool[kSlotCount];
  for (int item = 0; item < kSlotCount; ++item) pool[item] = static_cast<uint8_t>(item);
  for (int slot = 0; slot < kSlotCount; ++slot) {
    state = state * CrtRandom::kMultiplier + CrtRandom::kIncrement;
    const uint32_t size = static_cast<uint32_t>(kSlotCount - slot);
    const uint32_t index = kReciprocals.Mod((state >> 16) & 0x7FFF, size);
    const int item = pool[index];
    std::memmove(pool + index, pool + index + 1, size - index - 1);
    placement[slot] = item;
    if ((early[item][slot >> 6] >> (slot & 63)) & 1) return -(slot + 1);
  }
  return kSlotCount;
}

// The position of the set bit of rank `rank` (from 0) in `word`, halving
// the word with population counts; selects instead of branches, which the
// processor could not predict.
inline uint32_t SelectBit(uint64_t word, uint32_t rank) {
  uint32_t position = 0;
  for (uint32_t width = 32; width != 0; width /= 2) {
    const uint64_t low = word & ((uint64_t{1} << width) - 1);
    const auto count = static_cast<uint32_t>(std::popcount(low));
    const bool high = rank >= count;
    rank = high ? rank - count : rank;
    word = high ? word >> width : low;
    position = high ? position + width : position;
  }
  return position;
}

// The same deal over a bit set of the pool for processors without a bit
// deposit (WebAssembly among them): the word that holds the drawn rank is
// found from the counts of the first two words, the bit by SelectBit.
int DealSelect(uint32_t state, const FastItemSearch::SlotMask* early, int* placement) {
  uint64_t pool[3] = {~uint64_t{0}, ~uint64_t{0}, (uint64_t{1} << (kSlotCount - 128)) - 1};
  uint32_t count0 = 64;
  uint32_t count1 = 64;
  for (int slot = 0; slot < kSlotCount; ++slot) {
    state = state * CrtRandom::kMultiplier + CrtRandom::kIncrement;
    uint32_t rank = kReciprocals.Mod((state >> 16) & 0x7FFF, static_cast<uint32_t>(kSlotCount - slot));
    const bool past0 = rank >= count0;
    const bool past1 = rank >= count0 + count1;
    const int word = past1 ? 2 : past0 ? 1 : 0;
    rank -= (past0 ? count0 : 0) + (past1 ? count1 : 0);
    const uint32_t bit = SelectBit(pool[word], rank);
    pool[word] &= ~(uint64_t{1} << bit);
    count0 -= word == 0;
    count1 -= word == 1;
    const int item = 64 * word + static_cast<int>(bit);
    placement[slot] = item;
    if ((early[item][slot >> 6] >> (slot & 63)) & 1) return -(slot + 1);
  }
  return kSlotCount;
}

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define VELMORA_HAVE_BMI2_DEAL 1
// The same deal over a bit set of the pool: the id of a given rank is found
// with a population count and a bit deposit.
__attribute__((target("bmi,bmi2,popcnt"))) int DealBmi2(uint32_t state,
                                                        const FastItemSearch::SlotMask* early,
                                                        int* placement) {
  // The pool's three words stay in registers, and the word that holds the
  // drawn rank is chosen with masks instead of branches, which the processor
  // could not predict.
  uint64_t pool0 = ~uint64_t{0};
  uint64_t pool1 = ~uint64_t{0};
  uint64_t pool2 = (uint64_t{1} << (kSlotCount - 128)) - 1;
  for (int slot = 0; slot < kSlotCount; ++slot) {
    state = state * CrtRandom::kMultiplier + CrtRandom::kIncrement;
    uint64_t rank = kReciprocals.Mod((state >> 16) & 0x7FFF, static_cast<uint32_t>(kSlotCount - slot));
    const uint64_t count0 = static_cast<uint64_t>(_mm_popcnt_u64(pool0));
    const uint64_t count1 = static_cast<uint64_t>(_mm_popcnt_u64(pool1));
    const uint64_t past0 = uint64_t{0} - static_cast<uint64_t>(rank >= count0);
    const uint64_t past1 = uint64_t{0} - static_cast<uint64_t>(rank >= count0 + count1);
    const uint64_t in0 = ~past0;
    const uint64_t in1 = past0 & ~past1;
    const uint64_t word = (pool0 & in0) | (pool1 & in1) | (pool2 & past1);
    rank -= (count0 & past0) + (count1 & past1);
    const uint64_t bit = _pdep_u64(uint64_t{1} << rank, word);
    pool0 ^= bit & in0;
    pool1 ^= bit & in1;
    pool2 ^= bit & past1;
    const int item = static_cast<int>(_tzcnt_u64(bit) + (past0 & 64) + (past1 & 64));
    placement[slot] = item;
    if ((early[item][slot >> 6] >> (slot & 63)) & 1) return -(slot + 1);
  }
  return kSlotCount;
}
#endif


#if defined(VELMORA_HAVE_BMI2_DEAL)
#define VELMORA_HAVE_VECTOR_DEAL 1
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
  source.sixteen_deals = LcgJump::For(kDealDraws * kLanes);
  const LcgJump one_deal = LcgJump::For(kDealDraws);
  uint32_t state = LcgJump::For(kDealDraws * (first - 1)).Apply(loop_start);
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
__attribute__((target(VELMORA_VECTOR_ISA))) void DealSurvivorsVector(
    uint32_t loop_start, uint64_t first, uint64_t last, const uint32_t* early_by_slot,
    std::vector<uint64_t>& survivors) {
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
#endif

#if defined(__wasm_simd128__)
#define VELMORA_HAVE_WASM_DEAL 1
// The population count of each 32-bit lane of `x`, whose bits lie in the
// lane's low `kWidth` bits (at most 16): the counts of the bytes above are 0,
// so the byte counts, or their sums by pairs, already are the lane's count.
template <int kWidth>
inline v128_t PopCountLow(v128_t x) {
  static_assert(kWidth <= 16);
  if constexpr (kWidth == 1) return x;
  if constexpr (kWidth <= 8) return wasm_i8x16_popcnt(x);
  return wasm_u16x8_extadd_pairwise_u8x16(wasm_i8x16_popcnt(x));
}

// One halving step of finding the set bit of rank `rank` in `word`, as in
// the AVX-512 deal.
template <int kWidth>
inline void HalveWasm(v128_t& word, v128_t& rank, v128_t& position) {
  const v128_t low = wasm_v128_and(word, wasm_u32x4_splat((uint32_t{1} << kWidth) - 1));
  const v128_t count = PopCountLow<kWidth>(low);
  const v128_t high = wasm_u32x4_ge(rank, count);
  rank = wasm_i32x4_sub(rank, wasm_v128_and(count, high));
  word = wasm_v128_bitselect(wasm_u32x4_shr(word, kWidth), low, high);
  position = wasm_i32x4_add(position, wasm_v128_and(wasm_i32x4_splat(kWidth), high));
}

// Attempts `first` to `last` dealt four at a time in WebAssembly SIMD lanes,
// as DealSelect deals them; a lane whose deal ends (given up, or dealt to the
// last slot) takes the next attempt at once. The attempts dealt to their end
// are appended to `survivors`, in no particular order. Each lane keeps its
// slot and the pool as six 32-bit words with their counts; `early_by_slot` is
// the table of items to give up on, six words a slot.
void DealSurvivorsWasm(uint32_t loop_start, uint64_t first, uint64_t last,
                       const uint32_t* early_by_slot, std::vector<uint64_t>& survivors) {
  constexpr int kWasmLanes = 4;
  constexpr int kWords = 6;
  constexpr uint32_t kLastWordBits = kSlotCount - 32 * (kWords - 1);
  const LcgJump one_deal = LcgJump::For(kDealDraws);
  uint32_t next_state = LcgJump::For(kDealDraws * (first - 1)).Apply(loop_start);
  uint64_t next = first;
  uint64_t attempt[kWasmLanes] = {};
  bool active[kWasmLanes] = {};
  int active_lanes = 0;
  const v128_t multiplier = wasm_i32x4_splat(static_cast<int32_t>(CrtRandom::kMultiplier));
  const v128_t increment = wasm_i32x4_splat(static_cast<int32_t>(CrtRandom::kIncrement));
  const v128_t zero = wasm_i32x4_splat(0);
  v128_t full_pool[kWords];
  v128_t full_count[kWords];
  for (int w = 0; w < kWords; ++w) {
    const bool full = w + 1 < kWords;
    full_pool[w] = wasm_u32x4_splat(full ? ~uint32_t{0} : (uint32_t{1} << kLastWordBits) - 1);
    full_count[w] = wasm_u32x4_splat(full ? 32 : kLastWordBits);
  }
  v128_t state = zero;
  v128_t slot = zero;
  v128_t pool[kWords];
  v128_t count[kWords];

  // Lanes `done` (a lane mask, and its bits) record their survivor and start
  // the next attempt; those left over when none remain stop being active.
  alignas(16) uint32_t lane_state[kWasmLanes];
  auto refill = [&](v128_t done, int done_bits, int dealt_bits) {
    wasm_v128_store(lane_state, state);
    for (int k = 0; k < kWasmLanes; ++k) {
      if (((done_bits >> k) & 1) == 0) continue;
      if (active[k] && ((dealt_bits >> k) & 1)) survivors.push_back(attempt[k]);
      active_lanes -= active[k];
      active[k] = next <= last;
      if (!active[k]) continue;
      ++active_lanes;
      attempt[k] = next++;
      lane_state[k] = next_state;
      next_state = one_deal.Apply(next_state);
    }
    state = wasm_v128_load(lane_state);
    slot = wasm_v128_bitselect(zero, slot, done);
    for (int w = 0; w < kWords; ++w) {
      pool[w] = wasm_v128_bitselect(full_pool[w], pool[w], done);
      count[w] = wasm_v128_bitselect(full_count[w], count[w], done);
    }
  };
  refill(wasm_i32x4_splat(-1), 0xF, 0);

  // Lanes are refilled only every few draws, as in the AVX-512 deal: a lane
  // whose deal ended goes on drawing unseen until then (the table has blank
  // rows past the last slot for it).
  constexpr int kWasmStepsPerRefill = 4;
  static_assert(kWasmStepsPerRefill <= kStepsPerRefill);
  while (active_lanes > 0) {
   v128_t rejected = zero;
   v128_t dealt = zero;
   for (int step = 0; step < kWasmStepsPerRefill; ++step) {
    state = wasm_i32x4_add(wasm_i32x4_mul(state, multiplier), increment);
    const v128_t drawn = wasm_v128_and(wasm_u32x4_shr(state, 16), wasm_u32x4_splat(0x7FFF));
    const v128_t size = wasm_i32x4_sub(wasm_i32x4_splat(kSlotCount), slot);
    // Rounding down the single-precision quotient of two whole numbers below
    // 2^15 is exact (see the AVX-512 deal).
    const v128_t quotient = wasm_i32x4_trunc_sat_f32x4(
        wasm_f32x4_div(wasm_f32x4_convert_i32x4(drawn), wasm_f32x4_convert_i32x4(size)));
    v128_t rank = wasm_i32x4_sub(drawn, wasm_i32x4_mul(quotient, size));

    // The pool word that holds the rank, from the counts of the words.
    v128_t word = pool[0];
    v128_t before = zero;
    v128_t which = zero;
    v128_t total = zero;
    for (int w = 1; w < kWords; ++w) {
      total = wasm_i32x4_add(total, count[w - 1]);
      const v128_t past = wasm_u32x4_ge(rank, total);
      word = wasm_v128_bitselect(pool[w], word, past);
      before = wasm_v128_bitselect(total, before, past);
      which = wasm_i32x4_sub(which, past);
    }
    rank = wasm_i32x4_sub(rank, before);
    v128_t position = zero;
    HalveWasm<16>(word, rank, position);
    HalveWasm<8>(word, rank, position);
    HalveWasm<4>(word, rank, position);
    HalveWasm<2>(word, rank, position);
    HalveWasm<1>(word, rank, position);
    // 2^position, made as the single-precision number of that exponent.
    const v128_t bit = wasm_u32x4_trunc_sat_f32x4(
        wasm_i32x4_shl(wasm_i32x4_add(position, wasm_i32x4_splat(127)), 23));
    for (int w = 0; w < kWords; ++w) {
      const v128_t here = wasm_i32x4_eq(which, wasm_i32x4_splat(w));
      pool[w] = wasm_v128_xor(pool[w], wasm_v128_and(bit, here));
      count[w] = wasm_i32x4_add(count[w], here);
    }

    // Each lane's word of items to give up on at its slot.
    const v128_t index = wasm_i32x4_add(wasm_i32x4_mul(slot, wasm_i32x4_splat(kWords)), which);
    const v128_t give_up = wasm_u32x4_make(early_by_slot[wasm_u32x4_extract_lane(index, 0)],
                                           early_by_slot[wasm_u32x4_extract_lane(index, 1)],
                                           early_by_slot[wasm_u32x4_extract_lane(index, 2)],
                                           early_by_slot[wasm_u32x4_extract_lane(index, 3)]);
    const v128_t rejected_now = wasm_i32x4_ne(wasm_v128_and(give_up, bit), zero);
    slot = wasm_i32x4_add(slot, wasm_i32x4_splat(1));
    const v128_t last_slot = wasm_i32x4_eq(slot, wasm_i32x4_splat(kSlotCount));
    dealt = wasm_v128_or(dealt, wasm_v128_andnot(wasm_v128_andnot(last_slot, rejected_now), rejected));
    rejected = wasm_v128_or(rejected, rejected_now);
   }
    const v128_t done = wasm_v128_or(rejected, dealt);
    if (wasm_v128_any_true(done)) refill(done, wasm_i32x4_bitmask(done), wasm_i32x4_bitmask(dealt));
  }
}
#endif

DealFunction ChooseDeal() {
#ifdef VELMORA_HAVE_BMI2_DEAL
  __builtin_cpu_init();
  if (__builtin_cpu_supports("bmi2") && __builtin_cpu_supports("popcnt")) return DealBmi2;
#endif
  return DealSelect;
}

const DealFunction kDeal = ChooseDeal();

bool VectorDealSupported() {
#if defined(VELMORA_HAVE_WASM_DEAL)
  return true;
#elif defined(VELMORA_HAVE_VECTOR_DEAL)
  __builtin_cpu_init();
  return __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512dq") &&
         __builtin_cpu_supports("avx512vpopcntdq") && __builtin_cpu_supports("bmi2") &&
         __builtin_cpu_supports("popcnt");
#else
  return false;
#endif
}

const bool kVectorDeal = VectorDealSupported();

}  // namespace

FastItemSearch::FastItemSearch(const GeneratorState& state, std::vector<int> pinned_slots)
    : pins_(std::move(pinned_slots)) {
  for (int slot : pins_) pinned_[slot] = true;

  // The rules of every area that holds a slot, in the form the check reads
  // them: the required list, then the alternatives up to the first missing
  // or empty index.
  std::map<int, int> rules_of_area;
  for (int slot = 0; slot < kSlotCount; ++slot) {
    const int area = state.m_slotArea.at(slot);
    auto [it, inserted] = rules_of_area.try_emplace(area, static_cast<int>(rules_.size()));
    if (inserted) {
      AreaRules rules;
      const AreaNeeds needs = NeedsOf(state.m_areaRequirements, area);
      rules.required.assign(needs.all.begin(), needs.all.end());
      for (const std::span<const int> alternative : needs.alternatives)
        rules.alternatives.emplace_back(alternative.begin(), alternative.end());
      rules_.push_back(std::move(rules));
    }
    slot_rules_[slot] = it->second;
  }

  auto mark = [this](int item, int slot) {
    reject_[item][slot >> 6] |= uint64_t{1} << (slot & 63);
  };
  for (const auto& [item, areas] : state.m_itemForbiddenAreas) {
    if (!IsSlotItem(item)) continue;
    const std::set<int> forbidden(areas.begin(), areas.end());
    for (int slot = 0; slot < kSlotCount; ++slot)
      if (forbidden.count(state.m_slotArea[slot])) mark(item, slot);
  }

  // An item whose slot's area requires the item itself, directly or through
  // the required lists of pinned items (whose slots never change), is never
  // proved reachable: it is on the visiting list while its own search runs.
  for (int slot = 0; slot < kSlotCount; ++slot) {
    std::set<int> needed;
    std::vector<int> pending = rules_[slot_rules_[slot]].required;
    while (!pending.empty()) {
      const int item = pending.back();
      pending.pop_back();
      if (!IsSlotItem(item) || !needed.insert(item).second) continue;
      if (pinned_[item]) {
        const auto& more = rules_[slot_rules_[item]].required;
        pending.insert(pending.end(), more.begin(), more.end());
      }
    }
    for (int item : needed) mark(item, slot);
  }

  // Pins never move an item that is not pinned out of a slot that is not
  // pinned, so such an item in a failing slot fails the attempt while the
  // deal is still being made.
  for (int item = 0; item < kSlotCount; ++item) {
    if (pinned_[item]) continue;
    early_[item] = reject_[item];
    for (int slot : pins_) early_[item][slot >> 6] &= ~(uint64_t{1} << (slot & 63));
  }
  early_by_slot_.assign(kSlotCount + kStepsPerRefill, ItemMask{});
  for (int item = 0; item < kSlotCount; ++item)
    for (int slot = 0; slot < kSlotCount; ++slot)
      if ((early_[item][slot >> 6] >> (slot & 63)) & 1)
        early_by_slot_[slot][item >> 6] |= uint64_t{1} << (item & 63);
}

bool FastItemSearch::KernelAvailable(DealKernel kernel) {
  switch (kernel) {
    case DealKernel::kBytes:
      return true;
    case DealKernel::kBitSet:
      return kDeal != DealSelect;
    case DealKernel::kSelect:
      return true;
    case DealKernel::kVector:
      return kVectorDeal;
  }
  return false;
}

std::vector<uint64_t> FastItemSearch::DealSurvivors(uint32_t loop_start, uint64_t first,
                                                    uint64_t last, DealKernel kernel) const {
  std::vector<uint64_t> survivors;
  if (first > last || !KernelAvailable(kernel)) return survivors;
#ifdef VELMORA_HAVE_VECTOR_DEAL
  if (kernel == DealKernel::kVector) {
    // The rows of 64-bit words read as rows of six 32-bit words, low first.
    static_assert(sizeof(ItemMask) == kPoolWords * sizeof(uint32_t));
    const auto* table = reinterpret_cast<const uint32_t*>(early_by_slot_.data());
    for (uint64_t from = first;; from += kVectorRun) {
      const uint64_t to = last - from < kVectorRun ? last : from + (kVectorRun - 1);
      DealSurvivorsVector(loop_start, from, to, table, survivors);
      if (to == last) break;
    }
    std::sort(survivors.begin(), survivors.end());
    return survivors;
  }
#endif
#ifdef VELMORA_HAVE_WASM_DEAL
  if (kernel == DealKernel::kVector) {
    static_assert(sizeof(ItemMask) == 6 * sizeof(uint32_t));
    DealSurvivorsWasm(loop_start, first, last,
                      reinterpret_cast<const uint32_t*>(early_by_slot_.data()), survivors);
    std::sort(survivors.begin(), survivors.end());
    return survivors;
  }
#endif
  const DealFunction deal = kernel == DealKernel::kBytes    ? DealPortable
                           : kernel == DealKernel::kSelect ? DealSelect
                                                           : kDeal;
  const LcgJump one_deal = LcgJump::For(kDealDraws);
  uint32_t state = LcgJump::For(kDealDraws * (first - 1)).Apply(loop_start);
  int placement[kSlotCount];
  for (uint64_t attempt = first; attempt <= last; ++attempt) {
    if (deal(state, early_.data(), placement) > 0) survivors.push_back(attempt);
    state = one_deal.Apply(state);
  }
  return survivors;
}

bool FastItemSearch::AttemptPasses(uint32_t state) const {
  Stats ignored;
  return AttemptPasses(state, ignored);
}

bool FastItemSearch::AttemptPasses(uint32_t state, Stats& stats) const {
  int placement[kSlotCount];
  const int dealt = kDeal(state, early_.data(), placement);
  if (dealt < 0) {
    stats.draws += static_cast<uint64_t>(-dealt);
    ++stats.rejected_while_dealing;
    return false;
  }
  stats.draws += kSlotCount;
  return FinishAttempt(placement, stats);
}

bool FastItemSearch::FinishAttempt(int* placement, Stats& stats) const {
  int slot_of[kSlotCount];
  for (int slot = 0; slot < kSlotCount; ++slot) slot_of[placement[slot]] = slot;
  for (int pin : pins_) {
    const int from = slot_of[pin];
    const int displaced = placement[pin];
    placement[from] = displaced;
    slot_of[displaced] = from;
    placement[pin] = pin;
    slot_of[pin] = pin;
  }
  for (int item = 0; item < kSlotCount; ++item) {
    const int slot = slot_of[item];
    if ((reject_[item][slot >> 6] >> (slot & 63)) & 1) {
      ++stats.rejected_after_pins;
      return false;
    }
  }
  ++stats.checked;
  return PassesCheck(slot_of);
}

// The reachability pass exactly as the check runs it, over the inverse of the
// placement: the same visiting list with the same additions and removals, so
// the same answer.
bool FastItemSearch::PassesCheck(const int* slot_of) const {
  // Top-level searches may push an item that is already listed, so the list
  // can hold each item at most twice.
  int visiting[2 * kSlotCount + 2];
  int visiting_size = 0;
  uint8_t on_list[kSlotCount] = {};
  for (int item = 0; item < kSlotCount; ++item)
    if (!Reachable(item, slot_of, visiting, visiting_size, on_list)) return false;
  return true;
}

bool FastItemSearch::Reachable(int item, const int* slot_of, int* visiting, int& visiting_size,
                               uint8_t* on_list) const {
  // An id that lies in no slot can never be reached.
  if (!IsSlotItem(item)) return false;
  const AreaRules& rules = rules_[slot_rules_[slot_of[item]]];
  visiting[visiting_size++] = item;
  ++on_list[item];
  auto listed = [on_list](int r) { return IsSlotItem(r) && on_list[r] != 0; };
  auto pop_last = [&] {
    --on_list[visiting[--visiting_size]];
  };
  for (int r : rules.required) {
    if (listed(r)) return false;
    if (r != -1 && !Reachable(r, slot_of, visiting, visiting_size, on_list)) return false;
  }
  if (rules.alternatives.empty()) {
    pop_last();
    return true;
  }
  for (const std::vector<int>& alternative : rules.alternatives) {
    bool passes = true;
    for (int r : alternative) {
      if (listed(r) || (r != -1 && !Reachable(r, slot_of, visiting, visiting_size, on_list))) {
        passes = false;
        break;
      }
    }
    if (passes) {
      pop_last();
      return true;
    }
  }
  return false;
}

uint64_t FastItemSearch::FindFirstPassing(uint32_t loop_start, uint64_t first, uint64_t last,
                                          int threads) const {
  if (first > last) return 0;
  const LcgJump one_deal = LcgJump::For(kDealDraws);
  // Judges attempts [from, to] in order; the first that passes, or 0.
  auto scan = [&](uint64_t from, uint64_t to) -> uint64_t {
    if (kVectorDeal) {
      // Deal in lanes, then judge the few deals that were not given up.
      for (uint64_t attempt : DealSurvivors(loop_start, from, to, DealKernel::kVector))
        if (AttemptPasses(LcgJump::For(kDealDraws * (attempt - 1)).Apply(loop_start)))
          return attempt;
      return 0;
    }
    uint32_t state = LcgJump::For(kDealDraws * (from - 1)).Apply(loop_start);
    for (uint64_t attempt = from; attempt <= to; ++attempt) {
      if (AttemptPasses(state)) return attempt;
      state = one_deal.Apply(state);
    }
    return 0;
  };
  if (threads <= 1 || last - first < 2 * kChunk) {
    for (uint64_t from = first; from <= last; from += kChunk)
      if (const uint64_t found = scan(from, std::min(last, from + kChunk - 1))) return found;
    return 0;
  }

  // Threads take chunks in increasing order and stop taking them beyond the
  // best attempt found; every chunk before it is finished before the join,
  // so the result is the first passing attempt whatever the timing.
  std::atomic<uint64_t> next_chunk{first};
  std::atomic<uint64_t> best{UINT64_MAX};
  auto worker = [&] {
    for (;;) {
      const uint64_t from = next_chunk.fetch_add(kChunk);
      if (from > last || from > best.load()) return;
      const uint64_t found = scan(from, std::min(last, from + kChunk - 1));
      if (found == 0) continue;
      uint64_t current = best.load();
      while (found < current && !best.compare_exchange_weak(current, found)) {
      }
      return;
    }
  };
  std::vector<std::thread> pool;
  for (int t = 1; t < threads; ++t) pool.emplace_back(worker);
  worker();
  for (std::thread& t : pool) t.join();
  const uint64_t result = best.load();
  return result == UINT64_MAX ? 0 : result;
}

}  // namespace velmora
