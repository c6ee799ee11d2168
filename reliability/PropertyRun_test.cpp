#include "reliability/PropertyRun.h"

#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>

#include "app/ControlIds.h"
#include "verify/GeneratedItemList_test.h"

namespace velmora {
namespace {

std::string ScratchDir() {
  return (std::filesystem::temp_directory_path() /
          ("velmora-property-test-" + std::to_string(::getpid())))
      .string();
}

TEST(PropertyRunTest, MixKeepsItsShares) {
  SeedMix mix;
  mix.no_items = 500;
  mix.doors = 500;
  mix.chris_shuffles = 0;
  mix.jill_hard = 0;
  for (uint64_t i = 0; i < 300; ++i) {
    const CommandLineOptions o = CaseFor(i, 7, mix).options;
    EXPECT_TRUE(!o.items || o.doors) << i;
    if (o.doors) {
      EXPECT_TRUE(o.items && !o.hard && !o.locks) << i;
    }
  }
  EXPECT_NE(CaseFor(1, 0, mix).seed, CaseFor(1, 1, mix).seed) << "the salt changes the seeds";
}

// Cheap seeds of several kinds.
SeedCase Case(CommandLineOptions o, uint32_t seed) {
  SeedCase c;
  c.seed = seed;
  if (o.enemies && o.kinds.empty())
    o.kinds = {kIdZombies, kIdDogs, kIdHunters, kIdSpiders, kIdSharks, kIdBees, kIdChimera};
  c.options = o;
  return c;
}

std::vector<SeedCase> CheapCases() {
  CommandLineOptions jill;
  jill.enemies = true;
  jill.tyrant = SpawnChoice::kMany;
  jill.tyrant_type = TyrantType::kRandom;
  jill.remove_ammo = jill.armed_capsule = true;
  CommandLineOptions kept;
  kept.items = false;
  kept.chris = kept.hard = kept.locks = true;
  kept.swap_sdg = kept.remove_healing = true;
  CommandLineOptions doors;
  doors.doors = doors.chris = doors.enemies = true;
  doors.lisa = SpawnChoice::kNone;
  CommandLineOptions jill_locks;
  jill_locks.locks = true;
  jill_locks.remove_defence = jill_locks.remove_ink = true;
  return {Case(jill, 11), Case(kept, 12), Case(doors, 13), Case(jill_locks, 14)};
}

class GeneratedSeedTest : public ::testing::TestWithParam<SeedCase> {};

TEST_P(GeneratedSeedTest, KeepsEveryPropertyAndTheProgramWritesTheSameBytes) {
  const SeedOutcome outcome = GenerateAndCheck(GetParam());
  for (const std::string& line : outcome.broken) ADD_FAILURE() << line;
  EXPECT_EQ(outcome.files.size(), 2u);
  EXPECT_EQ(CompareWithProcess(VELMORA_PROGRAM, GetParam(), outcome, ScratchDir()),
            std::vector<std::string>{});
  std::filesystem::remove_all(ScratchDir());
}

INSTANTIATE_TEST_SUITE_P(Cheap, GeneratedSeedTest, ::testing::ValuesIn(CheapCases()),
                         [](const ::testing::TestParamInfo<SeedCase>& param) {
                           std::string name;
                           for (char c : KindLabel(param.param.options))
                             if (std::isalnum(static_cast<unsigned char>(c))) name += c;
                           return name;
                         });

// Swaps lines `a` and `b` (0-based) of a file's bytes, each line ending in CR LF.
std::string SwapLines(const std::string& bytes, size_t a, size_t b) {
  std::vector<std::string> lines;
  for (size_t at = 0; at < bytes.size(); at = bytes.find("\r\n", at) + 2)
    lines.push_back(bytes.substr(at, bytes.find("\r\n", at) - at));
  std::swap(lines.at(a), lines.at(b));
  std::string out;
  for (const std::string& line : lines) out += line + "\r\n";
  return out;
}

TEST(PropertyRunTest, DamageToAGeneratedSeedIsFound) {
  CommandLineOptions o;
  o.enemies = true;
  MemoryGeneration generation(o, 21);
  generation.dialog.OnBnClickedGenerateSeed();
  const std::string list = generation.File("ItemList").second;
  const std::string sheet = generation.File("CheatSheet").second;
  auto broken = [&](const CommandLineOptions& options, const std::string& item_list,
                    const std::string& cheat_sheet) {
    return CheckSeedFiles(options, generation.dialog, item_list, cheat_sheet);
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

  CommandLineOptions with_locks = o;
  with_locks.locks = true;
  EXPECT_EQ(broken(with_locks, list, sheet),
            std::vector<std::string>{"the item list has no lock section"});
  // Options with doors want a door section and no path to victory.
  CommandLineOptions with_doors = o;
  with_doors.doors = true;
  EXPECT_EQ(broken(with_doors, list, sheet).size(), 2u);
}

TEST(PropertyRunTest, SeparateProcessThatWritesNothingOrFailsIsReported) {
  const SeedCase c = CheapCases()[0];
  const SeedOutcome outcome = GenerateAndCheck(c);
  const std::vector<std::string> silent = CompareWithProcess("/bin/true", c, outcome, ScratchDir());
  EXPECT_EQ(silent.size(), 2u) << "no files and an empty log";
  const std::vector<std::string> failing =
      CompareWithProcess("/bin/false", c, outcome, ScratchDir());
  EXPECT_EQ(failing.size(), 3u) << "the status as well";
  std::filesystem::remove_all(ScratchDir());
}

}  // namespace
}  // namespace velmora
