// The generator's one random source: the classic C runtime linear
// congruential generator, so that a seed number gives the same draws on
// every platform and with every compiler.
#pragma once

#include <cstdint>

namespace velmora {

class CrtRandom {
 public:
  static constexpr uint32_t kMultiplier = 214013u;
  static constexpr uint32_t kIncrement = 2531011u;

  /// Sets the state, as srand does.
  void Seed(uint32_t seed) { state_ = seed; }

  /// Advances the state once and returns a value 0..32767, as rand does.
  int Next() {
    state_ = state_ * kMultiplier + kIncrement;
    return static_cast<int>((state_ >> 16) & 0x7FFF);
  }

  /// A draw from n: Next() modulo n (n > 0).
  int Draw(int n) {
    return static_cast<int>(static_cast<unsigned>(Next()) % static_cast<unsigned>(n));
  }

  /// Advances the state by `steps` calls of Next() at once.
  void Skip(uint64_t steps);

  uint32_t state() const { return state_; }
  void set_state(uint32_t state) { state_ = state; }

 private:
  uint32_t state_ = 1;
};

/// The affine map state -> a*state + c that `steps` calls of Next() apply.
struct LcgJump {
  uint32_t multiplier;
  uint32_t increment;
  static LcgJump For(uint64_t steps);
  uint32_t Apply(uint32_t state) const { return state * multiplier + increment; }
};

/// The number of calls of Next() that lead from state `from` to state `to`,
/// 0 to 2^32 - 1. Every state lies on the generator's one cycle of 2^32
/// states, so the answer always exists and is unique.
uint32_t LcgDistance(uint32_t from, uint32_t to);

}  // namespace velmora
