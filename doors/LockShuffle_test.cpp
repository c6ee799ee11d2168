#include "doors/LockShuffle.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "doors/doors_test.h"

namespace velmora {
namespace {

using doors_test::kOpenTwoDeal;

class LockShuffleTest : public DialogTest {
 protected:
  LockShuffleTest() { doors_test::FillUnshuffledPool(dlg); }
};

// Over 300 seeds: one draw per position plus one coin toss per door that
// can be turned (positions 1, 2, 3, 4, 6, 8, 10, 13, 19 and 26 holding a
// one-way door). That the deal keeps the game's locks and turns only those
// doors the verifier checks on every lock seed of the property run.
TEST_F(LockShuffleTest, ADealDrawsOncePerPositionAndOncePerTurnableDoor) {
  int coin_tosses_seen = 0;
  for (uint32_t seed = 0; seed < 300; ++seed) {
    dlg.m_random.Seed(seed);
    dlg.ShuffleLocks();
    ASSERT_EQ(dlg.m_lockTypes.size(), 38u);
    int draws = 38;
    for (int p : {1, 2, 3, 4, 6, 8, 10, 13, 19, 26})
      if (dlg.m_lockTypes[p] >= 6 && dlg.m_lockTypes[p] <= 9) ++draws;
    coin_tosses_seen += draws - 38;
    CrtRandom reference;
    reference.Seed(seed);
    reference.Skip(static_cast<uint64_t>(draws));
    EXPECT_EQ(dlg.m_random.state(), reference.state()) << "seed " << seed;
  }
  EXPECT_GT(coin_tosses_seen, 0);
}

// Changes to kOpenTwoDeal (position -> type) and the rules they break.
TEST(LockRuleTest, BrokenRulesOfAHandmadeDeal) {
  const struct {
    std::map<int, int> changes;
    std::vector<int> broken;
  } cases[] = {{{}, {}},
               {{{1, 7}, {6, 9}}, {1}},  // two reversed doors at 1 and 6
               {{{1, 6}, {2, 6}, {3, 6}, {4, 6}, {13, 7}}, {2}},
               {{{1, 6}, {2, 6}, {3, 6}, {4, 5}, {13, 7}}, {}},  // the Old Key at 4 leaves a way in
               {{{3, 9}, {13, 7}}, {3}},
               {{{30, 15}}, {}},
               {{{30, 7}}, {4}},
               {{{26, 0}}, {5}},  // locked 26 without an open 8
               {{{26, 0}, {8, 7}}, {}},
               {{{15, 8}, {10, 14}, {28, 4}, {22, 15}}, {6}},  // mixed 15 without an open partner
               {{{15, 14}, {10, 0}, {28, 4}, {22, 15}}, {7}},  // 15 shares no key with its partners
               {{{10, 7}, {15, 14}, {22, 6}, {28, 4}}, {8}},
               {{{15, 0}, {10, 0}, {22, 4}, {28, 4}}, {9}}};  // 10 shares only with 15
  for (const auto& c : cases) {
    LockDeal deal = kOpenTwoDeal;
    for (const auto& [position, type] : c.changes) deal[position] = type;
    EXPECT_EQ(BrokenLockRules(deal), c.broken) << ::testing::PrintToString(c.changes);
  }
}

}  // namespace
}  // namespace velmora
