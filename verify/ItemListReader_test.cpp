#include "verify/ItemListReader.h"

#include <gtest/gtest.h>

#include <numeric>
#include <optional>

#include "app/DialogFixture_test.h"
#include "app/GeneratorState.h"
#include "output/ItemList.h"

namespace velmora {
namespace {

// The writer's own lines, without their CR LF, for the identity placement
// and every option off: 504 lines. With locks, 38 lock lines of type 5
// follow the marker.
std::vector<std::string> WrittenLines(bool locks) {
  GeneratorState state;
  state.m_placement.resize(185);
  std::iota(state.m_placement.begin(), state.m_placement.end(), 0);
  state.m_lockTypes.assign(38, 5);
  return SplitCrLf(FormatItemList(state, false, false, locks));
}

TEST(ItemListReaderTest, ReadsEverySectionOfTheWritersFile) {
  // The first and last line of each section, at the top of its range.
  std::vector<std::string> lines = WrittenLines(true);
  lines[0] = "186";
  for (int i = 186; i < 239; ++i) lines[i] = "1";
  lines[186] = "12";   // the first enemy line, 187
  lines[240] = "263";  // door 0
  lines[505] = "15";   // lock position 0, line 506
  lines[542] = "0";    // lock position 37, line 543
  const ItemListReadResult read = ReadItemList(Lines(lines));
  ASSERT_TRUE(read.contents) << read.problem->line << ": " << read.problem->message;
  const ItemListContents& list = *read.contents;
  EXPECT_EQ(list.items.front(), 186);
  EXPECT_EQ(list.items.back(), 184);
  EXPECT_EQ(list.enemies.front(), 12);
  EXPECT_EQ(list.enemies.back(), 1);
  EXPECT_TRUE(list.enemies_randomized());
  EXPECT_EQ(list.doors.front(), 263);
  EXPECT_EQ(list.doors.back(), -1);
  EXPECT_TRUE(list.doors_randomized());
  EXPECT_TRUE(list.has_lock_section);
  ASSERT_EQ(list.locks.size(), 38u);
  EXPECT_EQ(list.locks.front(), 15);
  EXPECT_EQ(list.locks.back(), 0);
}

// A change to the writer's file: line `line` (1-based) set to `text`, or
// with `keep` set, the file cut to its first `keep` lines and `text`
// appended when given.
struct Alteration {
  std::string name;
  bool locks;  ///< start from the 543-line file
  int line;    ///< the line set, or 0
  std::optional<std::string> text;
  int keep = -1;
  int problem_line = 0;
  std::string message_part;
};

Alteration Set(std::string name, bool locks, int line, std::string text, std::string part) {
  return {std::move(name), locks, line, std::move(text), -1, line, std::move(part)};
}
Alteration Cut(std::string name, bool locks, int keep, std::optional<std::string> add, int line,
               std::string part) {
  return {std::move(name), locks, 0, std::move(add), keep, line, std::move(part)};
}

void ExpectFormProblem(const std::string& bytes, int line, const std::string& part) {
  const ItemListReadResult read = ReadItemList(bytes);
  ASSERT_FALSE(read.contents);
  ASSERT_TRUE(read.problem);
  EXPECT_EQ(read.problem->line, line) << read.problem->message;
  EXPECT_NE(read.problem->message.find(part), std::string::npos) << read.problem->message;
  EXPECT_EQ(read.problem->message.find('\n'), std::string::npos);
}

class FormProblemTest : public ::testing::TestWithParam<Alteration> {};

TEST_P(FormProblemTest, IsNamedWithItsLine) {
  const Alteration& a = GetParam();
  std::vector<std::string> lines = WrittenLines(a.locks);
  if (a.line > 0) lines[a.line - 1] = *a.text;
  if (a.keep >= 0) {
    lines.resize(a.keep);
    if (a.text) lines.push_back(*a.text);
  }
  ExpectFormProblem(Lines(lines), a.problem_line, a.message_part);
}

INSTANTIATE_TEST_SUITE_P(
    All, FormProblemTest,
    ::testing::Values(
        Cut("Empty", false, 0, std::nullopt, 1, "empty"),
        Set("CrInsideALine", false, 3, "2\r2", "a CR stands inside"),
        Set("ItemIdTooLarge", false, 10, "187", "expected an item id, 0 to 186, found 187"),
        Set("PlusSign", false, 1, "+0", "in plain decimal, found \"+0\""),
        Set("LeadingZero", false, 2, "01", "plain decimal"),
        Set("EmptyLine", false, 21, "", "found an empty line"),
        Set("EnemyKindZero", false, 187, "0", "-1 or 1 to 12, found 0"),
        Set("EnemiesMixed", false, 200, "4", "either all -1 or holds no -1"),
        Set("DoorValueTooLarge", false, 504, "264",
            "expected a door value, -1 or 0 to 263, found 264"),
        Set("LockTypeSixteen", true, 543, "16", "expected a lock type, 0 to 15, found 16"),
        Set("LockLinesWithoutMarker", true, 505, "5",
            "expected \"LOCKRANDODATA\" or the end of the file after the door lines"),
        Cut("EndsEarly", false, 300, std::nullopt, 301,
            "ends after 300 lines; expected a door value here"),
        Cut("LockMarkerAlone", true, 505, std::nullopt, 506,
            "ends after 505 lines; expected a lock type"),
        Cut("LineAfterTheLocks", true, 543, "5", 544, "after the 38 lock lines"),
        Cut("TooLarge", false, 504, std::string(kMaxItemListBytes, '0'), 0,
            "more than 65536 bytes")),
    [](const testing::TestParamInfo<Alteration>& param) { return param.param.name; });

// Line ends the table above cannot make: the last line without its CR LF,
// and a LF alone ending a line in the middle.
TEST(ItemListReaderTest, EveryLineEndsInCrLf) {
  const std::string text = Lines(WrittenLines(false));
  ExpectFormProblem(text.substr(0, text.size() - 2), 504, "does not end in CR LF");
  std::string lf = text;
  lf.erase(lf.find("6\r\n") + 1, 1);  // line 7 holds "6"
  ExpectFormProblem(lf, 7, "LF alone");
}

TEST(ItemListReaderTest, MessagesQuoteOnlyPrintableTextAndCutLongLines) {
  EXPECT_EQ(QuoteForMessage("ab\"\\\x7F\xC2\xB7"), "ab\\x22\\x5C\\x7F\\xC2\\xB7");
  EXPECT_EQ(QuoteForMessage(std::string(41, 'a')), std::string(40, 'a') + "...");
  EXPECT_EQ(QuoteForMessage(std::string(40, 'a')), std::string(40, 'a'));
}

}  // namespace
}  // namespace velmora
