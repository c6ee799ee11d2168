#include "reliability/PropertyRun.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "output/test_support.h"

namespace velmora {
namespace {

// The separate-process comparison and the cheap seeds of every kind run in
// the property run itself; here, that its checks notice what they look for.

// Swaps lines `a` and `b` (0-based) of a file's bytes, each line ending in CR LF.
std::string SwapLines(const std::string& bytes, size_t a, size_t b) {
  std::vector<std::string> lines = SplitCrLf(bytes);
  std::swap(lines.at(a), lines.at(b));
  return Lines(lines);
}

TEST(PropertyRunTest, DamageToAGeneratedSeedIsFound) {
  CommandLineOptions o;
  o.enemies = true;
  const GeneratedSeed run({.enemies = true, .seed = 21});
  const std::string list = run.files.files().at("ItemListJillNormal.txt");
  const std::string sheet = run.files.files().at("CheatSheetJillNormal.txt");
  auto broken = [&](const CommandLineOptions& options, const std::string& item_list,
                    const std::string& cheat_sheet) {
    return CheckSeedFiles(options, run.dlg, item_list, cheat_sheet);
  };
  ASSERT_EQ(broken(o, list, sheet), std::vector<std::string>{});

  // Slots 0 and 1 trade items behind the cheat sheet's back: both its lines
  // disagree.
  EXPECT_EQ(broken(o, SwapLines(list, 0, 1), sheet).size(), 2u);
  // Two enemy positions of different kinds trade them: both lines disagree.
  size_t other = 187;
  while (SwapLines(list, 186, other) == list) ++other;
  ASSERT_LT(other, 239u) << "53 positions of one kind";
  const std::vector<std::string> enemies = broken(o, SwapLines(list, 186, other), sheet);
  ASSERT_EQ(enemies.size(), 2u);
  EXPECT_TRUE(enemies[0].starts_with("cheat sheet enemy line")) << enemies[0];

  std::string bare_lf = sheet;
  bare_lf.erase(bare_lf.find("\r\n"), 1);
  EXPECT_EQ(broken(o, list, bare_lf).size(), 1u);
  const std::string truncated = list.substr(0, list.size() - 2);
  EXPECT_EQ(broken(o, truncated, sheet).size(), 1u) << "the verifier's verdict";

  CommandLineOptions other_options = o;
  other_options.locks = true;
  EXPECT_EQ(broken(other_options, list, sheet),
            std::vector<std::string>{"the item list has no lock section"});
}

TEST(PropertyRunTest, SeparateProcessThatWritesNothingOrFailsIsReported) {
  const std::string scratch = testing::TempDir() + "velmora-property-test";
  const SeedCase c = CaseFor(0, 0, SeedMix{});
  const SeedOutcome outcome = GenerateAndCheck(c);
  EXPECT_EQ(CompareWithProcess("/bin/true", c, outcome, scratch).size(), 2u)
      << "no files and an empty log";
  EXPECT_EQ(CompareWithProcess("/bin/false", c, outcome, scratch).size(), 3u)
      << "the status as well";
  std::filesystem::remove_all(scratch);
}

}  // namespace
}  // namespace velmora
