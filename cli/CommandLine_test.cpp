#include "cli/CommandLine.h"

#include <gtest/gtest.h>

#include "app/DialogFixture_test.h"
#include "cli/SettingsString.h"

namespace velmora {
namespace {

ParseResult Parse(std::vector<std::string> args) {
  args.insert(args.begin(), "velmora");
  return ParseCommandLine(args);
}

// "1203ZG00000014" is the settings string of the defaults with seed 1,
// worked out by hand in SettingsString_test.cpp.
TEST(CommandLineTest, DefaultsTheWholeSeedRangeAndHelp) {
  ParseResult r = Parse({});
  ASSERT_TRUE(r.options) << r.error;
  EXPECT_FALSE(r.options->seed);
  r.options->seed = 1;
  EXPECT_EQ(EncodeSettings(*r.options), "1203ZG00000014");

  EXPECT_EQ(Parse({"--seed", "0"}).options.value().seed, 0u);
  EXPECT_EQ(Parse({"--seed", "4294967295"}).options.value().seed, 4294967295u);
  const ParseResult help = Parse({"--help"});
  ASSERT_TRUE(help.help);
  EXPECT_NE(help.help->find("--character"), std::string::npos);
}

TEST(CommandLineTest, BadArgumentsAreRefusedWithAOneLineMessageNamingTheProblem) {
  const std::pair<std::vector<std::string>, const char*> cases[] = {
      {{"--frobnicate"}, "--frobnicate"},
      {{"--seed", "4294967296"}, "--seed"},
      {{"--seed", "1\n2\r3"}, "'1 2 3'"},
      {{"--character", "barry"}, "barry"},
      {{"--difficulty", "easy"}, "easy"},
      {{"--items", "--no-items"}, "--no-items"},
      {{"--kinds", "zombies"}, "need --enemies"},
      {{"--enemies", "--kinds", "zombies,ghosts"}, "ghosts"},
      {{"--enemies", "--yawn", "lots"}, "--yawn"},
      {{"--remove", "healing,keys"}, "keys"},
      {{"--doors", "--difficulty", "hard"}, "always Normal"},
      {{"--doors", "--no-items"}, "always place items"},
      {{"--doors", "--locks"}, "keep the game's locks"},
      {{"--door-map", "m.dot"}, "--door-map needs --doors"},
      // The string holds every option and the seed.
      {{"--settings", "1203ZG00000014", "--character", "jill"}, "--settings cannot go with --character"},
      {{"--settings", "1203ZG00000015"}, "--settings: '1203ZG00000015' is not a valid settings string"},
      {{"--settings", "1203ZG00000014", "--seed", "3"}, "--settings cannot go with --seed"},
      // The weights file draws every option.
      {{"--mystery", "w.json", "--locks"}, "--mystery cannot go with --locks"},
      {{"--mystery", "w.json", "--settings", "1203ZG00000014"}, "--mystery cannot go with --settings"},
  };
  for (const auto& [args, message_part] : cases) {
    const ParseResult r = Parse(args);
    EXPECT_FALSE(r.options) << message_part;
    EXPECT_NE(r.error.find(message_part), std::string::npos) << r.error;
    EXPECT_EQ(r.error.find('\n'), std::string::npos) << r.error;
  }
}

// Where the files go and how the seed is found may stand beside the string.
// (That the string's options are generated into the --out directory, the property
// run shows.)
TEST(CommandLineTest, SettingsKeepWhereTheFilesGoAndHowTheSeedIsFound) {
  const ParseResult r = Parse({"--settings", "1203ZG00000014", "--out", "somewhere",
                               "--spoiler-json", "s.json", "--no-attempt-index"});
  ASSERT_TRUE(r.options) << r.error;
  EXPECT_EQ(r.options->spoiler_json, "s.json");
  EXPECT_FALSE(r.options->attempt_index);
  EXPECT_TRUE(Parse({"--settings", "1203ZG00000014"}).options.value().attempt_index);
}

// The property run shows that the dialog's controls give back every option
// set clicked into them; the attempt index is no control.
TEST(ApplyOptionsTest, TheAttemptIndexFollowsTheOption) {
  for (const bool index : {true, false}) {
    DialogFixture f;
    CommandLineOptions o;
    o.attempt_index = index;
    ApplyOptions(o, f.window, f.dlg);
    EXPECT_EQ(f.dlg.m_useAttemptIndex, index);
  }
}

}  // namespace
}  // namespace velmora
