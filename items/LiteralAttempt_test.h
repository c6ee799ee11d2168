#pragma once

#include <cstdint>

#include "app/DialogFixture_test.h"
#include "doors/doors_test.h"

namespace velmora {

/// Deals and checks one attempt the literal way from random state `state`;
/// returns whether the progression check passed it.
inline bool LiteralAttemptPasses(CVelmoraDlg& dlg, uint32_t state) {
  dlg.m_random.set_state(state);
  dlg.m_placementValid = false;
  dlg.m_visiting.clear();
  dlg.ShuffleItems();
  dlg.CheckPlacement();
  return dlg.m_placementValid;
}

/// Selects the character, difficulty and lock mode on the window and fills
/// the item loop's tables: the plain ones, or those of a lock deal from 2024.
inline void FillItemTables(DialogFixture& f, bool chris, bool hard, bool locks) {
  if (chris) f.window.Click(kIdChris);
  if (hard) f.window.Click(kIdHard);
  if (locks) f.window.Click(kIdLocks);
  f.dlg.FillItemNames();
  f.dlg.FillSlotAreas();
  if (locks) {
    doors_test::DealAcceptedLocks(f.dlg, 2024);
  } else {
    f.dlg.FillPlainAreaTables();
  }
}

}  // namespace velmora
