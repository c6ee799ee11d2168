#include "app/DialogTemplate.h"

#include <gtest/gtest.h>

#include <set>

#include "app/ControlIds.h"

namespace velmora {
namespace {

TEST(DialogTemplateTest, EveryNumberedControlIsThereOnceAnd1026IsUnused) {
  std::set<int> ids;
  for (const ControlSpec& c : DialogControls()) {
    if (c.id != -1) {
      EXPECT_TRUE(ids.insert(c.id).second) << c.id;
    }
  }
  std::set<int> expected;
  for (int id = 1000; id <= 1038; ++id)
    if (id != 1026) expected.insert(id);
  EXPECT_EQ(ids, expected);
}

TEST(DialogTemplateTest, OnlyTheEnemyPanelStartsDisabledAndOnlyTheFinalLabelHidden) {
  std::set<int> panel(std::begin(kEnemyPanelIds), std::end(kEnemyPanelIds));
  EXPECT_EQ(panel.size(), 20u);
  for (const ControlSpec& c : DialogControls()) {
    if (c.id == -1) continue;
    EXPECT_EQ(c.disabled, panel.count(c.id) == 1) << c.id;
    EXPECT_EQ(c.hidden, c.id == kIdFinalLabel) << c.id;
  }
}

TEST(DialogTemplateTest, RadioGroupsStartAtTheirFirstButton) {
  for (int id : {kIdJill, kIdNormal, kIdTyrantOne, kIdYawnOne, kIdLisaOne, kIdTyrantFast})
    EXPECT_TRUE(FindControl(id)->group_start) << id;
  for (int id : {kIdChris, kIdHard, kIdTyrantMany, kIdYawnNone, kIdLisaMany, kIdTyrantRandom})
    EXPECT_FALSE(FindControl(id)->group_start) << id;
}

}  // namespace
}  // namespace velmora
