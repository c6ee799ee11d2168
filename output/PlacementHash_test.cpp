#include "output/PlacementHash.h"

#include <gtest/gtest.h>

#include <numeric>

#include "app/GeneratorState.h"
#include "output/ItemList.h"

namespace velmora {
namespace {

// Published XXH3 values: 0x2D06800538D394C2 for no bytes and
// 0x78AF5F94892F3950 for "abc". Their top 30 bits, six at a time:
// 001011 010000 011010 000000 000001 = 11, 16, 26, 0, 1 and
// 011110 001010 111101 011111 100101 = 30, 10, 61, 31, 37.
TEST(PlacementHashTest, KnownInputsGiveTheNamesWorkedOutByHand) {
  EXPECT_EQ(PlacementHash(""),
            "Dagger \xC2\xB7 Dog Collar \xC2\xB7 Fishhook \xC2\xB7 Lighter \xC2\xB7 Ink Ribbon");
  EXPECT_EQ(PlacementHash("abc"), "Stone Ring \xC2\xB7 Missing Music \xC2\xB7 Battery Pack "
                                  "\xC2\xB7 Moon Crest \xC2\xB7 Cylinder");
}

// Every change of one byte of an item list to a digit, a sign, a letter or
// a line-end byte, and a dropped or added last byte, gives another hash.
TEST(PlacementHashTest, EverySmallChangeOfAnItemListChangesTheHash) {
  GeneratorState state;
  state.m_placement.resize(kSlotCount);
  std::iota(state.m_placement.begin(), state.m_placement.end(), 0);
  const std::string list = FormatItemList(state, false, false, false);
  const std::string original = PlacementHash(list);
  EXPECT_NE(PlacementHash(list.substr(0, list.size() - 1)), original);
  EXPECT_NE(PlacementHash(list + "\n"), original);
  for (size_t at = 0; at < list.size(); ++at) {
    std::string changed = list;
    for (char c : std::string("0123456789-ENDR\r\n")) {
      changed[at] = c;
      ASSERT_TRUE(c == list[at] || PlacementHash(changed) != original) << "'" << c << "' at " << at;
    }
  }
}

}  // namespace
}  // namespace velmora
