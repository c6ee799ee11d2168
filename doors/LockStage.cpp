#include "doors/LockStage.h"

#include <algorithm>
#include <initializer_list>
#include <string>
#include <utility>

#include "app/ControlIds.h"
#include "app/VelmoraDlg.h"
#include "catalogue/AreaNeeds.h"
#include "catalogue/AreaTables.h"
#include "doors/LockRequirements.h"
#include "doors/LockShuffle.h"
#include "items/Pins.h"

namespace velmora {
namespace {

bool In(int type, std::initializer_list<int> types) {
  for (int t : types)
    if (t == type) return true;
  return false;
}

// The character whose key lists apply: Jill while "Jill" is checked.
Character KeyCharacter(const CVelmoraDlg& dialog) {
  return dialog.IsChecked(kIdJill) ? Character::kJill : Character::kChris;
}

}  // namespace

LockGates BuildLockGates(const LockDeal& L, Character character, const LogSink& log) {
  LockGates gates;
  // A rule that first names a gate leaves it closed.
  auto close = [&gates](int gate) { gates[gate].push_back(-1); };
  auto open = [&gates](int gate) {
    std::vector<int>& entries = gates[gate];
    if (entries.empty()) entries.push_back(kOpenGate);
    entries.front() = kOpenGate;
  };
  auto is_open = [&gates](int gate) {
    const auto it = gates.find(gate);
    return it != gates.end() && !it->second.empty() && it->second.front() == kOpenGate;
  };
  // A one-way door seen from its open side, or no lock at all, opens the
  // gate; any other lock makes the gate need that lock's keys.
  auto set_by_position = [&](int gate, int position) {
    if (In(L[position], {6, 15}))
      open(gate);
    else
      gates[gate] = LockKeys(L[position], character, log);
  };
  auto passable = [&L](int position) { return In(L[position], {6, 15}); };
  auto passable_backwards = [&L](int position) { return In(L[position], {7, 15}); };

  close(74);  // rule 1
  set_by_position(74, 12);
  close(75);  // rule 2
  set_by_position(75, 7);
  close(84);  // rule 3
  set_by_position(84, 27);
  close(85);  // rule 4
  set_by_position(85, 11);
  close(119);  // rule 5
  set_by_position(119, 14);

  close(122);  // rule 6
  close(87);
  if (is_open(119) && passable(15)) {
    open(122);
    open(87);
  }
  close(121);  // rule 7
  if (passable(10)) {
    open(121);
    open(87);
  }
  for (int gate : {118, 99, 98, 100}) close(gate);  // rule 8
  if (is_open(87) && passable(28))
    for (int gate : {118, 99, 98, 100}) open(gate);
  if (passable(8)) {  // rule 9
    open(98);
    if (L[30] == 15) {
      open(99);
      open(100);
    }
  }
  if (passable_backwards(26)) open(100);  // rule 10

  close(119);  // rule 11
  close(88);
  if (passable(16)) {
    if (is_open(119))
      open(88);
    else
      gates[88] = gates[119];
  }
  close(90);  // rule 12
  if (passable(19)) {
    open(90);
  } else if (passable(17) && passable(15)) {
    if (is_open(119))
      open(90);
    else
      gates[90] = gates[119];
  }
  close(79);  // rule 13
  if (passable(6)) open(79);
  close(76);  // rule 14
  if (passable_backwards(2) || passable_backwards(4)) open(76);
  close(86);  // rule 15
  if (passable(13)) {
    open(86);
    if (passable_backwards(3)) open(76);
  }
  if (passable_backwards(1) && is_open(79)) open(76);  // rule 16
  if (passable(1) && is_open(76)) open(79);            // rule 17
  return gates;
}

std::vector<int> UnreachablePinnedItems(const AreaRequirements& requirements,
                                        const std::vector<int>& slot_area,
                                        const std::vector<int>& pinned) {
  std::vector<bool> obtainable(kSlotCount, true);
  for (int item : pinned)
    if (item >= 0 && item < kSlotCount) obtainable[item] = false;

  auto have = [&obtainable](int item) {
    return item == -1 || (item >= 0 && item < kSlotCount && obtainable[item]);
  };

  for (bool changed = true; changed;) {
    changed = false;
    for (int item : pinned) {
      if (have(item) || item < 0 || item >= static_cast<int>(slot_area.size())) continue;
      if (AreaOpen(requirements, slot_area[item], have)) {
        obtainable[item] = true;
        changed = true;
      }
    }
  }

  std::vector<int> unreachable;
  for (int item : pinned)
    if (!have(item)) unreachable.push_back(item);
  std::sort(unreachable.begin(), unreachable.end());
  unreachable.erase(std::unique(unreachable.begin(), unreachable.end()), unreachable.end());
  return unreachable;
}

void BuildLockTables(CVelmoraDlg& dialog) {
  const Character character = KeyCharacter(dialog);
  const LogSink log = [&dialog](std::string_view text) { dialog.AppendStatus(std::string(text)); };
  const LockDeal deal = ToLockDeal(dialog.m_lockTypes);
  for (auto& [area, gate] : BuildLockGates(deal, character, log)) {
    std::vector<int>& entries = dialog.m_lockGates[area];
    entries.insert(entries.end(), gate.begin(), gate.end());
  }
  std::vector<int>& fuse = dialog.m_itemForbiddenAreas[kFuseUnit];
  for (int area : LockModeFuseForbiddenAreas()) fuse.push_back(area);
  dialog.m_areaRequirements =
      DeriveLockRequirements(deal, dialog.m_lockGates, character, log);
}

bool LockDealCanBeFinished(CVelmoraDlg& dialog) {
  const Character character = KeyCharacter(dialog);
  const LogSink discard = [](std::string_view) {};
  const LockDeal deal = ToLockDeal(dialog.m_lockTypes);
  LockGates gates = BuildLockGates(deal, character, discard);
  const AreaRequirements requirements = DeriveLockRequirements(deal, gates, character, discard);
  return UnreachablePinnedItems(requirements, dialog.m_slotArea,
                                PinnedSlots(dialog.SelectedCharacter(),
                                            dialog.SelectedDifficulty()))
      .empty();
}

bool LockTrial::Run(CVelmoraDlg& dialog) {
  const GeneratorState before = dialog;
  std::optional<std::string> outer_log = std::exchange(dialog.held_log_, std::string());

  BuildLockTables(dialog);
  if (dialog.IsChecked(kIdEnemies)) dialog.RandomizeEnemies();
  const uint64_t limit = std::exchange(dialog.m_itemAttemptLimit, dialog.m_lockDealAttemptBound);
  dialog.RandomizeItems();
  dialog.m_itemAttemptLimit = limit;

  std::string held = std::move(*dialog.held_log_);
  dialog.held_log_ = std::move(outer_log);
  if (dialog.m_placementValid) {
    dialog.AppendStatus(std::move(held));
    return true;
  }
  static_cast<GeneratorState&>(dialog) = before;
  return false;
}

void CVelmoraDlg::RunLockStage() {
  for (int position = 0; position < kLockPositionCount; ++position)
    m_lockTypes.push_back(position);
  for (int position = 0; position < kLockPositionCount; ++position)
    m_lockPool.emplace(position, kUnshuffledLockTypes[position]);

  // Without a checked item search (items kept, or placed the door-mode way)
  // nothing can keep the generation from finishing, so no deal is tried out.
  const bool try_deals = IsChecked(kIdItems) && !IsChecked(kIdDoors);
  for (;;) {
    if (CancelRequested()) return;
    ShuffleLocks();
    if (!LocksAreValid() || !LockDealCanBeFinished(*this)) continue;
    if (!try_deals) {
      BuildLockTables(*this);
      return;
    }
    if (LockTrial::Run(*this)) {
      m_lockStageRanItems = true;
      return;
    }
  }
}

}  // namespace velmora
