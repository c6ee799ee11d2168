// The deal of four attempts side by side in WebAssembly SIMD lanes, written
// with the SIMD128 intrinsics.
#include "app/Random.h"
#include "items/DealKernels.h"

#if defined(__wasm_simd128__)
#include <wasm_simd128.h>

namespace velmora {
namespace {

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
// the AVX-512 deal. `bit` follows the half that holds the rank, so it ends as
// the found bit itself: WebAssembly has no shift by a per-lane amount, and
// making the bit from its position through a float conversion costs more.
template <int kWidth>
inline void HalveWasm(v128_t& word, v128_t& rank, v128_t& bit) {
  const v128_t low = wasm_v128_and(word, wasm_u32x4_splat((uint32_t{1} << kWidth) - 1));
  const v128_t count = PopCountLow<kWidth>(low);
  // Lanes whose rank lies in the low half (the counts are small, so a signed
  // comparison serves).
  const v128_t in_low = wasm_i32x4_gt(count, rank);
  rank = wasm_i32x4_sub(rank, wasm_v128_andnot(count, in_low));
  word = wasm_v128_bitselect(low, wasm_u32x4_shr(word, kWidth), in_low);
  bit = wasm_v128_bitselect(bit, wasm_i32x4_shl(bit, kWidth), in_low);
}

// Attempts `first` to `last` dealt four at a time in WebAssembly SIMD lanes,
// as DealSelect deals them; a lane whose deal ends (given up, or dealt to the
// last slot) takes the next attempt at once. The attempts dealt to their end
// are appended to `survivors`, in no particular order. Each lane keeps its
// slot and the pool as six 32-bit words with their counts; `early_by_slot` is
// the table of items to give up on, six words a slot.
}  // namespace

void DealWasm(uint32_t loop_start, uint64_t first, uint64_t last,
                       const uint32_t* early_by_slot, std::vector<uint64_t>& survivors) {
  constexpr int kWasmLanes = 4;
  constexpr int kWords = 6;
  constexpr uint32_t kLastWordBits = kSlotCount - 32 * (kWords - 1);
  const LcgJump one_deal = LcgJump::For(kSlotCount);
  uint32_t next_state = LcgJump::For(kSlotCount * (first - 1)).Apply(loop_start);
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
    v128_t which = zero;
    v128_t total = zero;
    v128_t in_word = rank;
    for (int w = 1; w < kWords; ++w) {
      total = wasm_i32x4_add(total, count[w - 1]);
      // Lanes whose rank lies in a word before w (the counts are small, so a
      // signed comparison serves); the others skip word w - 1.
      const v128_t earlier = wasm_i32x4_gt(total, rank);
      word = wasm_v128_bitselect(word, pool[w], earlier);
      in_word = wasm_i32x4_sub(in_word, wasm_v128_andnot(count[w - 1], earlier));
      which = wasm_i32x4_add(which, earlier);
    }
    // The last word, less one for each word the rank lies before.
    which = wasm_i32x4_add(which, wasm_i32x4_splat(kWords - 1));
    rank = in_word;
    v128_t bit = wasm_i32x4_splat(1);
    HalveWasm<16>(word, rank, bit);
    HalveWasm<8>(word, rank, bit);
    HalveWasm<4>(word, rank, bit);
    HalveWasm<2>(word, rank, bit);
    HalveWasm<1>(word, rank, bit);
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
}  // namespace velmora
#endif
