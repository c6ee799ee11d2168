#include "doors/LockStage.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/ControlIds.h"
#include "catalogue/AreaTables.h"
#include "doors/LockRequirements.h"
#include "doors/LockShuffle.h"
#include "doors/doors_test.h"
#include "items/Pins.h"

namespace velmora {
namespace {

using doors_test::kErrorLine;
using doors_test::kOpenTwoDeal;

// kOpenTwoDeal with an Armor Key at position 3 and a reversed one-way door at
// 13: every way into area 86 then needs the Dog Collar (item 48), which is
// pinned to slot 48 inside area 86.
constexpr LockDeal kDogCollarLockedIn = {5, 0,  15, 0, 6, 4,  6, 0, 14, 14, 15, 5, 4,
                                         7, 14, 14, 5, 0, 2,  8, 6, 0,  6,  0,  0, 5,
                                         6, 4,  15, 13, 6, 11, 3, 4, 12, 1,  10, 10};

TEST(UnreachablePinnedItemsTest, FollowTheTables) {
  const struct {
    const char* name;
    std::map<int, int> areas;  // slot -> area; every other slot in area 0
    AreaRequirements table;
    std::vector<int> pinned, unreachable;
    size_t slots = kSlotCount;
  } cases[] = {
      {"APinnedItemOpensTheWayToAnEarlierOne", {{5, 1}, {6, 2}},
       {{1, {{0, {6}}}}, {2, {{0, {-1}}}}}, {5, 6}, {}},
      {"TheErrorMarkerAndACycleAreNeverObtained", {{7, 5}, {10, 3}},
       {{3, {{1, {7}}, {2, {-99}}}}, {5, {{0, {10}}}}}, {10, 7}, {7, 10}},
      {"AlternativesEndAtTheFirstEmptyIndex", {{11, 4}, {9, 6}},
       {{4, {{1, {}}, {2, {9}}}}, {6, {{0, {-99}}}}}, {9, 11}, {9}},
      {"ASlotWithoutAnAreaIsNeverReached", {}, {}, {48, 147}, {147}, 100}};
  for (const auto& c : cases) {
    std::vector<int> slot_area(c.slots, 0);
    for (const auto& [slot, area] : c.areas) slot_area[slot] = area;
    EXPECT_EQ(UnreachablePinnedItems(c.table, slot_area, c.pinned), c.unreachable) << c.name;
  }
}

// Locked in: 48 (area 86 needs 48 in every alternative), 90 and 91 (area 92
// needs 48), and for Jill on Normal 39 (area 117 copies area 86). The error
// marker in one of several ways in locks nothing in.
TEST(DealSolvabilityTest, PinnedItemsThatNoPlacementCanReach) {
  const struct {
    LockDeal deal;
    Character character;
    std::vector<int> unreachable;
  } cases[] = {{kDogCollarLockedIn, kJill, {39, 48, 90, 91}},
               {kDogCollarLockedIn, kChris, {48, 90, 91}},
               {kOpenTwoDeal, kJill, {}}};
  const LogSink discard = [](std::string_view) {};
  for (const auto& c : cases) {
    ASSERT_TRUE(BrokenLockRules(c.deal).empty());
    LockGates gates = BuildLockGates(c.deal, c.character, discard);
    const AreaRequirements table = DeriveLockRequirements(c.deal, gates, c.character, discard);
    const std::vector<int> pinned = PinnedSlots(c.character, kNormal);
    EXPECT_EQ(UnreachablePinnedItems(table, SlotAreas(c.character, true), pinned), c.unreachable)
        << (c.character == kJill ? "Jill" : "Chris");
  }
}

class LockStageTest : public DialogTest {
 protected:
  LockStageTest() { window.Click(kIdLocks); }
};

// Seed 4's first deal that breaks no rule locks the Dog Collar in, like
// kDogCollarLockedIn; the stage deals again.
TEST_F(LockStageTest, Seed4FirstAcceptsADealThatLocksTheDogCollarInAndDealsAgain) {
  window.Click(kIdItems);  // no trial: the lock stage alone
  dlg.FillSlotAreas();
  dlg.m_random.Seed(4);
  doors_test::FillUnshuffledPool(dlg);
  do {
    dlg.ShuffleLocks();
  } while (!dlg.LocksAreValid());
  EXPECT_FALSE(LockDealCanBeFinished(dlg));

  CVelmoraDlg fresh(window, files);
  fresh.FillSlotAreas();
  fresh.m_random.Seed(4);
  fresh.RunLockStage();
  EXPECT_TRUE(LockDealCanBeFinished(fresh));
}

// The fields a trial writes, besides the log and the placement flag, which
// is clear in every rejected trial.
void ExpectSameState(const GeneratorState& a, const GeneratorState& b) {
  EXPECT_EQ(a.m_placement, b.m_placement);
  EXPECT_EQ(a.m_enemyPositions, b.m_enemyPositions);
  EXPECT_EQ(a.m_itemForbiddenAreas, b.m_itemForbiddenAreas);
  EXPECT_EQ(a.m_areaRequirements, b.m_areaRequirements);
  EXPECT_EQ(a.m_lockGates, b.m_lockGates);
  EXPECT_EQ(a.m_random.state(), b.m_random.state());
}

// A trial of kOpenTwoDeal with enemies on and seed 99, after the pipeline's
// steps before the lock stage: bounded to one item attempt it is rejected
// and undone, unbounded it is kept and shows its log in one piece.
TEST_F(LockStageTest, ARejectedTrialIsUndoneAndAKeptOneShowsItsLogInOnePiece) {
  window.Click(kIdEnemies);
  dlg.OnBnClickedEnemies();
  dlg.FillEnemyPositions();
  dlg.FillItemNames();
  dlg.FillSlotAreas();
  dlg.m_random.Seed(99);
  dlg.m_lockTypes.assign(kOpenTwoDeal.begin(), kOpenTwoDeal.end());
  window.SetControlText(kIdStatus, "before");
  int log_changes = 0;
  window.SetTextListener([&log_changes](int id, const std::string&, const std::string&) {
    if (id == kIdStatus) ++log_changes;
  });
  const GeneratorState before = dlg;

  dlg.m_lockDealAttemptBound = 1;
  EXPECT_FALSE(LockTrial::Run(dlg));
  EXPECT_EQ(dlg.m_itemAttempts, 1u) << "the bound must reach the item loop";
  ExpectSameState(dlg, before);
  EXPECT_EQ(window.GetControlText(kIdStatus), "before");
  EXPECT_EQ(log_changes, 0);
  EXPECT_EQ(dlg.m_itemAttemptLimit, 0u);

  dlg.m_lockDealAttemptBound = 0;  // unbounded
  ASSERT_TRUE(LockTrial::Run(dlg));
  EXPECT_EQ(log_changes, 1);
  const std::string log = window.GetControlText(kIdStatus);
  const std::string passes = "Randomizing Enemies . . .done!\nRandomizing Items. . .";
  EXPECT_TRUE(log.starts_with("before" + kErrorLine + passes)) << log;
  EXPECT_TRUE(log.ends_with("done after " + std::to_string(dlg.m_itemAttempts) + " attempts!\n"));
  EXPECT_EQ(dlg.m_areaRequirements.at(86).at(2), (std::vector<int>{-1, -99}));

  // The log is no longer held back afterwards.
  dlg.AppendStatus("!");
  EXPECT_EQ(window.GetControlText(kIdStatus), log + "!");
}

// A whole generation runs the enemy and item passes once, inside the kept
// trial.
TEST_F(LockStageTest, AGenerationWithLocksRunsTheEnemyAndItemPassesOnce) {
  window.Click(kIdEnemies);
  dlg.OnBnClickedEnemies();
  dlg.SetSeedSource([] { return 1u; });
  dlg.OnBnClickedGenerateSeed();

  EXPECT_TRUE(dlg.m_lockStageRanItems);
  const std::string log = window.GetControlText(kIdStatus);
  EXPECT_NE(log.find("Randomizing Enemies . . .done!\nRandomizing Items. . ."), std::string::npos) << log;
  for (const char* pass : {"Randomizing Enemies", "Randomizing Items"})
    EXPECT_EQ(log.find(pass), log.rfind(pass)) << pass;
}

}  // namespace
}  // namespace velmora
