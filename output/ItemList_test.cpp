#include "output/ItemList.h"

#include <gtest/gtest.h>

#include "output/test_support.h"

namespace velmora {
namespace {

GeneratorState IdentityState() {
  GeneratorState s;
  for (int slot = 0; slot < kSlotCount; ++slot) s.m_placement.push_back(slot);
  return s;
}

TEST(ItemListTest, EverythingOffGives504LinesWithMinusOneSections) {
  const std::vector<std::string> lines =
      SplitCrLf(FormatItemList(IdentityState(), false, false, false));
  ASSERT_EQ(lines.size(), 504u);
  for (int i = 0; i < 504; ++i) {
    const char* marker = i == 185 ? "ENEMYRANDODATA" : i == 239 ? "DOORRANDODATA" : nullptr;
    EXPECT_EQ(lines[i], marker ? marker : i < 185 ? std::to_string(i) : "-1") << "line " << i + 1;
  }
}

TEST(ItemListTest, SectionsCarryEnemiesByNameOrderDoorsByNumberAndLocks) {
  GeneratorState s = IdentityState();
  s.m_placement[0] = 186;
  s.m_placement[1] = -1;
  for (int i = 0; i < 53; ++i) s.m_enemyPositions["pos" + std::to_string(100 + i)] = {i % 12 + 1};
  s.m_enemyPositions["Aqua"] = {5};  // sorts first
  s.m_enemyPositions.erase("pos152");
  // Doors grouped by room, in no particular door order.
  for (int door = 263; door >= 0; --door)
    s.m_roomDoors["room" + std::to_string(door % 7)][door] = door == 85 ? -1 : 263 - door;
  for (int p = 0; p < 38; ++p) s.m_lockTypes.push_back(p % 16);

  const std::vector<std::string> lines = SplitCrLf(FormatItemList(s, true, true, true));
  ASSERT_EQ(lines.size(), 543u);
  EXPECT_EQ(lines[0], "186");
  EXPECT_EQ(lines[1], "-1");
  EXPECT_EQ(lines[186], "5");        // "Aqua"
  EXPECT_EQ(lines[187], "1");        // "pos100"
  EXPECT_EQ(lines[240 + 0], "263");  // door 0
  EXPECT_EQ(lines[240 + 85], "-1");
  EXPECT_EQ(lines[240 + 263], "0");
  EXPECT_EQ(lines[504], "LOCKRANDODATA");
  EXPECT_EQ(lines[505], "0");
  EXPECT_EQ(lines[542], "5");  // position 37: 37 % 16
}

TEST(ItemListTest, AMissingOrDoubledDoorIsRefusedRatherThanWrittenWrong) {
  GeneratorState s = IdentityState();
  for (int door = 0; door < 264; ++door) s.m_roomDoors["a"][door] = door;
  s.m_roomDoors["b"][5] = 5;
  EXPECT_THROW(FormatItemList(s, false, true, false), std::logic_error);
}

}  // namespace
}  // namespace velmora
