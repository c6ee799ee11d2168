#include "app/VelmoraDlg.h"

#include <ctime>

#include "app/ControlIds.h"

namespace velmora {

uint32_t TimeSeed() { return static_cast<uint32_t>(static_cast<uint64_t>(std::time(nullptr))); }

CVelmoraDlg::CVelmoraDlg(DialogWindow& window, OutputFiles& files)
    : CDialogBase(window), files_(&files), seed_source_(TimeSeed) {}

void CVelmoraDlg::OnInitDialog() {
  for (int id : {kIdJill, kIdNormal, kIdItems, kIdTyrantOne, kIdYawnOne, kIdLisaOne,
                 kIdTyrantFast, kIdZombies, kIdDogs, kIdHunters, kIdSpiders, kIdSharks,
                 kIdBees, kIdChimera, kIdElderCrimsonHeads})
    SetChecked(id, true);
  SetControlText(kIdVersion, m_versionText);
}

void CVelmoraDlg::OnBnClickedEnemies() {
  const bool enabled = IsChecked(kIdEnemies);
  for (int id : kEnemyPanelIds) EnableControl(id, enabled);
}

void CVelmoraDlg::OnBnClickedDoors() {
  if (IsChecked(kIdDoors)) {
    EnableControl(kIdHard, false);
    SetChecked(kIdHard, false);
    SetChecked(kIdNormal, true);
    SetChecked(kIdItems, true);
    EnableControl(kIdItems, false);
    SetChecked(kIdLocks, false);
    EnableControl(kIdLocks, false);
  } else {
    EnableControl(kIdHard, true);
    EnableControl(kIdItems, true);
    EnableControl(kIdLocks, true);
  }
}

void CVelmoraDlg::AppendStatus(std::string text) {
  if (held_log_) {
    *held_log_ += text;
    return;
  }
  SetControlText(kIdStatus, GetControlText(kIdStatus) + text);
}

Character CVelmoraDlg::SelectedCharacter() const {
  return IsChecked(kIdChris) ? Character::kChris : Character::kJill;
}

Difficulty CVelmoraDlg::SelectedDifficulty() const {
  return IsChecked(kIdHard) ? Difficulty::kHard : Difficulty::kNormal;
}

}  // namespace velmora
