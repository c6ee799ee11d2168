#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <vector>

#include "app/DialogFixture_test.h"
#include "catalogue/AreaTables.h"
#include "catalogue/ItemNames.h"

namespace velmora {
namespace {

constexpr uint32_t kSeed = 20240611;
// The replacement a draw r picks: "X-Ray of CLARK", "X-Ray of GAIL",
// "Wooden Mount", "Slide Filter".
constexpr int kFillerByDraw[4] = {167, 168, 78, 166};
constexpr int kGun = 137;

std::vector<int> Identity() {
  std::vector<int> placement(kSlotCount);
  std::iota(placement.begin(), placement.end(), 0);
  return placement;
}

class PoolModifiersTest : public DialogTest {
 protected:
  // A finished generation with every item at home, the plain tables and an
  // empty log.
  void Prepare(Character character, Difficulty difficulty) {
    dlg.m_itemNames = ItemNames(character, difficulty);
    dlg.m_slotArea = SlotAreas(character, false);
    dlg.m_areaRequirements = PlainAreaRequirements(character);
    dlg.m_placement = Identity();
    dlg.m_random.Seed(kSeed);
    window.SetControlText(kIdStatus, "");
  }

  std::string Log() const { return window.GetControlText(kIdStatus); }
};

struct RemovalCase {
  const char* name;
  int box;
  Character character;
  Difficulty difficulty;
  std::vector<int> slots;  // slots whose home item the box removes, by hand
};

void PrintTo(const RemovalCase& c, std::ostream* os) { *os << c.name; }

class RemovalTest : public PoolModifiersTest, public ::testing::WithParamInterface<RemovalCase> {};

TEST_P(RemovalTest, ReplacesExactlyTheGroupsSlotsWithOneDrawnFillerEach) {
  const RemovalCase& c = GetParam();
  Prepare(c.character, c.difficulty);
  window.SetChecked(c.box, true);
  dlg.ApplyPoolModifiers();

  CrtRandom reference;
  reference.Seed(kSeed);
  for (int slot = 0; slot < kSlotCount; ++slot) {
    const bool removed = std::find(c.slots.begin(), c.slots.end(), slot) != c.slots.end();
    const int expected = removed ? kFillerByDraw[reference.Next() % 4] : slot;
    EXPECT_EQ(dlg.m_placement[slot], expected) << "slot " << slot;
  }
  EXPECT_EQ(dlg.m_random.state(), reference.state());
  EXPECT_EQ(Log(), "Applying modifiers . . .done!\n");
}

const std::vector<int> kJillNormalHealingSlots = {
    5,   6,   25,  29,  30,  31,  38,  43,  45,  50,  53,  54,  55,  64,  65,  68,  69,  70,
    71,  81,  84,  87,  88,  95,  96,  108, 109, 110, 112, 119, 120, 121, 124, 125, 130, 131,
    132, 133, 134, 140, 141, 143, 149, 151, 152, 157, 158, 160, 164, 172, 176, 182};

INSTANTIATE_TEST_SUITE_P(
    Boxes, RemovalTest,
    ::testing::Values(RemovalCase{"HealingJillNormal", kIdRemoveHealing, kJill, kNormal,
                                  kJillNormalHealingSlots},
                      RemovalCase{"AmmoJillNormal",
                                  kIdRemoveAmmo,
                                  kJill,
                                  kNormal,
                                  {4,   8,   13,  17,  21,  33,  39,  40,  41,  46,  52,  56,  57,
                                   60,  72,  73,  83,  98,  99,  101, 113, 115, 117, 126, 127, 138,
                                   144, 146, 153, 155, 162, 165, 170, 174, 177, 180, 181, 184}},
                      RemovalCase{"InkRibbonsJillNormal",
                                  kIdRemoveInkRibbons,
                                  kJill,
                                  kNormal,
                                  {1, 12, 22, 27, 86, 111, 135, 156, 175}},
                      // Item 46 is "Dagger (after getting plant 42 item)" on Hard: no group.
                      RemovalCase{"DefenceChrisHard",
                                  kIdRemoveDefence,
                                  kChris,
                                  kHard,
                                  {7,  10, 19, 20, 23, 26,  35,  42,  44,  49,  58, 63,
                                   67, 75, 80, 93, 97, 128, 136, 169, 171, 173, 179}}),
    [](const auto& test) { return std::string(test.param.name); });

TEST_F(PoolModifiersTest, HealingRemovalWithTheSwapEndsAsTheGunAfterOneDrawPerSlot) {
  Prepare(kJill, kNormal);
  window.SetChecked(kIdRemoveHealing, true);
  window.SetChecked(kIdSwapSelfDefenseGun, true);
  dlg.ApplyPoolModifiers();

  for (int slot : kJillNormalHealingSlots) EXPECT_EQ(dlg.m_placement[slot], kGun) << slot;
  CrtRandom reference;
  reference.Seed(kSeed);
  reference.Skip(kJillNormalHealingSlots.size());
  EXPECT_EQ(dlg.m_random.state(), reference.state());
}

struct SwapCase {
  const char* name;
  Character character;
  std::vector<int> to_gun;  // slots that must end as the gun
  std::vector<int> kept;    // slots that must keep their home item
};

void PrintTo(const SwapCase& c, std::ostream* os) { *os << c.name; }

class SwapTest : public PoolModifiersTest, public ::testing::WithParamInterface<SwapCase> {};

TEST_P(SwapTest, TurnsOrdinaryItemsIntoTheGunAndKeepsTheRestWithoutDrawing) {
  const SwapCase& c = GetParam();
  Prepare(c.character, kNormal);
  window.SetChecked(kIdSwapSelfDefenseGun, true);
  dlg.m_placement[2] = kDoorModeShotgun;  // "Shotgun" is in no group
  // "Broken Shotgun" is kept wherever it lies; slot 11 now holds a "Green Herb".
  std::swap(dlg.m_placement[11], dlg.m_placement[50]);
  dlg.ApplyPoolModifiers();

  for (int slot : c.to_gun) EXPECT_EQ(dlg.m_placement[slot], kGun) << "slot " << slot;
  for (int slot : c.kept) EXPECT_EQ(dlg.m_placement[slot], slot) << "slot " << slot;
  EXPECT_EQ(dlg.m_placement[2], kDoorModeShotgun);
  EXPECT_EQ(dlg.m_placement[50], 11);
  EXPECT_EQ(dlg.m_placement[11], kGun);
  EXPECT_EQ(dlg.m_random.state(), kSeed);
}

INSTANTIATE_TEST_SUITE_P(Characters, SwapTest,
                         ::testing::Values(
                             // 0 "Jill's Handgun" is named only by area 38, which holds no slot of
                             // Chris; 11 "Broken Shotgun" opens area 37 (slots 26, 27).
                             SwapCase{"Chris",
                                      kChris,
                                      {0, 1, 4, 5, 7, 36, 46, 78, 106, 166, 167, 168},
                                      {9, 48, 59, 100, 118, 137, 178}},
                             SwapCase{"Jill", kJill, {37, 106, 36, 78, 7, 19}, {0, 59, 75, 137}}),
                         [](const auto& test) { return std::string(test.param.name); });

TEST_F(PoolModifiersTest, ArmedCapsuleReplacesOnlyTheEmptyCapsuleAndDrawsNothing) {
  Prepare(kChris, kHard);
  std::swap(dlg.m_placement[178], dlg.m_placement[3]);
  window.SetChecked(kIdArmedCapsule, true);
  dlg.ApplyPoolModifiers();

  std::vector<int> expected = Identity();
  expected[178] = 3;
  expected[3] = kArmedFuelCapsule;
  EXPECT_EQ(dlg.m_placement, expected);
  EXPECT_EQ(dlg.m_random.state(), kSeed);
  EXPECT_EQ(Log(), "Applying modifiers . . .done!\n");
}

}  // namespace
}  // namespace velmora
