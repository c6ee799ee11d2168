#include "cli/CommandLine.h"

#include <gtest/gtest.h>

#include <cctype>

#include "app/ControlIds.h"
#include "app/MemoryWindow.h"
#include "app/VelmoraDlg.h"
#include "output/OutputFiles.h"

namespace velmora {
namespace {

ParseResult Parse(std::vector<std::string> args) {
  args.insert(args.begin(), "velmora");
  return ParseCommandLine(args);
}

TEST(CommandLineTest, DefaultsAreJillNormalItemsAndTheTime) {
  ParseResult r = Parse({});
  ASSERT_TRUE(r.options) << r.error;
  EXPECT_FALSE(r.options->chris);
  EXPECT_FALSE(r.options->hard);
  EXPECT_TRUE(r.options->items);
  EXPECT_FALSE(r.options->enemies);
  EXPECT_FALSE(r.options->seed);
  EXPECT_EQ(r.options->out_dir, "");
}

TEST(CommandLineTest, SeedTakesTheWholeUnsigned32BitRange) {
  ASSERT_TRUE(Parse({"--seed", "0"}).options);
  ParseResult r = Parse({"--seed", "4294967295"});
  ASSERT_TRUE(r.options) << r.error;
  EXPECT_EQ(*r.options->seed, 4294967295u);
}

struct BadArguments {
  std::vector<std::string> args;
  std::string message_part;
};

std::string CaseName(const testing::TestParamInfo<BadArguments>& info) {
  std::string name;
  for (const std::string& arg : info.param.args)
    for (char c : arg) name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
  return name + "_" + std::to_string(info.index);
}

class BadArgumentsTest : public ::testing::TestWithParam<BadArguments> {};

TEST_P(BadArgumentsTest, IsRefusedWithAOneLineMessageNamingTheProblem) {
  ParseResult r = Parse(GetParam().args);
  EXPECT_FALSE(r.options);
  EXPECT_NE(r.error.find(GetParam().message_part), std::string::npos) << r.error;
  EXPECT_EQ(r.error.find('\n'), std::string::npos) << r.error;
}

INSTANTIATE_TEST_SUITE_P(
    All, BadArgumentsTest,
    ::testing::Values(
        BadArguments{{"--frobnicate"}, "--frobnicate"},
        BadArguments{{"--seed", "4294967296"}, "--seed"},
        BadArguments{{"--seed", "-1"}, "--seed"},
        BadArguments{{"--seed", "12abc"}, "--seed"},
        BadArguments{{"--seed", "1\n2\r3"}, "'1 2 3'"},
        BadArguments{{"--seed", "99999999999999999999999"}, "--seed"},
        BadArguments{{"--character", "barry"}, "barry"},
        BadArguments{{"--difficulty", "easy"}, "easy"},
        BadArguments{{"--items", "--no-items"}, "--no-items"},
        BadArguments{{"--kinds", "zombies"}, "need --enemies"},
        BadArguments{{"--tyrant", "many"}, "need --enemies"},
        BadArguments{{"--tyrant-type", "slow"}, "need --enemies"},
        BadArguments{{"--enemies", "--kinds", "zombies,ghosts"}, "ghosts"},
        BadArguments{{"--enemies", "--yawn", "lots"}, "--yawn"},
        BadArguments{{"--enemies", "--tyrant-type", "medium"}, "medium"},
        BadArguments{{"--remove", "healing,keys"}, "keys"},
        BadArguments{{"--doors", "--difficulty", "hard"}, "always Normal"},
        BadArguments{{"--doors", "--no-items"}, "always place items"},
        BadArguments{{"--doors", "--locks"}, "keep the game's locks"}),
    CaseName);

TEST(CommandLineTest, HelpIsNotAnError) {
  ParseResult r = Parse({"--help"});
  ASSERT_TRUE(r.help);
  EXPECT_NE(r.help->find("--character"), std::string::npos);
}

class ApplyOptionsTest : public ::testing::Test {
 protected:
  ApplyOptionsTest() : dlg(window, files) { dlg.OnInitDialog(); }
  void Apply(std::vector<std::string> args) {
    ParseResult r = Parse(std::move(args));
    ASSERT_TRUE(r.options) << r.error;
    ApplyOptions(*r.options, window, dlg);
  }
  MemoryWindow window;
  MemoryOutputFiles files;
  CVelmoraDlg dlg;
};

TEST_F(ApplyOptionsTest, EnemyPanelIsSetThroughTheEnabledPanel) {
  Apply({"--character", "chris", "--difficulty", "hard", "--enemies", "--kinds", "dogs,bees",
         "--tyrant", "many", "--yawn", "none", "--lisa", "one", "--tyrant-type", "random"});
  EXPECT_TRUE(window.IsChecked(kIdChris));
  EXPECT_TRUE(window.IsChecked(kIdHard));
  EXPECT_TRUE(window.IsChecked(kIdEnemies));
  EXPECT_TRUE(window.IsControlEnabled(kIdDogs));
  for (int id : {kIdDogs, kIdBees}) EXPECT_TRUE(window.IsChecked(id)) << id;
  for (int id : {kIdZombies, kIdHunters, kIdSpiders, kIdSharks, kIdChimera, kIdElderCrimsonHeads})
    EXPECT_FALSE(window.IsChecked(id)) << id;
  EXPECT_TRUE(window.IsChecked(kIdTyrantMany));
  EXPECT_TRUE(window.IsChecked(kIdYawnNone));
  EXPECT_TRUE(window.IsChecked(kIdLisaOne));
  EXPECT_TRUE(window.IsChecked(kIdTyrantRandom));
  EXPECT_FALSE(window.IsChecked(kIdTyrantFast));
}

TEST_F(ApplyOptionsTest, DoorsRunsTheDialogsRuleAndModifiersAreChecked) {
  Apply({"--doors", "--remove", "healing,ink", "--swap-sdg", "--armed-capsule"});
  EXPECT_TRUE(window.IsChecked(kIdDoors));
  EXPECT_FALSE(window.IsControlEnabled(kIdItems));
  EXPECT_FALSE(window.IsControlEnabled(kIdLocks));
  EXPECT_FALSE(window.IsControlEnabled(kIdHard));
  EXPECT_TRUE(window.IsChecked(kIdRemoveHealing));
  EXPECT_TRUE(window.IsChecked(kIdRemoveInkRibbons));
  EXPECT_FALSE(window.IsChecked(kIdRemoveAmmo));
  EXPECT_TRUE(window.IsChecked(kIdSwapSelfDefenseGun));
  EXPECT_TRUE(window.IsChecked(kIdArmedCapsule));
}

TEST_F(ApplyOptionsTest, NoItemsAndLocks) {
  EXPECT_TRUE(dlg.m_useAttemptIndex);
  Apply({"--no-items", "--locks", "--enemies", "--kinds", "none", "--no-attempt-index"});
  EXPECT_FALSE(dlg.m_useAttemptIndex);
  EXPECT_FALSE(window.IsChecked(kIdItems));
  EXPECT_TRUE(window.IsChecked(kIdLocks));
  for (int id : {kIdZombies, kIdDogs, kIdHunters, kIdSpiders, kIdSharks, kIdBees, kIdChimera,
                 kIdElderCrimsonHeads})
    EXPECT_FALSE(window.IsChecked(id)) << id;
}

}  // namespace
}  // namespace velmora
