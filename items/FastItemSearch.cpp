#include "items/FastItemSearch.h"

#include <algorithm>
#include <atomic>
#include <cstring>

#if defined(__x86_64__)
#include <immintrin.h>
#endif
#include <map>
#include <set>
#include <thread>

namespace velmora {
namespace {

constexpr uint64_t kDealDraws = kSlotCount;
constexpr uint64_t kChunk = 1024;

bool IsSlotItem(int item) { return item >= 0 && item < kSlotCount; }

// Exact quotient of x / d for 0 <= x < 2^15 and 1 <= d <= 185, from a
// precomputed reciprocal: (x * ceil(2^32 / d)) >> 32 (checked for every x
// and d by the tests).
struct Reciprocals {
  std::array<uint64_t, kSlotCount + 1> factor{};
  constexpr Reciprocals() {
    for (uint64_t d = 1; d <= kSlotCount; ++d) factor[d] = ((uint64_t{1} << 32) + d - 1) / d;
  }
  uint32_t Mod(uint32_t x, uint32_t d) const {
    const uint32_t q = static_cast<uint32_t>((x * factor[d]) >> 32);
    return x - q * d;
  }
};
constexpr Reciprocals kReciprocals;



// Deals one attempt from random state `state` into `placement`, as the loop
// does: draw an index into the ascending pool of the ids not drawn yet and
// take that id. Stops early when an item lands in a slot that `early` marks
// as failing for it. Returns the number of draws made, negated when the deal
// stopped early.
using DealFunction = int (*)(uint32_t state, const FastItemSearch::SlotMask* early,
                             int* placement);

int DealPortable(uint32_t state, const FastItemSearch::SlotMask* early, int* placement) {
  uint8_t pool[kSlotCount];
  for (int item = 0; item < kSlotCount; ++item) pool[item] = static_cast<uint8_t>(item);
  for (int slot = 0; slot < kSlotCount; ++slot) {
    state = state * CrtRandom::kMultiplier + CrtRandom::kIncrement;
    const uint32_t size = static_cast<uint32_t>(kSlotCount - slot);
    const uint32_t index = kReciprocals.Mod((state >> 16) & 0x7FFF, size);
    const int item = pool[index];
    std::memmove(pool + index, pool + index + 1, size - index - 1);
    placement[slot] = item;
    if ((early[item][slot >> 6] >> (slot & 63)) & 1) return -(slot + 1);
  }
  return kSlotCount;
}

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define VELMORA_HAVE_BMI2_DEAL 1
// The same deal over a bit set of the pool: the id of a given rank is found
// with a population count and a bit deposit.
__attribute__((target("bmi,bmi2,popcnt"))) int DealBmi2(uint32_t state,
                                                        const FastItemSearch::SlotMask* early,
                                                        int* placement) {
  // The pool's three words stay in registers, and the word that holds the
  // drawn rank is chosen with masks instead of branches, which the processor
  // could not predict.
  uint64_t pool0 = ~uint64_t{0};
  uint64_t pool1 = ~uint64_t{0};
  uint64_t pool2 = (uint64_t{1} << (kSlotCount - 128)) - 1;
  for (int slot = 0; slot < kSlotCount; ++slot) {
    state = state * CrtRandom::kMultiplier + CrtRandom::kIncrement;
    uint64_t rank = kReciprocals.Mod((state >> 16) & 0x7FFF, static_cast<uint32_t>(kSlotCount - slot));
    const uint64_t count0 = static_cast<uint64_t>(_mm_popcnt_u64(pool0));
    const uint64_t count1 = static_cast<uint64_t>(_mm_popcnt_u64(pool1));
    const uint64_t past0 = uint64_t{0} - static_cast<uint64_t>(rank >= count0);
    const uint64_t past1 = uint64_t{0} - static_cast<uint64_t>(rank >= count0 + count1);
    const uint64_t in0 = ~past0;
    const uint64_t in1 = past0 & ~past1;
    const uint64_t word = (pool0 & in0) | (pool1 & in1) | (pool2 & past1);
    rank -= (count0 & past0) + (count1 & past1);
    const uint64_t bit = _pdep_u64(uint64_t{1} << rank, word);
    pool0 ^= bit & in0;
    pool1 ^= bit & in1;
    pool2 ^= bit & past1;
    const int item = static_cast<int>(_tzcnt_u64(bit) + (past0 & 64) + (past1 & 64));
    placement[slot] = item;
    if ((early[item][slot >> 6] >> (slot & 63)) & 1) return -(slot + 1);
  }
  return kSlotCount;
}
#endif


DealFunction ChooseDeal() {
#ifdef VELMORA_HAVE_BMI2_DEAL
  __builtin_cpu_init();
  if (__builtin_cpu_supports("bmi2") && __builtin_cpu_supports("popcnt")) return DealBmi2;
#endif
  return DealPortable;
}

const DealFunction kDeal = ChooseDeal();

}  // namespace

FastItemSearch::FastItemSearch(const GeneratorState& state, std::vector<int> pinned_slots)
    : pins_(std::move(pinned_slots)) {
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
      auto entry = state.m_areaRequirements.find(area);
      if (entry != state.m_areaRequirements.end()) {
        const auto& lists = entry->second;
        if (auto zero = lists.find(0); zero != lists.end()) rules.required = zero->second;
        for (int k = 1;; ++k) {
          auto alt = lists.find(k);
          if (alt == lists.end() || alt->second.empty()) break;
          rules.alternatives.push_back(alt->second);
        }
      }
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
}

bool FastItemSearch::AttemptPasses(uint32_t state) const {
  Stats ignored;
  return AttemptPasses(state, ignored);
}

bool FastItemSearch::AttemptPasses(uint32_t state, Stats& stats) const {
  int placement[kSlotCount];
  const int dealt = kDeal(state, early_.data(), placement);
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
