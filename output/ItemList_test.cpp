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
  // Slots 0 and 1; the first enemy positions, "Aqua" and "pos100"; doors 0,
  // 85 and 263; the lock marker and positions 0 and 37 (37 % 16).
  const size_t at[] = {0, 1, 186, 187, 240, 240 + 85, 240 + 263, 504, 505, 542};
  std::vector<std::string> picked;
  for (size_t i : at) picked.push_back(lines[i]);
  EXPECT_EQ(picked, std::vector<std::string>(
                        {"186", "-1", "5", "1", "263", "-1", "0", "LOCKRANDODATA", "0", "5"}));
}

}  // namespace
}  // namespace velmora
