// A fast search for the item loop's first passing attempt.
//
// Every attempt of the item loop deals with 185 draws and then checks, and
// its outcome depends only on the random state at its start: the check's
// visiting list is empty when each attempt begins and the tables do not
// change during the loop. So attempt j starts 185 * (j - 1) draws after the
// loop's start, attempts can be judged independently and in parallel, and a
// deal can be given up as soon as one item is known to fail. The search
// answers exactly what dealing and checking every attempt would answer.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "app/GeneratorState.h"
#include "items/DealKernels.h"

namespace velmora {

class FastItemSearch {
 public:
  /// Prepares the search over the slot areas, forbidden areas and area
  /// requirements of `state`; `pinned_slots` in the order the deal pins them.
  /// Deals with the search's kernel (SearchDealKernel), or with `kernel`.
  FastItemSearch(const GeneratorState& state, std::vector<int> pinned_slots);
  FastItemSearch(const GeneratorState& state, std::vector<int> pinned_slots,
                 const DealKernel& kernel);

  /// The same search dealing with `kernel`.
  FastItemSearch WithKernel(const DealKernel& kernel) const;

  /// True when the attempt whose deal starts at random state `state` passes
  /// the check.
  bool AttemptPasses(uint32_t state) const;

  /// The number of the first passing attempt among attempts `first` to
  /// `last` (counted from 1) of a loop whose first attempt starts at random
  /// state `loop_start`, or 0 when none of them passes. The answer does not
  /// depend on `threads`.
  uint64_t FindFirstPassing(uint32_t loop_start, uint64_t first, uint64_t last,
                            int threads) const;

  /// The attempts among `first` to `last` of a loop starting at random state
  /// `loop_start` whose deals are not given up while dealing, ascending. Every
  /// other attempt fails; these still need the pins and the check.
  std::vector<uint64_t> DealSurvivors(uint32_t loop_start, uint64_t first, uint64_t last,
                                      const DealKernel& kernel) const;

  /// Counters of where attempts were decided, for the benchmark.
  struct Stats {
    uint64_t rejected_while_dealing = 0;
    uint64_t rejected_after_pins = 0;
    uint64_t checked = 0;
    uint64_t draws = 0;  ///< draws made before each attempt was decided
  };
  bool AttemptPasses(uint32_t state, Stats& stats) const;

 private:
  struct AreaRules {
    std::vector<int> required;
    std::vector<std::vector<int>> alternatives;
  };

  bool Reachable(int item, const int* slot_of, int* visiting, int& visiting_size,
                 uint8_t* on_list) const;
  bool PassesCheck(const int* slot_of) const;
  /// Pins a completed deal and judges it: the forbidden slots, then the
  /// reachability pass.
  bool FinishAttempt(int* placement, Stats& stats) const;

  const DealKernel* kernel_;
  /// The kernel that deals the attempts judged one at a time.
  const DealKernel* single_;
  std::vector<int> pins_;
  std::array<bool, kSlotCount> pinned_{};
  /// Slots in which an item fails the check for sure: its forbidden areas,
  /// and areas whose required items lead back to the item itself.
  std::array<SlotMask, kSlotCount> reject_{};
  /// The part of reject_ that can be judged while dealing.
  std::array<SlotMask, kSlotCount> early_{};
  /// early_ by slot, in the forms the kernels that deal several attempts
  /// at a time read.
  DealTables deal_tables_;
  std::array<int, kSlotCount> slot_rules_{};
  std::vector<AreaRules> rules_;
};

}  // namespace velmora
