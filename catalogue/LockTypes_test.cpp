#include "catalogue/LockTypes.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/DialogFixture_test.h"

namespace velmora {
namespace {

const std::string kErrorLine = "-99 ERROR, TELL QUORRAN AND RELAUNCH SEED GENERATOR";

class LockTypeDialogTest : public DialogTest {
 protected:
  LockTypeDialogTest() { window.SetControlText(kIdStatus, ""); }
  std::string Log() const { return window.GetControlText(kIdStatus); }
};

// Type 5 is the one with keys for Chris only (the Old Keys); Jill picks it.
TEST_F(LockTypeDialogTest, KeysFollowTheCharacterRadioButtonAndLogNothing) {
  EXPECT_EQ(dlg.LockTypeKeys(5), std::vector<int>{-1});
  EXPECT_EQ(dlg.LockTypeKeys(2), (std::vector<int>{24, 61}));
  window.Click(kIdChris);
  EXPECT_EQ(dlg.LockTypeKeys(5), (std::vector<int>{9, 32, 37, 85, 94}));
  EXPECT_EQ(dlg.LockTypeName(5), "Old Key / Lockpick");
  EXPECT_EQ(Log(), "");
}

class KeylessLockTypeTest : public LockTypeDialogTest, public ::testing::WithParamInterface<int> {};

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
