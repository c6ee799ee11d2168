#include "items/FastItemSearch.h"

#include <algorithm>
#include <atomic>
#include <map>
#include <set>
#include <thread>

#include "catalogue/AreaNeeds.h"

namespace velmora {
namespace {

constexpr uint64_t kDealDraws = kSlotCount;
constexpr uint64_t kChunk = 4096;
// Attempts a vector kernel numbers in one run, counted in 32-bit lanes.
constexpr uint64_t kVectorRun = uint64_t{1} << 31;

bool IsSlotItem(int item) { return item >= 0 && item < kSlotCount; }

}  // namespace

FastItemSearch::FastItemSearch(const GeneratorState& state, std::vector<int> pinned_slots)
    : FastItemSearch(state, std::move(pinned_slots), SearchDealKernel()) {}

FastItemSearch::FastItemSearch(const GeneratorState& state, std::vector<int> pinned_slots,
                               const DealKernel& kernel)
    : kernel_(&kernel),
      single_(kernel.lanes == 1 ? &kernel : &FastestSingleDealKernel()),
      pins_(std::move(pinned_slots)) {
  for (int slot : pins_) pinned_[slot] = true;

  // The rules of every area that holds a slot, in the form the check reads
  // them: the required list, then the alternatives up to the first missing
  // or empty index.
  std::map<int, int> rules_of_area;
  for (int slot = 0; slot < kSlotCount; ++slot) {
    const int area = state.m_slotArea.at(slot);
    auto [it, inserted] = rules_of_area.try_emplace(area, static_cast<int>(rules_.size()));
    if (inserted) {
      AreaRules rules;
      const AreaNeeds needs = NeedsOf(state.m_areaRequirements, area);
      rules.required.assign(needs.all.begin(), needs.all.end());
      for (const std::span<const int> alternative : needs.alternatives)
        rules.alternatives.emplace_back(alternative.begin(), alternative.end());
      rules_.push_back(std::move(rules));
    }
    slot_rules_[slot] = it->second;
  }

  auto mark = [this](int item, int slot) {
    reject_[item][slot >> 6] |= uint64_t{1} << (slot & 63);
  };
  for (const auto& [item, areas] : state.m_itemForbiddenAreas) {
    if (!IsSlotItem(item)) continue;
    const std::set<int> forbidden(areas.begin(), areas.end());
    for (int slot = 0; slot < kSlotCount; ++slot)
      if (forbidden.count(state.m_slotArea[slot])) mark(item, slot);
  }

  // An item whose slot's area requires the item itself, directly or through
  // the required lists of pinned items (whose slots never change), is never
  // proved reachable: it is on the visiting list while its own search runs.
  for (int slot = 0; slot < kSlotCount; ++slot) {
    std::set<int> needed;
    std::vector<int> pending = rules_[slot_rules_[slot]].required;
    while (!pending.empty()) {
      const int item = pending.back();
      pending.pop_back();
      if (!IsSlotItem(item) || !needed.insert(item).second) continue;
      if (pinned_[item]) {
        const auto& more = rules_[slot_rules_[item]].required;
        pending.insert(pending.end(), more.begin(), more.end());
      }
    }
    for (int item : needed) mark(item, slot);
  }

  // Pins never move an item that is not pinned out of a slot that is not
  // pinned, so such an item in a failing slot fails the attempt while the
  // deal is still being made.
  for (int item = 0; item < kSlotCount; ++item) {
    if (pinned_[item]) continue;
    early_[item] = reject_[item];
    for (int slot : pins_) early_[item][slot >> 6] &= ~(uint64_t{1} << (slot & 63));
  }
  // The items the deal gives up on in each slot, and blank rows for lanes
  // that draw past the last slot before they are refilled.
  std::vector<ItemMask> early_by_slot(kSlotCount + kStepsPerRefill, ItemMask{});
  for (int item = 0; item < kSlotCount; ++item)
    for (int slot = 0; slot < kSlotCount; ++slot)
      if ((early_[item][slot >> 6] >> (slot & 63)) & 1)
        early_by_slot[slot][item >> 6] |= uint64_t{1} << (item & 63);
  deal_tables_ = DealTables(early_by_slot);
}

FastItemSearch FastItemSearch::WithKernel(const DealKernel& kernel) const {
  FastItemSearch search = *this;
  search.kernel_ = &kernel;
  search.single_ = kernel.lanes == 1 ? &kernel : &FastestSingleDealKernel();
  return search;
}

std::vector<uint64_t> FastItemSearch::DealSurvivors(uint32_t loop_start, uint64_t first,
                                                    uint64_t last, const DealKernel& kernel) const {
  std::vector<uint64_t> survivors;
  if (first > last) return survivors;
  if (kernel.lanes > 1) {
    for (uint64_t from = first;; from += kVectorRun) {
      const uint64_t to = last - from < kVectorRun ? last : from + (kVectorRun - 1);
      kernel.many(loop_start, from, to, deal_tables_, survivors);
      if (to == last) break;
    }
    std::sort(survivors.begin(), survivors.end());
    return survivors;
  }
  const LcgJump one_deal = LcgJump::For(kDealDraws);
  uint32_t state = LcgJump::For(kDealDraws * (first - 1)).Apply(loop_start);
  int placement[kSlotCount];
  for (uint64_t attempt = first; attempt <= last; ++attempt) {
    if (kernel.one(state, early_.data(), placement) > 0) survivors.push_back(attempt);
    state = one_deal.Apply(state);
  }
  return survivors;
}

bool FastItemSearch::AttemptPasses(uint32_t state) const {
  Stats ignored;
  return AttemptPasses(state, ignored);
}

bool FastItemSearch::AttemptPasses(uint32_t state, Stats& stats) const {
  int placement[kSlotCount];
  const int dealt = single_->one(state, early_.data(), placement);
  if (dealt < 0) {
    stats.draws += static_cast<uint64_t>(-dealt);
    ++stats.rejected_while_dealing;
    return false;
  }
  stats.draws += kSlotCount;
  return FinishAttempt(placement, stats);
}

bool FastItemSearch::FinishAttempt(int* placement, Stats& stats) const {
  int slot_of[kSlotCount];
  for (int slot = 0; slot < kSlotCount; ++slot) slot_of[placement[slot]] = slot;
  for (int pin : pins_) {
    const int from = slot_of[pin];
    const int displaced = placement[pin];
    placement[from] = displaced;
    slot_of[displaced] = from;
    placement[pin] = pin;
    slot_of[pin] = pin;
  }
  for (int item = 0; item < kSlotCount; ++item) {
    const int slot = slot_of[item];
    if ((reject_[item][slot >> 6] >> (slot & 63)) & 1) {
      ++stats.rejected_after_pins;
      return false;
    }
  }
  ++stats.checked;
  return PassesCheck(slot_of);
}

// The reachability pass exactly as the check runs it, over the inverse of the
// placement: the same visiting list with the same additions and removals, so
// the same answer.
bool FastItemSearch::PassesCheck(const int* slot_of) const {
  // Top-level searches may push an item that is already listed, so the list
  // can hold each item at most twice.
  int visiting[2 * kSlotCount + 2];
  int visiting_size = 0;
  uint8_t on_list[kSlotCount] = {};
  for (int item = 0; item < kSlotCount; ++item)
    if (!Reachable(item, slot_of, visiting, visiting_size, on_list)) return false;
  return true;
}

bool FastItemSearch::Reachable(int item, const int* slot_of, int* visiting, int& visiting_size,
                               uint8_t* on_list) const {
  // An id that lies in no slot can never be reached.
  if (!IsSlotItem(item)) return false;
  const AreaRules& rules = rules_[slot_rules_[slot_of[item]]];
  visiting[visiting_size++] = item;
  ++on_list[item];
  auto listed = [on_list](int r) { return IsSlotItem(r) && on_list[r] != 0; };
  auto pop_last = [&] {
    --on_list[visiting[--visiting_size]];
  };
  for (int r : rules.required) {
    if (listed(r)) return false;
    if (r != -1 && !Reachable(r, slot_of, visiting, visiting_size, on_list)) return false;
  }
  if (rules.alternatives.empty()) {
    pop_last();
    return true;
  }
  for (const std::vector<int>& alternative : rules.alternatives) {
    bool passes = true;
    for (int r : alternative) {
      if (listed(r) || (r != -1 && !Reachable(r, slot_of, visiting, visiting_size, on_list))) {
        passes = false;
        break;
      }
    }
    if (passes) {
      pop_last();
      return true;
    }
  }
  return false;
}

uint64_t FastItemSearch::FindFirstPassing(uint32_t loop_start, uint64_t first, uint64_t last,
                                          int threads) const {
  if (first > last) return 0;
  const LcgJump one_deal = LcgJump::For(kDealDraws);
  // Judges attempts [from, to] in order; the first that passes, or 0.
  auto scan = [&](uint64_t from, uint64_t to) -> uint64_t {
    if (kernel_->lanes > 1) {
      // Deal in lanes, then judge the few deals that were not given up.
      for (uint64_t attempt : DealSurvivors(loop_start, from, to, *kernel_))
        if (AttemptPasses(LcgJump::For(kDealDraws * (attempt - 1)).Apply(loop_start)))
          return attempt;
      return 0;
    }
    uint32_t state = LcgJump::For(kDealDraws * (from - 1)).Apply(loop_start);
    for (uint64_t attempt = from; attempt <= to; ++attempt) {
      if (AttemptPasses(state)) return attempt;
      state = one_deal.Apply(state);
    }
    return 0;
  };
  if (threads <= 1 || last - first < 2 * kChunk) {
    for (uint64_t from = first; from <= last; from += kChunk)
      if (const uint64_t found = scan(from, std::min(last, from + kChunk - 1))) return found;
    return 0;
  }

  // Threads take chunks in increasing order and stop taking them beyond the
  // best attempt found; every chunk before it is finished before the join,
  // so the result is the first passing attempt whatever the timing.
  std::atomic<uint64_t> next_chunk{first};
  std::atomic<uint64_t> best{UINT64_MAX};
  auto worker = [&] {
    for (;;) {
      const uint64_t from = next_chunk.fetch_add(kChunk);
      if (from > last || from > best.load()) return;
      const uint64_t found = scan(from, std::min(last, from + kChunk - 1));
      if (found == 0) continue;
      uint64_t current = best.load();
      while (found < current && !best.compare_exchange_weak(current, found)) {
      }
      return;
    }
  };
  std::vector<std::thread> pool;
  for (int t = 1; t < threads; ++t) pool.emplace_back(worker);
  worker();
  for (std::thread& t : pool) t.join();
  const uint64_t result = best.load();
  return result == UINT64_MAX ? 0 : result;
}

}  // namespace velmora
