#include "app/Random.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

TEST(CrtRandomTest, SeedOneGivesTheClassicRuntimeSequence) {
  CrtRandom r;
  r.Seed(1);
  // The first values the classic runtime's rand() returns after srand(1).
  EXPECT_EQ(r.Next(), 41);
  EXPECT_EQ(r.Next(), 18467);
  EXPECT_EQ(r.Next(), 6334);
  EXPECT_EQ(r.Next(), 26500);
  EXPECT_EQ(r.Next(), 19169);
}

TEST(CrtRandomTest, StateWrapsModulo2To32AndValuesStayIn15Bits) {
  CrtRandom r;
  r.Seed(0xFFFFFFFFu);
  // 0xFFFFFFFF * 214013 + 2531011 mod 2^32 = 2316998 -> (2316998 >> 16) = 35.
  EXPECT_EQ(r.Next(), 35);
  EXPECT_EQ(r.state(), 2316998u);
}

class SkipTest : public ::testing::TestWithParam<uint64_t> {};

TEST_P(SkipTest, SkipEqualsThatManySteps) {
  const uint64_t steps = GetParam();
  CrtRandom stepped, jumped;
  stepped.Seed(123456789u);
  jumped.Seed(123456789u);
  for (uint64_t i = 0; i < steps; ++i) stepped.Next();
  jumped.Skip(steps);
  EXPECT_EQ(stepped.state(), jumped.state());
}

INSTANTIATE_TEST_SUITE_P(Steps, SkipTest, ::testing::Values(0, 1, 2, 3, 185, 186, 1000, 185 * 10001));

TEST(CrtRandomTest, SkipByThePeriodReturnsToTheStart) {
  CrtRandom r;
  r.Seed(99);
  r.Skip(uint64_t{1} << 32);
  EXPECT_EQ(r.state(), 99u);
}

// The distance undoes a jump of known length, from the shortest to the
// longest the cycle has, and counts the single steps of a short walk.
TEST(LcgDistanceTest, IsTheLengthOfTheJumpBetweenTwoStates) {
  for (uint32_t from : {0u, 1u, 99u, 0xFFFFFFFFu}) {
    for (uint64_t steps : {uint64_t{0}, uint64_t{1}, uint64_t{2}, uint64_t{185},
                           uint64_t{185} * 10001, uint64_t{0x80000000}, uint64_t{0xFFFFFFFE},
                           uint64_t{0xFFFFFFFF}}) {
      EXPECT_EQ(LcgDistance(from, LcgJump::For(steps).Apply(from)), steps)
          << "from " << from << " steps " << steps;
    }
  }
  CrtRandom r;
  r.Seed(4242);
  for (uint32_t steps = 0; steps < 3000; ++steps, r.Next())
    ASSERT_EQ(LcgDistance(4242, r.state()), steps);
}

}  // namespace
}  // namespace velmora
