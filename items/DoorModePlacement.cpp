// Item placement when doors are randomized: no progression check can follow
// a rewired map, so a fixed set of slots is filled from fixed item groups
// with two slot restrictions, and the rest with common supplies.
#include <algorithm>
#include <iterator>
#include <span>
#include <vector>

#include "app/VelmoraDlg.h"

namespace velmora {
namespace {

enum class Who { kBoth, kJill, kChris };

struct SlotRun {
  int first;
  int last;
  Who who;
};

// The slots that take part, in the order they are drawn from.
constexpr SlotRun kTakingPartSlots[] = {
    {0, 0, Who::kChris},
    {1, 17, Who::kBoth},
    {19, 25, Who::kBoth},
    {28, 37, Who::kBoth},
    {41, 43, Who::kBoth},
    {49, 52, Who::kBoth},
    {56, 79, Who::kBoth},
    {81, 81, Who::kBoth},
    {84, 89, Who::kBoth},
    {92, 92, Who::kBoth},
    {94, 94, Who::kJill},
    {95, 98, Who::kBoth},
    {100, 106, Who::kBoth},
    {110, 110, Who::kBoth},
    {116, 116, Who::kBoth},
    {119, 120, Who::kBoth},
    {122, 122, Who::kBoth},
    {126, 146, Who::kBoth},
    {148, 149, Who::kBoth},
    {152, 154, Who::kBoth},
    {156, 156, Who::kBoth},
    {160, 163, Who::kBoth},
    {165, 179, Who::kBoth},
    {181, 183, Who::kBoth},
};

struct ListEntry {
  int value;
  Who who;
};

// Key items that must lie in slots numbered 180 or lower.
constexpr int kGroup1Items[] = {34, 47, 66, 102, 129, 183};
constexpr int kGroup1HighestSlot = 180;

// Items kept out of the slots of kGroup2ExcludedSlots.
constexpr ListEntry kGroup2Items[] = {
    {2, Who::kBoth},   {15, Who::kBoth},  {16, Who::kBoth},  {18, Who::kBoth},
    {77, Who::kBoth},  {79, Who::kBoth},  {28, Who::kBoth},  {51, Who::kBoth},
    {62, Who::kBoth},  {74, Who::kBoth},  {89, Who::kBoth},  {92, Who::kBoth},
    {103, Who::kBoth}, {104, Who::kBoth}, {105, Who::kBoth}, {116, Who::kBoth},
    {0, Who::kJill},
};

constexpr ListEntry kGroup2ExcludedSlots[] = {
    {3, Who::kBoth},   {13, Who::kBoth},  {14, Who::kBoth},  {16, Who::kBoth},
    {92, Who::kBoth},  {100, Who::kBoth}, {101, Who::kBoth}, {102, Who::kBoth},
    {103, Who::kBoth}, {104, Who::kBoth}, {105, Who::kBoth}, {106, Who::kBoth},
    {122, Who::kBoth}, {181, Who::kBoth}, {182, Who::kBoth}, {183, Who::kBoth},
    {72, Who::kJill},  {74, Who::kJill},
};

// Placed anywhere; repeated items are placed as often as they stand here.
// 186 is the extra "Shotgun" that no slot holds in the unshuffled game.
constexpr int kJillGroup3Items[] = {37, 40,  57,  60,  60,  60,  75,  76,  85,  94,
                                    186, 106, 165, 165, 165, 36, 78, 166, 167, 168};
constexpr int kChrisGroup3Items[] = {0, 186, 106, 165, 165, 165, 36, 78, 166, 167, 168};

struct Supply {
  int last_roll;  ///< rolls up to this one, from the previous row's on
  int item;
};

// The filler of the remaining slots by a roll of 0..104.
constexpr Supply kSupplies[] = {
    {24, 50},    // "Green Herb"
    {37, 52},    // "Handgun Magazine"
    {50, 99},    // "Shotgun Shells"
    {61, 63},    // "Dagger"
    {70, 86},    // "Ink Ribbon"
    {82, 58},    // "Battery Pack" for Jill, "Flash Grenade" for Chris
    {89, 43},    // "First Aid Spray"
    {97, 130},   // "Blue Herb"
    {104, 110},  // "Red Herb"
};
constexpr int kSupplyRolls = 105;

bool Applies(Who who, Character character) {
  return who == Who::kBoth || (who == Who::kJill) == (character == Character::kJill);
}

std::vector<int> Select(std::span<const ListEntry> entries, Character character) {
  std::vector<int> values;
  for (const ListEntry& entry : entries)
    if (Applies(entry.who, character)) values.push_back(entry.value);
  return values;
}

int SupplyFor(int roll) {
  for (const Supply& supply : kSupplies)
    if (roll <= supply.last_roll) return supply.item;
  return kSupplies[std::size(kSupplies) - 1].item;
}

}  // namespace

void CVelmoraDlg::PlaceItemsForDoorMode() {
  const Character character = SelectedCharacter();

  std::vector<int> slots;
  for (const SlotRun& run : kTakingPartSlots) {
    if (!Applies(run.who, character)) continue;
    for (int slot = run.first; slot <= run.last; ++slot) slots.push_back(slot);
  }
  std::vector<int> group1(std::begin(kGroup1Items), std::end(kGroup1Items));
  std::vector<int> group2 = Select(kGroup2Items, character);
  const std::vector<int> excluded = Select(kGroup2ExcludedSlots, character);
  std::vector<int> group3 = character == Character::kJill
                                ? std::vector<int>(std::begin(kJillGroup3Items),
                                                   std::end(kJillGroup3Items))
                                : std::vector<int>(std::begin(kChrisGroup3Items),
                                                   std::end(kChrisGroup3Items));
  m_doorModeSlots = slots;

  m_placement.clear();
  for (int slot = 0; slot < kSlotCount; ++slot) m_placement.push_back(slot);
  for (int slot : slots) m_placement[slot] = -1;

  auto draw_index = [this](const std::vector<int>& list) {
    return m_random.Draw(static_cast<int>(list.size()));
  };
  // Deals a group: for each item, the item is drawn first, then a slot,
  // redrawn while `refused` says no.
  auto deal = [&](std::vector<int>& group, auto refused) {
    while (!group.empty()) {
      const int item_index = draw_index(group);
      const int item = group[item_index];
      group.erase(group.begin() + item_index);
      int slot_index = draw_index(slots);
      while (refused(slots[slot_index])) slot_index = draw_index(slots);
      m_placement[slots[slot_index]] = item;
      slots.erase(slots.begin() + slot_index);
    }
  };
  deal(group1, [](int slot) { return slot > kGroup1HighestSlot; });
  deal(group2, [&excluded](int slot) {
    return std::find(excluded.begin(), excluded.end(), slot) != excluded.end();
  });
  deal(group3, [](int) { return false; });

  while (!slots.empty()) {
    const int roll = m_random.Draw(kSupplyRolls);
    const int slot_index = draw_index(slots);
    m_placement[slots[slot_index]] = SupplyFor(roll);
    slots.erase(slots.begin() + slot_index);
  }
}

}  // namespace velmora
