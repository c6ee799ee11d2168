// The deal one attempt at a time over a bit set of the pool: the id of a
// given rank is found with a population count and a bit deposit (BMI2).
#include "app/Random.h"
#include "items/DealKernels.h"

#if defined(__x86_64__)
#include <immintrin.h>

namespace velmora {

__attribute__((target("bmi,bmi2,popcnt"))) int DealBmi2(uint32_t state, const SlotMask* early,
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
}  // namespace velmora
#endif
