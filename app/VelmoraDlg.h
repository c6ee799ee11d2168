// The seed generator's dialog: its controls' rules, the progress log, the
// generator state and every stage of a generation. The stages are defined in
// the folder of the subsystem they belong to.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/DialogWindow.h"
#include "app/GeneratorState.h"
#include "catalogue/Selection.h"

namespace velmora {

class FastItemSearch;
class OutputFiles;

/// A dialog on a window: reaches the window's controls only through the
/// DialogWindow seam.
class CDialogBase {
 public:
  explicit CDialogBase(DialogWindow& window) : window_(&window) {}
  virtual ~CDialogBase() = default;

  bool IsChecked(int id) const { return window_->IsChecked(id); }
  void SetChecked(int id, bool checked) { window_->SetChecked(id, checked); }
  void EnableControl(int id, bool enabled) { window_->EnableControl(id, enabled); }
  void ShowControl(int id, bool visible) { window_->ShowControl(id, visible); }
  std::string GetControlText(int id) const { return window_->GetControlText(id); }
  void SetControlText(int id, const std::string& text) { window_->SetControlText(id, text); }
  DialogWindow& window() const { return *window_; }

 private:
  DialogWindow* window_;
};

/// Item attempts after which a lock deal counts as one that cannot be
/// finished in practice.
inline constexpr uint64_t kLockDealAttemptBound = 10'000'000;

/// The seed a generation takes when none is given: the current time in
/// seconds (low 32 bits).
uint32_t TimeSeed();

class CVelmoraDlg : public CDialogBase, public GeneratorState {
 public:
  CVelmoraDlg(DialogWindow& window, OutputFiles& files);

  // --- The dialog (app/VelmoraDlg.cpp) ---
  /// Sets the defaults of a fresh start.
  void OnInitDialog();
  /// Enables or disables the enemy panel with the "Enemies" box.
  void OnBnClickedEnemies();
  /// "Doors" forces Normal, Items on and Locks off while it is checked.
  void OnBnClickedDoors();
  /// The whole generation (app/GenerateSeed.cpp).
  void OnBnClickedGenerateSeed();
  /// Appends `text` to the progress log, with no separator of its own.
  void AppendStatus(std::string text);

  /// Where generation takes its seed; by default TimeSeed.
  void SetSeedSource(std::function<uint32_t()> source) { seed_source_ = std::move(source); }
  /// The seed the last generation used.
  uint32_t seed() const { return seed_; }
  /// True when a seed file could not be written.
  bool write_failed() const { return write_failed_; }
  /// Asks a generation in progress to stop at its next check, before any
  /// file is written. Safe from another thread and from a signal handler.
  void RequestCancel() { cancel_requested_.store(true); }
  bool CancelRequested() const { return cancel_requested_.load(); }
  /// Called between blocks of item attempts with the number of attempts the
  /// running item loop has made.
  std::function<void(uint64_t attempts)> m_searchProgress;

  /// The options as the controls show them now.
  Character SelectedCharacter() const;
  Difficulty SelectedDifficulty() const;

  // --- Catalogue (catalogue/) ---
  /// Fills m_itemNames for the selected character and difficulty.
  void FillItemNames();
  /// Fills m_slotArea in the numbering "Locks" selects.
  void FillSlotAreas();
  /// Fills the fixed forbidden areas and requirements of the character.
  void FillPlainAreaTables();
  /// The display name of a lock type; "ERROR ERROR ERROR" outside 0..15.
  std::string LockTypeName(int type);
  /// The key items of a lock type for the selected character; logs an error
  /// line and returns {-99} for types without keys.
  std::vector<int> LockTypeKeys(int type);

  // --- Enemies (enemies/) ---
  /// Fills m_enemyPositions with every position's allowed kinds.
  void FillEnemyPositions();
  void RandomizeEnemies();

  // --- Items (items/) ---
  void RandomizeItems();
  /// One deal into m_placement, pins included.
  void ShuffleItems();
  void PinHardModeSlots();
  /// Makes `slot` hold its own item, swapping the displaced item into the
  /// slot the item came from.
  void PinSlot(int slot);
  /// Sets m_placementValid when the placement passes both passes.
  void CheckPlacement();
  bool IsItemReachable(int item);
  void PlaceItemsForDoorMode();

  // --- Doors and locks (doors/) ---
  void RandomizeDoors();
  /// Deals the locks and builds the lock-mode tables.
  void RunLockStage();
  void ShuffleLocks();
  bool LocksAreValid();

  // --- Pool modifiers (app/PoolModifiers.cpp) ---
  void ApplyPoolModifiers();

  // --- Output (output/) ---
  void WriteSeedFiles();
  /// Each returns false when its file could not be written.
  bool WriteItemList();
  bool WriteCheatSheet();

  /// Attempts the item loop may make before it gives up; 0 for no bound.
  /// Only a trial of a lock deal sets a bound.
  uint64_t m_itemAttemptLimit = 0;
  /// Attempts the last item loop made.
  uint64_t m_itemAttempts = 0;
  /// Threads the item search uses; 0 for one per core.
  int m_searchThreads = 0;
  /// Whether the item loop may take its answer from the attempt index when
  /// the tables are the plain ones of the selection; off, it always searches
  /// (to compare the two).
  bool m_useAttemptIndex = true;
  /// When set, the item loop asks it for the deciding attempt (the first
  /// passing one, or `limit`) of the search over a loop from random state
  /// `loop_start` instead of searching itself, and logs the marks up to it
  /// in one piece; 0 leaves the loop with no placement (the caller cancels
  /// the generation). The page sets it to search in two workers; empty, the
  /// loop searches on its own threads.
  std::function<uint64_t(const FastItemSearch& search, uint32_t loop_start, uint64_t limit)>
      m_findDecidingAttempt;
  /// Item attempts the lock stage allows one lock deal before it deals again.
  uint64_t m_lockDealAttemptBound = kLockDealAttemptBound;
  /// Set when the lock stage has already run the enemy and item stages.
  bool m_lockStageRanItems = false;

 private:
  /// Writes `bytes` to `name`, logging the writer's lines; false on failure.
  bool WriteFileLogged(const std::string& name, const std::string& bytes);

  OutputFiles* files_;
  std::function<uint32_t()> seed_source_;
  uint32_t seed_ = 0;
  bool write_failed_ = false;
  std::atomic<bool> cancel_requested_{false};
  /// While engaged, log lines are held back here instead of shown.
  std::optional<std::string> held_log_;

  friend class LockTrial;
};

}  // namespace velmora
