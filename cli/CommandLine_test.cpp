#include "cli/CommandLine.h"

#include <gtest/gtest.h>

#include <sstream>

#include "app/DialogFixture_test.h"
#include "cli/SettingsString.h"

namespace velmora {
namespace {

ParseResult Parse(std::vector<std::string> args) {
  args.insert(args.begin(), "velmora");
  return ParseCommandLine(args);
}

// The arguments of a command line written out with single spaces.
std::vector<std::string> Words(const std::string& line) {
  std::vector<std::string> words;
  std::istringstream in(line);
  for (std::string word; in >> word;) words.push_back(word);
  return words;
}

// "1203ZG00000014" is the settings string of the defaults with seed 1,
// worked out by hand in SettingsString_test.cpp.
TEST(CommandLineTest, DefaultsTheWholeSeedRangeAndHelp) {
  ParseResult r = Parse({});
  ASSERT_TRUE(r.options) << r.error;
  EXPECT_FALSE(r.options->seed);
  EXPECT_EQ(r.options->out_dir, "");
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
      {{"--seed", "12abc"}, "--seed"},
      {{"--seed", "1\n2\r3"}, "'1 2 3'"},
      {{"--seed", "99999999999999999999999"}, "--seed"},
      {{"--character", "barry"}, "barry"},
      {{"--difficulty", "easy"}, "easy"},
      {{"--items", "--no-items"}, "--no-items"},
      {{"--kinds", "zombies"}, "need --enemies"},
      {{"--tyrant", "many"}, "need --enemies"},
      {{"--tyrant-type", "slow"}, "need --enemies"},
      {{"--enemies", "--kinds", "zombies,ghosts"}, "ghosts"},
      {{"--enemies", "--yawn", "lots"}, "--yawn"},
      {{"--enemies", "--tyrant-type", "medium"}, "medium"},
      {{"--remove", "healing,keys"}, "keys"},
      {{"--doors", "--difficulty", "hard"}, "always Normal"},
      {{"--doors", "--no-items"}, "always place items"},
      {{"--doors", "--locks"}, "keep the game's locks"},
      {{"--door-map", "m.dot"}, "--door-map needs --doors"},
      // Jill Normal Items, seed 1: the settings string has no Doors either.
      {{"--settings", "1203ZG00000014", "--door-map", "m.dot"}, "--door-map needs --doors"},
      // The string holds every option and the seed.
      {{"--settings", "1203ZG00000014", "--character", "jill"}, "--settings cannot go with --character"},
      {{"--settings", "1203ZG00000014", "--seed", "1"}, "--settings cannot go with --seed"},
      {{"--settings", "1203ZG00000015"}, "--settings: '1203ZG00000015' is not a valid settings string"},
  };
  for (const auto& [args, message_part] : cases) {
    const ParseResult r = Parse(args);
    EXPECT_FALSE(r.options) << message_part;
    EXPECT_NE(r.error.find(message_part), std::string::npos) << r.error;
    EXPECT_EQ(r.error.find('\n'), std::string::npos) << r.error;
  }
}

// Where the files go and how the seed is found may stand beside the string.
// (That the string's options are generated, the property run shows.)
TEST(CommandLineTest, SettingsKeepWhereTheFilesGoAndHowTheSeedIsFound) {
  const ParseResult r = Parse({"--settings", "1203ZG00000014", "--out", "somewhere",
                               "--spoiler-json", "s.json", "--no-attempt-index"});
  ASSERT_TRUE(r.options) << r.error;
  EXPECT_EQ(r.options->out_dir, "somewhere");
  EXPECT_EQ(r.options->spoiler_json, "s.json");
  EXPECT_FALSE(r.options->attempt_index);
  EXPECT_TRUE(Parse({"--settings", "1203ZG00000014"}).options.value().attempt_index);
}

// Each option set clicked into a fresh dialog: its controls give the set
// back, so a rule of the dialog or a click that goes astray shows.
TEST(ApplyOptionsTest, TheControlsGiveBackTheOptionsClickedIntoThem) {
  for (const char* line : {
           "",
           "--enemies --kinds dogs,bees --tyrant many --yawn none --tyrant-type random",
           "--doors --remove healing,ink --swap-sdg --armed-capsule",
           "--no-items --locks --enemies --kinds none --no-attempt-index",
           "--doors --enemies --kinds zombies,sharks --tyrant none --yawn many --lisa many --tyrant-type slow",
           "--character chris --difficulty hard --remove ammo,defence --locks",
       }) {
    ParseResult r = Parse(Words(line));
    ASSERT_TRUE(r.options) << r.error;
    DialogFixture f;
    ApplyOptions(*r.options, f.window, f.dlg);
    r.options->seed = 5;
    EXPECT_EQ(EncodeSettings(ReadOptions(f.window, 5)), EncodeSettings(*r.options)) << line;
    EXPECT_EQ(f.dlg.m_useAttemptIndex, r.options->attempt_index) << line;
    if (r.options->doors) {  // the dialog's Doors rule ran
      for (int id : {kIdItems, kIdLocks, kIdHard}) EXPECT_FALSE(f.window.IsControlEnabled(id)) << line;
    }
  }
}

}  // namespace
}  // namespace velmora
