// A whole generation run through the dialog's controls as a user would, for
// the output tests.
#pragma once

#include <cstdint>

#include "app/DialogFixture_test.h"

namespace velmora {

struct Generation {
  Character character = kJill;
  Difficulty difficulty = kNormal;
  bool items = true, enemies = false, doors = false, locks = false;
  bool remove_healing = false;
  uint32_t seed = 1;
};

// A dialog that generated a seed with the options of `g`, clicked as a user
// would click them.
struct GeneratedSeed : DialogFixture {
  explicit GeneratedSeed(const Generation& g) {
    window.Click(g.character == kChris ? kIdChris : kIdJill);
    window.Click(g.difficulty == kHard ? kIdHard : kIdNormal);
    if (!g.items) window.Click(kIdItems);
    if (g.enemies) {
      window.Click(kIdEnemies);
      dlg.OnBnClickedEnemies();
    }
    if (g.doors) {
      window.Click(kIdDoors);
      dlg.OnBnClickedDoors();
    }
    if (g.locks) window.Click(kIdLocks);
    if (g.remove_healing) window.Click(kIdRemoveHealing);
    dlg.SetSeedSource([seed = g.seed] { return seed; });
    dlg.OnBnClickedGenerateSeed();
  }
};

}  // namespace velmora
