#include "items/Pins.h"

#include <iterator>

namespace velmora {

std::vector<int> PinnedSlots(Character character, Difficulty difficulty) {
  std::vector<int> slots(std::begin(kAlwaysPinnedSlots), std::end(kAlwaysPinnedSlots));
  if (difficulty == Difficulty::kHard)
    slots.insert(slots.end(), std::begin(kHardPinnedSlots), std::end(kHardPinnedSlots));
  if (character == Character::kChris) {
    if (difficulty == Difficulty::kHard)
      slots.insert(slots.end(), std::begin(kChrisHardPinnedSlots),
                   std::end(kChrisHardPinnedSlots));
  } else {
    slots.insert(slots.end(), std::begin(kJillPinnedSlots), std::end(kJillPinnedSlots));
    if (difficulty == Difficulty::kNormal) slots.push_back(kJillNormalPinnedSlot);
  }
  return slots;
}

}  // namespace velmora
