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

void CrtRandom::Skip(uint64_t steps) { state_ = LcgJump::For(steps).Apply(state_); }

}  // namespace velmora
