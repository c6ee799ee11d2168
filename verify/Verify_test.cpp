#include "verify/Verify.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "output/PlacementHash.h"
#include "verify/GeneratedItemList_test.h"

namespace velmora {
namespace {


struct Options {
  std::string name;
  std::vector<std::string> args;  ///< without --seed
  int seeds;
  bool slow = false;  ///< Chris's item shuffles
};

class VerifyGeneratedTest : public ::testing::TestWithParam<Options> {};

// Every file the generator writes is sound, read as what its name says.
TEST_P(VerifyGeneratedTest, EveryFileTheGeneratorWritesIsSound) {
  if (GetParam().slow && std::getenv("VELMORA_SANITIZED"))
    GTEST_SKIP() << "Chris's item shuffles take minutes under the sanitizers";
  for (int seed = 1; seed <= GetParam().seeds; ++seed) {
    std::vector<std::string> args = GetParam().args;
    args.push_back("--seed");
    args.push_back(std::to_string(seed * 1009));
    const GeneratedItemList generation = GenerateItemList(args);
    const NamedSelection selection = SelectionFromFileName(generation.file_name);
    ASSERT_TRUE(selection.character && selection.difficulty) << generation.file_name;
    const VerifyResult result =
        VerifyItemList(generation.bytes, *selection.character, *selection.difficulty);
    EXPECT_EQ(result.status, kVerifySound)
        << "seed " << seed * 1009 << ", line " << result.problem->line << ": "
        << result.problem->message;
    EXPECT_EQ(result.hash, PlacementHash(generation.bytes));
  }
}

// Chris's item shuffles take about a second each, so only a few of them.
INSTANTIATE_TEST_SUITE_P(
    Combinations, VerifyGeneratedTest,
    ::testing::Values(
        Options{"JillNormalItems", {}, 12},
        Options{"JillHardItemsEnemies", {"--difficulty", "hard", "--enemies"}, 6},
        Options{"JillNormalLocksModifiers",
                {"--locks", "--remove", "healing,ink", "--armed-capsule"}, 6},
        Options{"JillHardLocksEnemiesSwap",
                {"--difficulty", "hard", "--locks", "--enemies", "--tyrant", "many",
                 "--tyrant-type", "random", "--swap-sdg"},
                6},
        Options{"JillDoorsEnemiesModifiers",
                {"--doors", "--enemies", "--kinds", "none", "--yawn", "none", "--remove",
                 "healing,ammo,ink,defence", "--swap-sdg", "--armed-capsule"},
                6},
        Options{"ChrisDoors", {"--character", "chris", "--doors", "--enemies", "--lisa", "many"},
                6},
        Options{"ChrisNoItemsLocksEnemies",
                {"--character", "chris", "--no-items", "--locks", "--enemies"}, 6},
        Options{"ChrisHardNoItemsModifiers",
                {"--character", "chris", "--difficulty", "hard", "--no-items", "--remove", "ammo",
                 "--swap-sdg"},
                6},
        Options{"ChrisNormalItemsModifiers",
                {"--character", "chris", "--remove", "defence", "--armed-capsule"}, 2, true},
        Options{"ChrisHardItemsLocks", {"--character", "chris", "--difficulty", "hard", "--locks"},
                1, true}),
    [](const testing::TestParamInfo<Options>& param) { return param.param.name; });

TEST(VerifyTest, AMalformedFileIsStatusTwoAndAnUnsoundOneStatusOne) {
  const GeneratedItemList generation = GenerateItemList({"--seed", "3"});
  std::string malformed = generation.bytes;
  malformed.pop_back();  // the last LF
  const VerifyResult bad_form = VerifyItemList(malformed, Character::kJill, Difficulty::kNormal);
  EXPECT_EQ(bad_form.status, kVerifyMalformed);
  ASSERT_TRUE(bad_form.problem);
  EXPECT_EQ(bad_form.problem->line, 504);
  EXPECT_TRUE(bad_form.hash.empty());

  // Slot 0 gets the Shotgun that only door seeds hand out.
  std::string unsound = generation.bytes;
  unsound.replace(0, unsound.find("\r\n"), "186");
  const VerifyResult bad_sense = VerifyItemList(unsound, Character::kJill, Difficulty::kNormal);
  EXPECT_EQ(bad_sense.status, kVerifyUnsound);
  ASSERT_TRUE(bad_sense.problem);
  EXPECT_EQ(bad_sense.problem->line, 1);
}

struct NamedCase {
  std::string path;
  std::optional<Character> character;
  std::optional<Difficulty> difficulty;
};

class FileNameTest : public ::testing::TestWithParam<NamedCase> {};

TEST_P(FileNameTest, TellsTheCharacterAndDifficulty) {
  const NamedSelection selection = SelectionFromFileName(GetParam().path);
  EXPECT_EQ(selection.character, GetParam().character);
  EXPECT_EQ(selection.difficulty, GetParam().difficulty);
}

INSTANTIATE_TEST_SUITE_P(
    All, FileNameTest,
    ::testing::Values(NamedCase{"ItemListJillNormal.txt", Character::kJill, Difficulty::kNormal},
                      NamedCase{"seeds/ItemListChrisHard.txt", Character::kChris, Difficulty::kHard},
                      NamedCase{"C:\\game\\ItemListChrisNormal (1).txt", Character::kChris,
                                Difficulty::kNormal},
                      NamedCase{"ItemListJill.txt", Character::kJill, std::nullopt},
                      NamedCase{"itemlistjillnormal.txt", std::nullopt, std::nullopt},
                      NamedCase{"ItemListJillNormal/seed.txt", std::nullopt, std::nullopt},
                      NamedCase{"CheatSheetJillNormal.txt", std::nullopt, std::nullopt}));

class RunVerifyTest : public ::testing::Test {
 protected:
  // Each test has its own directory: ctest runs the tests of this fixture side by side.
  RunVerifyTest()
      : dir(std::filesystem::path(testing::TempDir()) /
            (std::string("velmora-verify-") +
             ::testing::UnitTest::GetInstance()->current_test_info()->name())) {
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
  }
  ~RunVerifyTest() override {
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
  }
  std::string Write(const std::string& name, const std::string& bytes) {
    const std::filesystem::path path = dir / name;
    std::ofstream(path, std::ios::binary) << bytes;
    return path.string();
  }
  int Run(std::vector<std::string> args) {
    out.str("");
    err.str("");
    return RunVerify(args, out, err);
  }
  std::filesystem::path dir;
  std::ostringstream out, err;
};

TEST_F(RunVerifyTest, ASoundFilePrintsOkTheHashAndASummary) {
  const GeneratedItemList generation =
      GenerateItemList({"--seed", "5", "--character", "chris", "--doors", "--enemies"});
  const std::string path = Write(generation.file_name, generation.bytes);
  EXPECT_EQ(Run({path}), kVerifySound) << err.str();
  EXPECT_EQ(out.str(), "ok\nhash " + PlacementHash(generation.bytes) +
                           "\nChris Normal: items placed for doors, enemies randomized, doors "
                           "rewired, locks kept\n");
  EXPECT_EQ(err.str(), "");
}

TEST_F(RunVerifyTest, TheOptionsOverrideTheFileName) {
  // A Normal seed saved under the Hard name: Hard pins 37 slots that a Normal
  // shuffle moves.
  const GeneratedItemList normal = GenerateItemList({"--seed", "5"});
  const std::string path = Write("ItemListJillHard.txt", normal.bytes);
  EXPECT_EQ(Run({path}), kVerifyUnsound);
  EXPECT_NE(err.str().find("is pinned"), std::string::npos) << err.str();
  EXPECT_EQ(Run({path, "--difficulty", "normal"}), kVerifySound) << err.str();
  EXPECT_EQ(Run({"--character=jill", "--difficulty=normal", path}), kVerifySound) << err.str();
}

TEST_F(RunVerifyTest, AnImpossibleCombinationIsUnsound) {
  const GeneratedItemList doors = GenerateItemList({"--seed", "5", "--doors"});
  const std::string path = Write(doors.file_name, doors.bytes);
  EXPECT_EQ(Run({path, "--difficulty", "hard"}), kVerifyUnsound);
  EXPECT_EQ(err.str(), path + ":241: unsound: door values in a Hard item list; door seeds are "
                              "always Normal, so expected 264 lines of -1\n");
}

TEST_F(RunVerifyTest, AProblemIsPrintedWithTheFileAndLine) {
  std::string bytes = GenerateItemList({"--seed", "2"}).bytes;
  bytes.replace(bytes.find("ENEMYRANDODATA"), 5, "ENEMA");
  const std::string path = Write("ItemListJillNormal.txt", bytes);
  EXPECT_EQ(Run({path}), kVerifyMalformed);
  EXPECT_EQ(out.str(), "");
  EXPECT_EQ(err.str(), path + ":186: malformed: expected \"ENEMYRANDODATA\", found "
                              "\"ENEMARANDODATA\"\n");
}

struct BadArguments {
  std::vector<std::string> args;
  std::string message_part;
};

class RunVerifyArgumentsTest : public RunVerifyTest,
                               public ::testing::WithParamInterface<BadArguments> {};

TEST_P(RunVerifyArgumentsTest, IsABadArgumentWithOneLine) {
  EXPECT_EQ(Run(GetParam().args), kVerifyMalformed);
  const std::string message = err.str();
  EXPECT_NE(message.find(GetParam().message_part), std::string::npos) << message;
  EXPECT_EQ(std::count(message.begin(), message.end(), '\n'), 1) << message;
}

INSTANTIATE_TEST_SUITE_P(
    All, RunVerifyArgumentsTest,
    ::testing::Values(
        BadArguments{{}, "no file given"},
        BadArguments{{"a.txt", "b.txt"}, "one file at a time"},
        BadArguments{{"ItemListJillNormal.txt", "--seed", "1"}, "unknown option --seed"},
        BadArguments{{"ItemListJillNormal.txt", "--character"}, "--character needs a value"},
        BadArguments{{"ItemListJillNormal.txt", "--character", "barry"},
                     "--character: 'barry' is not jill or chris"},
        BadArguments{{"ItemListJillNormal.txt", "--difficulty=easy"},
                     "--difficulty: 'easy' is not normal or hard"},
        BadArguments{{"seed.txt", "--character", "jill"}, "does not tell the character"},
        BadArguments{{"/nonexistent/ItemListJillNormal.txt"}, "cannot open it"}));

TEST_F(RunVerifyTest, HelpIsNotAnError) {
  EXPECT_EQ(Run({"--help"}), kVerifySound);
  EXPECT_NE(out.str().find("Usage: velmora verify FILE"), std::string::npos);
}

}  // namespace
}  // namespace velmora
