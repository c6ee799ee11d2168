#include "app/VelmoraDlg.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "app/ControlIds.h"
#include "app/MemoryWindow.h"
#include "output/OutputFiles.h"

namespace velmora {
namespace {

class DialogTest : public ::testing::Test {
 protected:
  DialogTest() : dlg(window, files) { dlg.OnInitDialog(); }
  MemoryWindow window;
  MemoryOutputFiles files;
  CVelmoraDlg dlg;
};

TEST_F(DialogTest, DefaultsOfAFreshStart) {
  for (int id : {kIdJill, kIdNormal, kIdItems, kIdTyrantOne, kIdYawnOne, kIdLisaOne,
                 kIdTyrantFast, kIdZombies, kIdDogs, kIdHunters, kIdSpiders, kIdSharks,
                 kIdBees, kIdChimera, kIdElderCrimsonHeads})
    EXPECT_TRUE(window.IsChecked(id)) << id;
  for (int id : {kIdChris, kIdHard, kIdEnemies, kIdDoors, kIdLocks, kIdRemoveHealing,
                 kIdRemoveAmmo, kIdRemoveInkRibbons, kIdRemoveDefence, kIdSwapSelfDefenseGun,
                 kIdArmedCapsule, kIdTyrantMany, kIdTyrantSlow})
    EXPECT_FALSE(window.IsChecked(id)) << id;
  for (int id : kEnemyPanelIds) EXPECT_FALSE(window.IsControlEnabled(id)) << id;
  EXPECT_FALSE(window.IsControlVisible(kIdFinalLabel));
  EXPECT_EQ(window.GetControlText(kIdVersion), "Version 1.25");
  EXPECT_EQ(dlg.SelectedCharacter(), Character::kJill);
  window.Click(kIdChris);
  EXPECT_EQ(dlg.SelectedCharacter(), Character::kChris);
}

TEST_F(DialogTest, EnemiesEnablesExactlyThePanelAndKeepsItsChecks) {
  window.Click(kIdHunters);  // disabled: no effect
  EXPECT_TRUE(window.IsChecked(kIdHunters));
  std::map<int, bool> others;
  for (int id = kIdJill; id <= kIdFinalLabel; ++id) {
    if (id != 1026 && std::find(std::begin(kEnemyPanelIds), std::end(kEnemyPanelIds), id) ==
                          std::end(kEnemyPanelIds))
      others[id] = window.IsControlEnabled(id);
  }
  window.Click(kIdEnemies);
  dlg.OnBnClickedEnemies();
  for (int id : kEnemyPanelIds) EXPECT_TRUE(window.IsControlEnabled(id)) << id;
  for (const auto& [id, enabled] : others) EXPECT_EQ(window.IsControlEnabled(id), enabled) << id;
  window.Click(kIdHunters);
  window.Click(kIdTyrantMany);
  window.Click(kIdEnemies);
  dlg.OnBnClickedEnemies();
  for (int id : kEnemyPanelIds) EXPECT_FALSE(window.IsControlEnabled(id)) << id;
  EXPECT_FALSE(window.IsChecked(kIdHunters));
  EXPECT_TRUE(window.IsChecked(kIdTyrantMany));
  EXPECT_FALSE(window.IsChecked(kIdTyrantOne));
  EXPECT_TRUE(window.IsControlEnabled(kIdItems));
}

TEST_F(DialogTest, DoorsForcesNormalItemsAndNoLocksAndUncheckingRestoresOnlyEnabling) {
  window.Click(kIdHard);
  window.Click(kIdLocks);
  window.Click(kIdItems);  // unchecked now
  window.Click(kIdDoors);
  dlg.OnBnClickedDoors();
  EXPECT_TRUE(window.IsChecked(kIdNormal));
  EXPECT_FALSE(window.IsChecked(kIdHard));
  EXPECT_TRUE(window.IsChecked(kIdItems));
  EXPECT_FALSE(window.IsChecked(kIdLocks));
  EXPECT_FALSE(window.IsControlEnabled(kIdHard));
  EXPECT_FALSE(window.IsControlEnabled(kIdItems));
  EXPECT_FALSE(window.IsControlEnabled(kIdLocks));
  EXPECT_TRUE(window.IsControlEnabled(kIdNormal));

  window.Click(kIdDoors);
  dlg.OnBnClickedDoors();
  EXPECT_TRUE(window.IsControlEnabled(kIdHard));
  EXPECT_TRUE(window.IsControlEnabled(kIdItems));
  EXPECT_TRUE(window.IsControlEnabled(kIdLocks));
  EXPECT_FALSE(window.IsChecked(kIdHard));
  EXPECT_FALSE(window.IsChecked(kIdLocks));
  EXPECT_TRUE(window.IsChecked(kIdItems));
}

TEST_F(DialogTest, AppendStatusJoinsTextsWithNothingBetween) {
  window.SetControlText(kIdStatus, "");
  dlg.AppendStatus("Randomizing Items. . .");
  dlg.AppendStatus("done!\n");
  EXPECT_EQ(window.GetControlText(kIdStatus), "Randomizing Items. . .done!\n");
}

}  // namespace
}  // namespace velmora
