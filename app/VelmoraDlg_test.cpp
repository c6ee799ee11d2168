#include "app/VelmoraDlg.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "app/DialogFixture_test.h"
#include "app/DialogTemplate.h"

namespace velmora {
namespace {

TEST_F(DialogTest, AFreshStartChecksOnlyTheDefaultsAndReadsTheCharacterFromTheChrisBox) {
  const std::set<int> checked = {
      kIdJill,    kIdNormal,     kIdItems,   kIdTyrantOne, kIdYawnOne,
      kIdLisaOne, kIdTyrantFast, kIdZombies, kIdDogs,      kIdHunters,
      kIdSpiders, kIdSharks,     kIdBees,    kIdChimera,   kIdElderCrimsonHeads};
  for (const ControlSpec& c : DialogControls()) {
    if (c.id != -1) {
      EXPECT_EQ(window.IsChecked(c.id), checked.contains(c.id)) << c.id;
    }
  }
  EXPECT_EQ(window.GetControlText(kIdVersion), "Version 1.25");
  EXPECT_EQ(dlg.SelectedCharacter(), kJill);
  window.Click(kIdChris);
  EXPECT_EQ(dlg.SelectedCharacter(), kChris);
}

TEST_F(DialogTest, EnemiesEnablesExactlyThePanelAndKeepsItsChecks) {
  window.Click(kIdHunters);  // disabled: no effect
  EXPECT_TRUE(window.IsChecked(kIdHunters));
  const auto in_panel = [](int id) {
    return std::find(std::begin(kEnemyPanelIds), std::end(kEnemyPanelIds), id) !=
           std::end(kEnemyPanelIds);
  };
  for (bool on : {true, false}) {
    window.Click(kIdEnemies);
    dlg.OnBnClickedEnemies();
    for (const ControlSpec& c : DialogControls()) {
      if (c.id != -1) {
        EXPECT_EQ(window.IsControlEnabled(c.id), !in_panel(c.id) || on) << c.id;
      }
    }
    if (on) {
      window.Click(kIdHunters);
      window.Click(kIdTyrantMany);
    }
  }
  EXPECT_FALSE(window.IsChecked(kIdHunters));
  EXPECT_TRUE(window.IsChecked(kIdTyrantMany));
  EXPECT_FALSE(window.IsChecked(kIdTyrantOne));
}

TEST_F(DialogTest, DoorsForcesNormalItemsAndNoLocksAndUncheckingRestoresOnlyEnabling) {
  window.Click(kIdHard);
  window.Click(kIdLocks);
  window.Click(kIdItems);  // unchecked now
  for (bool on : {true, false}) {
    window.Click(kIdDoors);
    dlg.OnBnClickedDoors();
    EXPECT_TRUE(window.IsChecked(kIdNormal));
    EXPECT_FALSE(window.IsChecked(kIdHard));
    EXPECT_TRUE(window.IsChecked(kIdItems));
    EXPECT_FALSE(window.IsChecked(kIdLocks));
    for (int id : {kIdHard, kIdItems, kIdLocks}) EXPECT_EQ(window.IsControlEnabled(id), !on) << id;
    EXPECT_TRUE(window.IsControlEnabled(kIdNormal));
  }
}

}  // namespace
}  // namespace velmora
