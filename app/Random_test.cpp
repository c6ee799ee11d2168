#include "app/Random.h"

#include <gtest/gtest.h>

#include <vector>

namespace velmora {
namespace {

TEST(CrtRandomTest, SeedOneGivesTheClassicRuntimeSequenceAndTheStateWrapsModulo2To32) {
  CrtRandom r;
  r.Seed(1);
  // The first values the classic runtime's rand() returns after srand(1).
  std::vector<int> values;
  for (int i = 0; i < 5; ++i) values.push_back(r.Next());
  EXPECT_EQ(values, (std::vector<int>{41, 18467, 6334, 26500, 19169}));
  r.Seed(0xFFFFFFFFu);
  // 0xFFFFFFFF * 214013 + 2531011 mod 2^32 = 2316998 -> (2316998 >> 16) = 35.
  EXPECT_EQ(r.Next(), 35);
  EXPECT_EQ(r.state(), 2316998u);
}

// Skip equals that many steps and the period returns to the start; the
// distance undoes a jump of known length, from the shortest to the longest
// the cycle has, and counts the single steps of a short walk.
TEST(CrtRandomTest, SkipJumpAndDistanceAgreeWithSingleSteps) {
  for (uint64_t steps : {0, 1, 2, 3, 185, 186, 1000, 185 * 10001}) {
    CrtRandom stepped, jumped;
    stepped.Seed(123456789u);
    jumped.Seed(123456789u);
    for (uint64_t i = 0; i < steps; ++i) stepped.Next();
    jumped.Skip(steps);
    EXPECT_EQ(stepped.state(), jumped.state()) << steps;
  }
  CrtRandom r;
  r.Seed(99);
  r.Skip(uint64_t{1} << 32);
  EXPECT_EQ(r.state(), 99u);
  for (uint32_t from : {0u, 1u, 99u, 0xFFFFFFFFu}) {
    for (uint64_t steps :
         {uint64_t{0}, uint64_t{1}, uint64_t{2}, uint64_t{185}, uint64_t{185} * 10001,
          uint64_t{0x80000000}, uint64_t{0xFFFFFFFE}, uint64_t{0xFFFFFFFF}}) {
      EXPECT_EQ(LcgDistance(from, LcgJump::For(steps).Apply(from)), steps)
          << "from " << from << " steps " << steps;
    }
  }
  r.Seed(4242);
  for (uint32_t steps = 0; steps < 3000; ++steps, r.Next())
    ASSERT_EQ(LcgDistance(4242, r.state()), steps);
}

}  // namespace
}  // namespace velmora
