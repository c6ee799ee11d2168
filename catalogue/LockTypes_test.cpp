#include "catalogue/LockTypes.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/ControlIds.h"
#include "app/MemoryWindow.h"
#include "app/VelmoraDlg.h"
#include "output/OutputFiles.h"

namespace velmora {
namespace {

const std::string kErrorLine = "-99 ERROR, TELL QUORRAN AND RELAUNCH SEED GENERATOR";

struct KeyCase {
  int type;
  std::string name;
  std::vector<int> jill;
  std::vector<int> chris;
};

// Copied by hand from the lock-type table: some types with keys.
const KeyCase kKeyCases[] = {
    {0, "Armor Key", {48}, {48}},
    {2, "Spencer Key", {24, 61}, {24, 61}},
    {5, "Old Key / Lockpick", {-1}, {9, 32, 37, 85, 94}},
    {9, "One-way Door / Lockpick / Old Key mix Reversed", {-1}, {9, 32, 37, 85, 94}},
    {10, "Power Area Key", {163}, {163}},
    {14, "Sword Key", {100}, {100}},
};

class LockTypeDialogTest : public ::testing::Test {
 protected:
  LockTypeDialogTest() : dlg(window, files) {
    dlg.OnInitDialog();
    window.SetControlText(kIdStatus, "");
  }
  std::string Log() const { return window.GetControlText(kIdStatus); }
  MemoryWindow window;
  MemoryOutputFiles files;
  CVelmoraDlg dlg;
};

class LockTypeKeysTest : public LockTypeDialogTest,
                         public ::testing::WithParamInterface<KeyCase> {};

TEST_P(LockTypeKeysTest, KeysFollowTheCharacterRadioButtonAndLogNothing) {
  const KeyCase& c = GetParam();
  window.Click(kIdJill);
  EXPECT_EQ(dlg.LockTypeKeys(c.type), c.jill);
  window.Click(kIdChris);
  EXPECT_EQ(dlg.LockTypeKeys(c.type), c.chris);
  EXPECT_EQ(dlg.LockTypeName(c.type), c.name);
  EXPECT_EQ(Log(), "");
}

INSTANTIATE_TEST_SUITE_P(TypesWithKeys, LockTypeKeysTest, ::testing::ValuesIn(kKeyCases));

class KeylessLockTypeTest : public LockTypeDialogTest,
                            public ::testing::WithParamInterface<int> {};

TEST_P(KeylessLockTypeTest, EachCallLogsOneErrorLineAndReturnsTheMarker) {
  EXPECT_EQ(dlg.LockTypeKeys(GetParam()), std::vector<int>{-99});
  EXPECT_EQ(Log(), kErrorLine);
  window.Click(kIdChris);
  EXPECT_EQ(dlg.LockTypeKeys(GetParam()), std::vector<int>{-99});
  EXPECT_EQ(Log(), kErrorLine + kErrorLine);
}

INSTANTIATE_TEST_SUITE_P(OneWayUnlockedAndOutOfRange, KeylessLockTypeTest,
                         ::testing::Values(6, 7, 15, 16, -1));

TEST_F(LockTypeDialogTest, NamesOfTheKeylessTypesAndOutOfRangeValues) {
  EXPECT_EQ(dlg.LockTypeName(6), "One-way Door");
  EXPECT_EQ(dlg.LockTypeName(7), "One-way Door - Reversed");
  EXPECT_EQ(dlg.LockTypeName(15), "Unlocked");
  EXPECT_EQ(dlg.LockTypeName(16), "ERROR ERROR ERROR");
  EXPECT_EQ(dlg.LockTypeName(-1), "ERROR ERROR ERROR");
}

TEST(LockKeysTest, TheErrorLineGoesToTheGivenSink) {
  std::vector<std::string> lines;
  const LogSink sink = [&lines](std::string_view text) { lines.emplace_back(text); };
  EXPECT_EQ(LockKeys(2, Character::kChris, sink), (std::vector<int>{24, 61}));
  EXPECT_TRUE(lines.empty());
  EXPECT_EQ(LockKeys(7, Character::kJill, sink), std::vector<int>{-99});
  EXPECT_EQ(lines, std::vector<std::string>{kErrorLine});
}

}  // namespace
}  // namespace velmora
