#include "app/DialogTemplate.h"

#include <gtest/gtest.h>

#include <set>

#include "app/ControlIds.h"

namespace velmora {
namespace {

// Every numbered control 1000..1038 but the unused 1026 is there once; only
// the 20 controls of the enemy panel start disabled, only the final label
// hidden; each radio group starts at its first button.
TEST(DialogTemplateTest, ControlsIdsStartStatesAndRadioGroups) {
  const std::set<int> panel(std::begin(kEnemyPanelIds), std::end(kEnemyPanelIds));
  EXPECT_EQ(panel.size(), 20u);
  std::set<int> ids;
  for (const ControlSpec& c : DialogControls()) {
    if (c.id == -1) continue;
    EXPECT_TRUE(ids.insert(c.id).second) << c.id;
    EXPECT_EQ(c.disabled, panel.count(c.id) == 1) << c.id;
    EXPECT_EQ(c.hidden, c.id == kIdFinalLabel) << c.id;
  }
  std::set<int> expected;
  for (int id = 1000; id <= 1038; ++id)
    if (id != 1026) expected.insert(id);
  EXPECT_EQ(ids, expected);
  for (int id : {kIdJill, kIdNormal, kIdTyrantOne, kIdYawnOne, kIdLisaOne, kIdTyrantFast})
    EXPECT_TRUE(FindControl(id)->group_start) << id;
  for (int id : {kIdChris, kIdHard, kIdTyrantMany, kIdYawnNone, kIdLisaMany, kIdTyrantRandom})
    EXPECT_FALSE(FindControl(id)->group_start) << id;
}

}  // namespace
}  // namespace velmora
