#include "verify/Verify.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "output/PlacementHash.h"
#include "output/test_support.h"

namespace velmora {
namespace {

// Every generated seed is judged by the verifier in the property run; here,
// the file name's selection and what `velmora verify` prints and returns.

// The item list named `name` that the dialog writes for `g`.
std::string ItemList(const Generation& g, const std::string& name = "ItemListJillNormal.txt") {
  return GeneratedSeed(g).files.files().at(name);
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
    ::testing::Values(
        NamedCase{"ItemListJillNormal.txt", Character::kJill, Difficulty::kNormal},
        NamedCase{"seeds/ItemListChrisHard.txt", Character::kChris, Difficulty::kHard},
        NamedCase{"C:\\game\\ItemListChrisNormal (1).txt", Character::kChris, Difficulty::kNormal},
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
  const std::string bytes = ItemList(
      {.character = kChris, .enemies = true, .doors = true, .seed = 5}, "ItemListChrisNormal.txt");
  const std::string path = Write("ItemListChrisNormal.txt", bytes);
  EXPECT_EQ(Run({path}), kVerifySound) << err.str();
  EXPECT_EQ(out.str(), "ok\nhash " + PlacementHash(bytes) +
                           "\nChris Normal: items placed for doors, enemies randomized, doors "
                           "rewired, locks kept\n");
  EXPECT_EQ(err.str(), "");
}

TEST_F(RunVerifyTest, TheOptionsOverrideTheFileName) {
  // A Normal seed saved under the Hard name: Hard pins 37 slots that a Normal
  // shuffle moves.
  const std::string path = Write("ItemListJillHard.txt", ItemList({.seed = 5}));
  EXPECT_EQ(Run({path}), kVerifyUnsound);
  EXPECT_NE(err.str().find("is pinned"), std::string::npos) << err.str();
  EXPECT_EQ(Run({path, "--difficulty", "normal"}), kVerifySound) << err.str();
  EXPECT_EQ(Run({"--character=jill", "--difficulty=normal", path}), kVerifySound) << err.str();
}

// A problem is printed as FILE:LINE: ..., or as FILE: ... when it belongs to
// no single line.
TEST_F(RunVerifyTest, AProblemIsPrintedWithTheFileAndItsLine) {
  const std::string door_path =
      Write("ItemListJillNormal.txt", ItemList({.doors = true, .seed = 5}));
  EXPECT_EQ(Run({door_path, "--difficulty", "hard"}), kVerifyUnsound);
  EXPECT_EQ(err.str(), door_path +
                           ":241: unsound: door values in a Hard item list; door seeds "
                           "are always Normal, so expected 264 lines of -1\n");

  std::string bytes = ItemList({.seed = 2});
  bytes.replace(bytes.find("ENEMYRANDODATA"), 5, "ENEMA");
  const std::string path = Write("ItemListJillNormal.txt", bytes);
  EXPECT_EQ(Run({path}), kVerifyMalformed);
  EXPECT_EQ(out.str(), "");
  EXPECT_EQ(err.str(), path +
                           ":186: malformed: expected \"ENEMYRANDODATA\", found "
                           "\"ENEMARANDODATA\"\n");

  // Slot 100 of an unshuffled list holds a filler: item 100 lies nowhere.
  std::string kept = ItemList({.items = false});
  size_t at = 0;
  for (int line = 1; line < 101; ++line) at = kept.find("\r\n", at) + 2;
  kept.replace(at, 3, "167");
  const std::string kept_path = Write("ItemListJillNormal.txt", kept);
  EXPECT_EQ(Run({kept_path}), kVerifyUnsound);
  EXPECT_TRUE(err.str().starts_with(kept_path + ": unsound: item 100 ")) << err.str();
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
        BadArguments{{}, "no file given"}, BadArguments{{"a.txt", "b.txt"}, "one file at a time"},
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
