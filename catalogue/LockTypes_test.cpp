#include "catalogue/LockTypes.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
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

// The types no key opens and the values outside the table: their names, and
// on every call one error line and the marker, whoever is checked.
TEST_F(LockTypeDialogTest, KeylessTypesLogOneErrorLinePerCallAndReturnTheMarker) {
  const std::pair<int, std::string> keyless[] = {{6, "One-way Door"},
                                                 {7, "One-way Door - Reversed"},
                                                 {15, "Unlocked"},
                                                 {16, "ERROR ERROR ERROR"},
                                                 {-1, "ERROR ERROR ERROR"}};
  std::string log;
  for (const auto& [type, name] : keyless) {
    EXPECT_EQ(dlg.LockTypeName(type), name);
    for (int character : {kIdJill, kIdChris}) {
      window.Click(character);
      EXPECT_EQ(dlg.LockTypeKeys(type), std::vector<int>{-99}) << type;
      EXPECT_EQ(Log(), log += kErrorLine) << type;
    }
  }
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
