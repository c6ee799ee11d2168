// A generation asked to stop: it stops at the next block of item attempts or
// the next lock deal, and writes no file.
#include <gtest/gtest.h>

#include "items/ItemLoop.h"
#include "verify/GeneratedItemList_test.h"

namespace velmora {
namespace {

// A generation of seed 7 that searches instead of looking the seed up, so
// that the search lasts long enough to be stopped.
struct Search : MemoryGeneration {
  explicit Search(CommandLineOptions o) : MemoryGeneration(NoIndex(o), 7) {}
  static CommandLineOptions NoIndex(CommandLineOptions o) {
    o.attempt_index = false;
    return o;
  }
};

CommandLineOptions Options(bool chris, bool hard, bool items, bool doors, bool locks) {
  CommandLineOptions o;
  o.chris = chris;
  o.hard = hard;
  o.items = items;
  o.doors = doors;
  o.locks = locks;
  return o;
}

class CancelledBeforeStartTest : public ::testing::TestWithParam<CommandLineOptions> {};

TEST_P(CancelledBeforeStartTest, WritesNothing) {
  Search g(GetParam());
  g.dialog.RequestCancel();
  g.dialog.OnBnClickedGenerateSeed();
  EXPECT_TRUE(g.files.files().empty());
  EXPECT_EQ(g.Log(), "");
  EXPECT_FALSE(g.window.IsControlVisible(kIdFinalLabel));
}

INSTANTIATE_TEST_SUITE_P(All, CancelledBeforeStartTest,
                         ::testing::Values(Options(false, false, true, false, false),
                                           Options(true, true, true, false, true),
                                           Options(false, false, true, true, false),
                                           Options(true, false, false, false, false)));

// Chris on Normal with seed 7 needs over 13 million attempts: the search is
// stopped after its third block. Blocks end at attempts 10,001, 20,002 and
// 30,003, and a mark stands before the second and the third.
TEST(CancellationTest, ItemSearchStopsAfterTheBlockInWhichItWasAsked) {
  Search g(Options(true, false, true, false, false));
  std::vector<uint64_t> reported;
  g.dialog.m_searchProgress = [&](uint64_t attempts) {
    reported.push_back(attempts);
    if (reported.size() == 3) g.dialog.RequestCancel();
  };
  g.dialog.OnBnClickedGenerateSeed();
  EXPECT_EQ(reported, (std::vector<uint64_t>{10001, 20002, 30003}));
  EXPECT_EQ(g.Log(), "Randomizing Items. . . . .");
  EXPECT_FALSE(g.dialog.m_placementValid);
  EXPECT_EQ(g.dialog.m_itemAttempts, 30003u);
  EXPECT_TRUE(g.files.files().empty());
}

// With locks, each deal's item search reports its own attempts; a stop ends
// the deal's trial, which is then dropped with its held-back log, and the
// lock stage deals no more.
TEST(CancellationTest, LockStageStopsWithTheTrialOfItsDeal) {
  Search g(Options(true, false, true, false, true));
  int reports = 0;
  g.dialog.m_searchProgress = [&](uint64_t) {
    ++reports;
    g.dialog.RequestCancel();
  };
  g.dialog.OnBnClickedGenerateSeed();
  EXPECT_EQ(reports, 1);
  EXPECT_FALSE(g.dialog.m_placementValid);
  EXPECT_TRUE(g.files.files().empty());
  EXPECT_EQ(g.Log().find("Writing to"), std::string::npos) << g.Log();
  EXPECT_EQ(g.Log().find("done after"), std::string::npos) << g.Log();
}

// The literal loop, which has no blocks of its own, stops at its first mark:
// after 10,001 attempts, with no mark written.
TEST(CancellationTest, LiteralLoopStopsAtItsFirstMark) {
  Search g(Options(false, false, true, false, false));
  g.dialog.FillItemNames();
  g.dialog.FillSlotAreas();
  g.dialog.FillPlainAreaTables();
  // Slot 0's area needs an item no slot holds: no placement passes.
  g.dialog.m_areaRequirements[g.dialog.m_slotArea[0]][0] = {-99};
  g.dialog.RequestCancel();
  EXPECT_EQ(RunLiteralItemLoop(g.dialog, 0, 0, 0), 10001u);
  EXPECT_FALSE(g.dialog.m_placementValid);
  EXPECT_EQ(g.Log().find(" ."), std::string::npos);
}

}  // namespace
}  // namespace velmora
