#include "app/Random.h"

namespace velmora {

LcgJump LcgJump::For(uint64_t steps) {
  // Square-and-multiply over affine maps: composing x -> a1*x + c1 after
  // x -> a2*x + c2 gives x -> a1*a2*x + (a1*c2 + c1), all mod 2^32.
  uint32_t acc_mul = 1, acc_inc = 0;
  uint32_t cur_mul = CrtRandom::kMultiplier, cur_inc = CrtRandom::kIncrement;
  while (steps > 0) {
    if (steps & 1) {
      acc_mul = acc_mul * cur_mul;
      acc_inc = acc_inc * cur_mul + cur_inc;
    }
    cur_inc = cur_inc * cur_mul + cur_inc;
    cur_mul = cur_mul * cur_mul;
    steps >>= 1;
  }
  return {acc_mul, acc_inc};
}

uint32_t LcgDistance(uint32_t from, uint32_t to) {
  // Bit by bit from the lowest: bit k of the state repeats with period 2^(k+1)
  // along the cycle, so once the low k bits of `from` and `to` agree, a jump
  // of 2^k steps is exactly what sets bit k of the distance, and it leaves
  // the lower bits as they are. The affine map of 2^k steps is squared from
  // the one of 2^(k-1) steps.
  uint32_t multiplier = CrtRandom::kMultiplier, increment = CrtRandom::kIncrement;
  uint32_t distance = 0;
  for (uint32_t bit = 1; from != to; bit <<= 1) {
    if ((from ^ to) & bit) {
      from = from * multiplier + increment;
      distance |= bit;
    }
    increment = (multiplier + 1) * increment;
    multiplier *= multiplier;
  }
  return distance;
}

void CrtRandom::Skip(uint64_t steps) { state_ = LcgJump::For(steps).Apply(state_); }

}  // namespace velmora
