#include "verify/ItemListReader.h"

#include <gtest/gtest.h>

#include <functional>
#include <numeric>

#include "app/GeneratorState.h"
#include "output/ItemList.h"

namespace velmora {
namespace {

// The writer's own output, for the identity placement and every option off:
// 504 lines. With locks, 38 lock lines of type 5 follow the marker.
std::string WrittenList(bool locks) {
  GeneratorState state;
  state.m_placement.resize(185);
  std::iota(state.m_placement.begin(), state.m_placement.end(), 0);
  state.m_lockTypes.assign(38, 5);
  return FormatItemList(state, false, false, locks);
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  size_t at = 0;
  while (at < text.size()) {
    const size_t end = text.find("\r\n", at);
    lines.push_back(text.substr(at, end - at));
    at = end + 2;
  }
  return lines;
}

std::string Join(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

TEST(ItemListReaderTest, ReadsTheWritersFileWithoutLocks) {
  const ItemListReadResult read = ReadItemList(WrittenList(false));
  ASSERT_TRUE(read.contents) << read.problem->line << ": " << read.problem->message;
  EXPECT_FALSE(read.problem);
  const ItemListContents& list = *read.contents;
  ASSERT_EQ(list.items.size(), 185u);
  EXPECT_EQ(list.items[0], 0);
  EXPECT_EQ(list.items[184], 184);
  EXPECT_EQ(list.enemies, std::vector<int>(53, -1));
  EXPECT_EQ(list.doors, std::vector<int>(264, -1));
  EXPECT_FALSE(list.has_lock_section);
  EXPECT_TRUE(list.locks.empty());
  EXPECT_FALSE(list.enemies_randomized());
  EXPECT_FALSE(list.doors_randomized());
}

TEST(ItemListReaderTest, ReadsTheLockSection) {
  std::vector<std::string> lines = Lines(WrittenList(true));
  ASSERT_EQ(lines.size(), 543u);
  lines[505] = "15";  // lock position 0, line 506
  lines[542] = "0";   // lock position 37, line 543
  lines[186] = "12";  // the first enemy line, 187
  for (int i = 187; i < 239; ++i) lines[i] = "1";
  lines[240] = "263";  // door 0
  const ItemListReadResult read = ReadItemList(Join(lines));
  ASSERT_TRUE(read.contents) << read.problem->line << ": " << read.problem->message;
  EXPECT_TRUE(read.contents->has_lock_section);
  ASSERT_EQ(read.contents->locks.size(), 38u);
  EXPECT_EQ(read.contents->locks.front(), 15);
  EXPECT_EQ(read.contents->locks[1], 5);
  EXPECT_EQ(read.contents->locks.back(), 0);
  EXPECT_EQ(read.contents->enemies.front(), 12);
  EXPECT_TRUE(read.contents->enemies_randomized());
  EXPECT_EQ(read.contents->doors.front(), 263);
  EXPECT_TRUE(read.contents->doors_randomized());
}

struct Alteration {
  std::string name;
  bool locks;  ///< start from the 543-line file
  std::function<std::string(std::vector<std::string>)> alter;  ///< lines without CR LF
  int line;
  std::string message_part;
};

std::string Set(std::vector<std::string> lines, int line, const std::string& text) {
  lines[line - 1] = text;
  return Join(lines);
}

class FormProblemTest : public ::testing::TestWithParam<Alteration> {};

TEST_P(FormProblemTest, IsNamedWithItsLine) {
  const Alteration& a = GetParam();
  const ItemListReadResult read = ReadItemList(a.alter(Lines(WrittenList(a.locks))));
  ASSERT_FALSE(read.contents);
  ASSERT_TRUE(read.problem);
  EXPECT_EQ(read.problem->line, a.line) << read.problem->message;
  EXPECT_NE(read.problem->message.find(a.message_part), std::string::npos)
      << read.problem->message;
  EXPECT_EQ(read.problem->message.find('\n'), std::string::npos);
}

std::function<std::string(std::vector<std::string>)> SetLine(int line, std::string text) {
  return [line, text](std::vector<std::string> lines) { return Set(lines, line, text); };
}

INSTANTIATE_TEST_SUITE_P(
    All, FormProblemTest,
    ::testing::Values(
        Alteration{"Empty", false, [](auto) { return std::string(); }, 1, "empty"},
        Alteration{"LfAlone", false,
                   [](auto lines) {
                     std::string text = Join(lines);
                     // Line 7 ends at the 7th CR LF; drop its CR.
                     size_t at = 0;
                     for (int i = 0; i < 7; ++i) at = text.find("\r\n", at) + 2;
                     return text.erase(at - 2, 1);
                   },
                   7, "LF alone"},
        Alteration{"NoFinalLineEnd", false,
                   [](auto lines) { return Join(lines).substr(0, Join(lines).size() - 2); }, 504,
                   "does not end in CR LF"},
        Alteration{"CrInsideALine", false, SetLine(3, "2\r2"), 3, "a CR stands inside"},
        Alteration{"EnemyMarker", false, SetLine(186, "ENEMYRANDODAT"), 186,
                   "expected \"ENEMYRANDODATA\", found \"ENEMYRANDODAT\""},
        Alteration{"DoorMarkerLowerCase", false, SetLine(240, "doorrandodata"), 240,
                   "expected \"DOORRANDODATA\""},
        Alteration{"ItemIdTooLarge", false, SetLine(10, "187"), 10,
                   "expected an item id, 0 to 186, found 187"},
        Alteration{"ItemIdNegative", false, SetLine(185, "-1"), 185, "0 to 186, found -1"},
        Alteration{"PlusSign", false, SetLine(1, "+0"), 1, "in plain decimal, found \"+0\""},
        Alteration{"LeadingZero", false, SetLine(2, "01"), 2, "plain decimal"},
        Alteration{"MinusZero", false, SetLine(241, "-0"), 241, "plain decimal"},
        Alteration{"Blank", false, SetLine(20, " 19"), 20, "plain decimal"},
        Alteration{"EmptyLine", false, SetLine(21, ""), 21, "found an empty line"},
        Alteration{"Letters", false, SetLine(22, "x\x01"), 22, "found \"x\\x01\""},
        Alteration{"HugeNumber", false, SetLine(23, "99999999999"), 23, "plain decimal"},
        Alteration{"EnemyKindZero", false, SetLine(187, "0"), 187, "-1 or 1 to 12, found 0"},
        Alteration{"EnemyKindThirteen", false, SetLine(239, "13"), 239, "found 13"},
        Alteration{"EnemiesMixed", false, SetLine(200, "4"), 200,
                   "either all -1 or holds no -1"},
        Alteration{"DoorValueTooLarge", false, SetLine(504, "264"), 504,
                   "expected a door value, -1 or 0 to 263, found 264"},
        Alteration{"DoorValueBelowMinusOne", false, SetLine(300, "-2"), 300, "found -2"},
        Alteration{"LockTypeSixteen", true, SetLine(543, "16"), 543,
                   "expected a lock type, 0 to 15, found 16"},
        Alteration{"LockLinesWithoutMarker", true, SetLine(505, "5"), 505,
                   "expected \"LOCKRANDODATA\" or the end of the file after the door lines"},
        Alteration{"EndsEarly", false,
                   [](auto lines) {
                     lines.resize(300);
                     return Join(lines);
                   },
                   301, "ends after 300 lines; expected a door value here"},
        Alteration{"EndsBeforeTheEnemyMarker", false,
                   [](auto lines) {
                     lines.resize(185);
                     return Join(lines);
                   },
                   186, "expected \"ENEMYRANDODATA\" here"},
        Alteration{"LockMarkerAlone", true,
                   [](auto lines) {
                     lines.resize(505);
                     return Join(lines);
                   },
                   506, "ends after 505 lines; expected a lock type"},
        Alteration{"LockSectionShort", true,
                   [](auto lines) {
                     lines.pop_back();
                     return Join(lines);
                   },
                   543, "ends after 542 lines"},
        Alteration{"LineAfterTheLocks", true,
                   [](auto lines) {
                     lines.push_back("5");
                     return Join(lines);
                   },
                   544, "after the 38 lock lines"},
        Alteration{"BlankLineAtTheEnd", false,
                   [](auto lines) {
                     lines.push_back("");
                     return Join(lines);
                   },
                   505, "expected \"LOCKRANDODATA\""},
        Alteration{"TooLarge", false,
                   [](auto lines) { return Join(lines) + std::string(kMaxItemListBytes, '0'); },
                   0, "more than 65536 bytes"}),
    [](const testing::TestParamInfo<Alteration>& param) { return param.param.name; });

TEST(ItemListReaderTest, MessagesQuoteOnlyPrintableTextAndCutLongLines) {
  EXPECT_EQ(QuoteForMessage("ab\"\\\x7F\xC2\xB7"), "ab\\x22\\x5C\\x7F\\xC2\\xB7");
  EXPECT_EQ(QuoteForMessage(std::string(41, 'a')), std::string(40, 'a') + "...");
  EXPECT_EQ(QuoteForMessage(std::string(40, 'a')), std::string(40, 'a'));
}

}  // namespace
}  // namespace velmora
