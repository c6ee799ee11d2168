// A generation asked to stop: it stops at the next block of item attempts or
// the next lock deal, and writes no file.
#include <gtest/gtest.h>

#include "app/ControlIds.h"
#include "app/MemoryWindow.h"
#include "app/VelmoraDlg.h"
#include "items/ItemLoop.h"
#include "output/OutputFiles.h"

namespace velmora {
namespace {

struct Selection {
  const char* name;
  bool chris;
  bool hard;
  bool items;
  bool doors;
  bool locks;
};

class Generation {
 public:
  explicit Generation(const Selection& s, uint32_t seed) : dlg(window, files) {
    dlg.OnInitDialog();
    window.Click(s.chris ? kIdChris : kIdJill);
    window.Click(s.hard ? kIdHard : kIdNormal);
    if (window.IsChecked(kIdItems) != s.items) window.Click(kIdItems);
    if (s.doors) {
      window.Click(kIdDoors);
      dlg.OnBnClickedDoors();
    }
    if (s.locks) window.Click(kIdLocks);
    dlg.SetSeedSource([seed] { return seed; });
    dlg.m_searchThreads = 1;
    dlg.m_useAttemptIndex = false;  // a search, long enough to be stopped
  }
  std::string Log() const { return window.GetControlText(kIdStatus); }

  MemoryWindow window;
  MemoryOutputFiles files;
  CVelmoraDlg dlg;
};

class CancelledBeforeStartTest : public ::testing::TestWithParam<Selection> {};

TEST_P(CancelledBeforeStartTest, WritesNothing) {
  Generation g(GetParam(), 7);
  g.dlg.RequestCancel();
  g.dlg.OnBnClickedGenerateSeed();
  EXPECT_TRUE(g.files.files().empty());
  EXPECT_EQ(g.Log(), "");
  EXPECT_FALSE(g.window.IsControlVisible(kIdFinalLabel));
}

INSTANTIATE_TEST_SUITE_P(
    All, CancelledBeforeStartTest,
    ::testing::Values(Selection{"JillItems", false, false, true, false, false},
                      Selection{"ChrisHardLocks", true, true, true, false, true},
                      Selection{"JillDoors", false, false, true, true, false},
                      Selection{"ChrisNoItems", true, false, false, false, false}),
    [](const ::testing::TestParamInfo<Selection>& param) { return std::string(param.param.name); });

// Chris on Normal with seed 7 needs over 13 million attempts: the search is
// stopped after its third block. Blocks end at attempts 10,001, 20,002 and
// 30,003, and a mark stands before the second and the third.
TEST(CancellationTest, ItemSearchStopsAfterTheBlockInWhichItWasAsked) {
  Generation g({"", true, false, true, false, false}, 7);
  std::vector<uint64_t> reported;
  g.dlg.m_searchProgress = [&](uint64_t attempts) {
    reported.push_back(attempts);
    if (reported.size() == 3) g.dlg.RequestCancel();
  };
  g.dlg.OnBnClickedGenerateSeed();
  EXPECT_EQ(reported, (std::vector<uint64_t>{10001, 20002, 30003}));
  EXPECT_EQ(g.Log(), "Randomizing Items. . . . .");
  EXPECT_FALSE(g.dlg.m_placementValid);
  EXPECT_EQ(g.dlg.m_itemAttempts, 30003u);
  EXPECT_TRUE(g.files.files().empty());
}

// With locks, each deal's item search reports its own attempts; a stop ends
// the deal's trial, which is then dropped with its held-back log, and the
// lock stage deals no more.
TEST(CancellationTest, LockStageStopsWithTheTrialOfItsDeal) {
  Generation g({"", true, false, true, false, true}, 7);
  int reports = 0;
  g.dlg.m_searchProgress = [&](uint64_t) {
    ++reports;
    g.dlg.RequestCancel();
  };
  g.dlg.OnBnClickedGenerateSeed();
  EXPECT_EQ(reports, 1);
  EXPECT_FALSE(g.dlg.m_placementValid);
  EXPECT_TRUE(g.files.files().empty());
  EXPECT_EQ(g.Log().find("Writing to"), std::string::npos) << g.Log();
  EXPECT_EQ(g.Log().find("done after"), std::string::npos) << g.Log();
}

// The literal loop, which has no blocks of its own, stops at its first mark:
// after 10,001 attempts, with no mark written.
TEST(CancellationTest, LiteralLoopStopsAtItsFirstMark) {
  Generation g({"", false, false, true, false, false}, 7);
  g.dlg.FillItemNames();
  g.dlg.FillSlotAreas();
  g.dlg.FillPlainAreaTables();
  // Slot 0's area needs an item no slot holds: no placement passes.
  g.dlg.m_areaRequirements[g.dlg.m_slotArea[0]][0] = {-99};
  g.dlg.RequestCancel();
  EXPECT_EQ(RunLiteralItemLoop(g.dlg, 0, 0, 0), 10001u);
  EXPECT_FALSE(g.dlg.m_placementValid);
  EXPECT_EQ(g.Log().find(" ."), std::string::npos);
}

}  // namespace
}  // namespace velmora
