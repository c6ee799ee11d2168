// The generation: every stage in its fixed order, on the state of one dialog.
#include "app/ControlIds.h"
#include "app/VelmoraDlg.h"

namespace velmora {

void CVelmoraDlg::OnBnClickedGenerateSeed() {
  SetControlText(kIdStatus, "");
  for (int id : {kIdEnemies, kIdItems, kIdDoors, kIdLocks, kIdJill, kIdChris, kIdNormal,
                 kIdHard, kIdRemoveHealing, kIdRemoveAmmo, kIdRemoveInkRibbons,
                 kIdRemoveDefence, kIdTyrantOne, kIdTyrantMany, kIdTyrantNone, kIdYawnOne,
                 kIdYawnMany, kIdYawnNone, kIdLisaOne, kIdLisaMany, kIdLisaNone,
                 kIdTyrantFast, kIdTyrantSlow, kIdTyrantRandom, kIdSwapSelfDefenseGun,
                 kIdArmedCapsule, kIdGenerateSeed, kIdZombies, kIdDogs, kIdHunters,
                 kIdSpiders, kIdSharks, kIdBees, kIdChimera, kIdElderCrimsonHeads})
    EnableControl(id, false);

  seed_ = seed_source_();
  m_random.Seed(seed_);

  FillEnemyPositions();
  FillItemNames();
  FillSlotAreas();
  if (IsChecked(kIdLocks))
    RunLockStage();
  else
    FillPlainAreaTables();
  // A cancelled generation stops between stages and writes no file.
  if (CancelRequested()) return;

  if (IsChecked(kIdEnemies) && !m_lockStageRanItems) RandomizeEnemies();
  if (IsChecked(kIdDoors)) RandomizeDoors();
  if (IsChecked(kIdItems)) {
    if (!m_lockStageRanItems) RandomizeItems();
  } else {
    m_placement.clear();
    for (int slot = 0; slot < kSlotCount; ++slot) m_placement.push_back(slot);
  }

  if (CancelRequested()) return;
  ApplyPoolModifiers();
  WriteSeedFiles();
}

}  // namespace velmora
