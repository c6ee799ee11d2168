#include "verify/Verify.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "output/OutputFiles.h"
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

TEST(VerifyTest, TheFileNameTellsTheCharacterAndDifficulty) {
  const struct {
    std::string path;
    std::optional<Character> character;
    std::optional<Difficulty> difficulty;
  } cases[] = {{"ItemListJillNormal.txt", kJill, kNormal},
               {"seeds/ItemListChrisHard.txt", kChris, kHard},
               {"C:\\game\\ItemListChrisNormal (1).txt", kChris, kNormal},
               {"itemlistjillnormal.txt", std::nullopt, std::nullopt},
               {"ItemListJillNormal/seed.txt", std::nullopt, std::nullopt},
               {"CheatSheetJillNormal.txt", std::nullopt, std::nullopt}};
  for (const auto& c : cases) {
    EXPECT_EQ(SelectionFromFileName(c.path).character, c.character) << c.path;
    EXPECT_EQ(SelectionFromFileName(c.path).difficulty, c.difficulty) << c.path;
  }
}

class RunVerifyTest : public ::testing::Test {
 protected:
  // Each test has its own directory: ctest runs the tests of this fixture side by side.
  void SetUp() override { std::filesystem::create_directories(dir); }
  void TearDown() override { std::filesystem::remove_all(dir); }
  std::string Write(const std::string& name, const std::string& bytes) {
    EXPECT_FALSE(DiskOutputFiles(dir.string()).Write(name, bytes)) << name;
    return (dir / name).string();
  }
  int Run(std::vector<std::string> args) {
    out.str("");
    err.str("");
    return RunVerify(args, out, err);
  }
  const std::filesystem::path dir =
      std::filesystem::path(testing::TempDir()) /
      ("velmora-verify-" + std::string(testing::UnitTest::GetInstance()->current_test_info()->name()));
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
  EXPECT_EQ(Run({"--character=jill", "--difficulty=normal", path}), kVerifySound) << err.str();
}

// A problem is printed as FILE:LINE: ..., or as FILE: ... when it belongs to
// no single line.
TEST_F(RunVerifyTest, AProblemIsPrintedWithTheFileAndItsLine) {
  std::string bytes = ItemList({.seed = 2});
  bytes.replace(bytes.find("ENEMYRANDODATA"), 5, "ENEMA");
  const std::string path = Write("ItemListJillNormal.txt", bytes);
  EXPECT_EQ(Run({path}), kVerifyMalformed);
  EXPECT_EQ(out.str(), "");
  EXPECT_EQ(err.str(), path +
                           ":186: malformed: expected \"ENEMYRANDODATA\", found "
                           "\"ENEMARANDODATA\"\n");

  // Slot 100 of an unshuffled list holds a filler: item 100 lies nowhere.
  std::vector<std::string> kept = SplitCrLf(ItemList({.items = false}));
  kept[100] = "167";
  const std::string kept_path = Write("ItemListJillNormal.txt", Lines(kept));
  EXPECT_EQ(Run({kept_path}), kVerifyUnsound);
  EXPECT_TRUE(err.str().starts_with(kept_path + ": unsound: item 100 ")) << err.str();
}

TEST_F(RunVerifyTest, BadArgumentsAreNamedOnOneLine) {
  const std::pair<std::vector<std::string>, std::string> cases[] = {
      {{}, "no file given"},
      {{"a.txt", "b.txt"}, "one file at a time"},
      {{"ItemListJillNormal.txt", "--seed", "1"}, "unknown option --seed"},
      {{"ItemListJillNormal.txt", "--character", "barry"},
       "--character: 'barry' is not jill or chris"},
      {{"seed.txt", "--character", "jill"}, "does not tell the character"},
      {{"/nonexistent/ItemListJillNormal.txt"}, "cannot open it"}};
  for (const auto& [args, part] : cases) {
    EXPECT_EQ(Run(args), kVerifyMalformed) << part;
    EXPECT_NE(err.str().find(part), std::string::npos) << err.str();
    EXPECT_EQ(CountOf(err.str(), "\n"), 1u) << err.str();
  }
  // Help is no error.
  EXPECT_EQ(Run({"--help"}), kVerifySound);
  EXPECT_NE(out.str().find("Usage: velmora verify FILE"), std::string::npos);
}

}  // namespace
}  // namespace velmora
