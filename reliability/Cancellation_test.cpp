// A generation asked to stop: it stops at the next block of item attempts or
// the next lock deal, and writes no file.
#include <gtest/gtest.h>

#include "app/ControlIds.h"
#include "cli/OptionsDialog.h"
#include "items/ItemLoop.h"
#include "output/OutputFiles.h"

namespace velmora {
namespace {

// A generation of seed 7 with the command line's `args`, on one search
// thread, that searches instead of looking the seed up, so that the search
// lasts long enough to be stopped.
struct Search {
  explicit Search(std::vector<std::string> args) : shown(Parse(std::move(args)), files) {
    dialog.m_searchThreads = 1;
  }
  static CommandLineOptions Parse(std::vector<std::string> args) {
    args.insert(args.begin(), {"velmora", "--seed", "7", "--no-attempt-index"});
    return ParseCommandLine(args).options.value();
  }
  std::string Log() const { return shown.window.GetControlText(kIdStatus); }

  MemoryOutputFiles files;
  OptionsDialog shown;
  CVelmoraDlg& dialog = shown.dialog;
};

// Asked to stop before it starts, a generation of any kind writes and logs
// nothing, also one whose stages do no search.
TEST(CancellationTest, CancelledBeforeTheStartWritesNothing) {
  for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
           {}, {"--character=chris", "--difficulty=hard", "--locks"}, {"--doors"},
           {"--character=chris", "--no-items"}}) {
    Search g(args);
    g.dialog.RequestCancel();
    g.dialog.OnBnClickedGenerateSeed();
    EXPECT_TRUE(g.files.files().empty()) << args.size();
    EXPECT_EQ(g.Log(), "");
    EXPECT_FALSE(g.shown.window.IsControlVisible(kIdFinalLabel));
  }
}

// Chris on Normal with seed 7 needs over 13 million attempts: the search is
// stopped after its third block. Blocks end at attempts 10,001, 20,002 and
// 30,003, and a mark stands before the second and the third.
TEST(CancellationTest, ItemSearchStopsAfterTheBlockInWhichItWasAsked) {
  Search g({"--character=chris"});
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
  Search g({"--character=chris", "--locks"});
  int reports = 0;
  g.dialog.m_searchProgress = [&](uint64_t) {
    ++reports;
    g.dialog.RequestCancel();
  };
  g.dialog.OnBnClickedGenerateSeed();
  EXPECT_EQ(reports, 1);
  EXPECT_FALSE(g.dialog.m_placementValid);
  EXPECT_TRUE(g.files.files().empty());
  EXPECT_EQ(g.Log().find("done after"), std::string::npos) << g.Log();
}

// The literal loop, which has no blocks of its own, stops at its first mark:
// after 10,001 attempts, with no mark written.
TEST(CancellationTest, LiteralLoopStopsAtItsFirstMark) {
  Search g({});
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
