#pragma once

#include <cstdint>

#include "app/VelmoraDlg.h"

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

}  // namespace velmora
