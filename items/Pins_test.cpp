#include "items/Pins.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

const std::vector<int> kAlways = {90, 91, 114, 48, 123, 147};
const std::vector<int> kHard = {4,   5,   7,   21,  27,  40,  49,  55,  64,  65,  68,  69,  72,
                                80,  84,  93,  95,  98,  108, 109, 110, 113, 119, 126, 132, 134,
                                138, 141, 144, 152, 155, 158, 160, 162, 170, 172, 173};

std::vector<int> Join(std::initializer_list<std::vector<int>> parts) {
  std::vector<int> all;
  for (const auto& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

// Jill on Normal adds 26, 27 and 39; on Hard the hard list, 26 and 27 but
// not 39; Chris on Hard the hard list, 75 and 76.
TEST(PinnedSlots, EachSelectionPinsTheAlwaysListThenItsOwnSlotsInOrder) {
  EXPECT_EQ(PinnedSlots(Character::kJill, Difficulty::kNormal),
            (std::vector<int>{90, 91, 114, 48, 123, 147, 26, 27, 39}));
  EXPECT_EQ(PinnedSlots(Character::kChris, Difficulty::kNormal), kAlways);
  EXPECT_EQ(PinnedSlots(Character::kJill, Difficulty::kHard), Join({kAlways, kHard, {26, 27}}));
  EXPECT_EQ(PinnedSlots(Character::kChris, Difficulty::kHard), Join({kAlways, kHard, {75, 76}}));
}

}  // namespace
}  // namespace velmora
