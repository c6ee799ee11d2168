#include "reliability/PropertyRun.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <set>

#include "app/ControlIds.h"

namespace velmora {
namespace {

std::string ScratchDir() {
  return (std::filesystem::temp_directory_path() /
          ("velmora-property-test-" + std::to_string(::getpid())))
      .string();
}

class ArgumentsRoundTripTest : public ::testing::TestWithParam<uint64_t> {};

// The separate-process check hands the options to velmora as arguments; the
// command line must read back exactly the options the dialog was given.
TEST_P(ArgumentsRoundTripTest, ParseGivesBackTheCaseOptions) {
  const SeedCase c = CaseFor(GetParam(), 0, SeedMix{});
  std::vector<std::string> args = {"velmora"};
  for (const std::string& arg : ArgumentsFor(c.options)) args.push_back(arg);
  const ParseResult parsed = ParseCommandLine(args);
  ASSERT_TRUE(parsed.options) << parsed.error;
  const CommandLineOptions& a = c.options;
  const CommandLineOptions& b = *parsed.options;
  EXPECT_EQ(a.chris, b.chris);
  EXPECT_EQ(a.hard, b.hard);
  EXPECT_EQ(a.items, b.items);
  EXPECT_EQ(a.enemies, b.enemies);
  EXPECT_EQ(a.doors, b.doors);
  EXPECT_EQ(a.locks, b.locks);
  if (a.enemies) {
    EXPECT_EQ(std::set<int>(a.kinds.begin(), a.kinds.end()),
              std::set<int>(b.kinds.begin(), b.kinds.end()));
    EXPECT_EQ(a.tyrant, b.tyrant);
    EXPECT_EQ(a.yawn, b.yawn);
    EXPECT_EQ(a.lisa, b.lisa);
    EXPECT_EQ(a.tyrant_type, b.tyrant_type);
  }
  EXPECT_EQ(a.remove_healing, b.remove_healing);
  EXPECT_EQ(a.remove_ammo, b.remove_ammo);
  EXPECT_EQ(a.remove_ink, b.remove_ink);
  EXPECT_EQ(a.remove_defence, b.remove_defence);
  EXPECT_EQ(a.swap_sdg, b.swap_sdg);
  EXPECT_EQ(a.armed_capsule, b.armed_capsule);
}

INSTANTIATE_TEST_SUITE_P(Cases, ArgumentsRoundTripTest, ::testing::Range<uint64_t>(0, 200));

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

// Cheap seeds of several kinds, generated and checked.
SeedCase Case(CommandLineOptions o, uint32_t seed) {
  SeedCase c;
  c.seed = seed;
  if (o.enemies && o.kinds.empty())
    o.kinds = {kIdZombies, kIdDogs, kIdHunters, kIdSpiders, kIdSharks, kIdBees, kIdChimera};
  c.options = o;
  return c;
}

std::vector<SeedCase> CheapCases() {
  std::vector<SeedCase> cases;
  CommandLineOptions jill;
  jill.enemies = true;
  jill.tyrant = SpawnChoice::kMany;
  jill.tyrant_type = TyrantType::kRandom;
  jill.remove_ammo = jill.armed_capsule = true;
  cases.push_back(Case(jill, 11));
  CommandLineOptions kept;
  kept.items = false;
  kept.chris = kept.hard = kept.locks = true;
  kept.swap_sdg = kept.remove_healing = true;
  cases.push_back(Case(kept, 12));
  CommandLineOptions doors;
  doors.doors = doors.chris = doors.enemies = true;
  doors.lisa = SpawnChoice::kNone;
  cases.push_back(Case(doors, 13));
  CommandLineOptions jill_locks;
  jill_locks.locks = true;
  jill_locks.remove_defence = jill_locks.remove_ink = true;
  cases.push_back(Case(jill_locks, 14));
  return cases;
}

class GeneratedSeedTest : public ::testing::TestWithParam<SeedCase> {};

TEST_P(GeneratedSeedTest, KeepsEveryProperty) {
  const SeedOutcome outcome = GenerateAndCheck(GetParam());
  for (const std::string& line : outcome.broken) ADD_FAILURE() << line;
  EXPECT_EQ(outcome.files.size(), 2u);
}

std::string CaseName(const ::testing::TestParamInfo<SeedCase>& param) {
  std::string name;
  for (char c : KindLabel(param.param.options))
    if (std::isalnum(static_cast<unsigned char>(c))) name += c;
  return name;
}

INSTANTIATE_TEST_SUITE_P(Cheap, GeneratedSeedTest, ::testing::ValuesIn(CheapCases()), CaseName);

// Swaps lines `a` and `b` (0-based) of a file's bytes.
std::string SwapLines(const std::string& bytes, size_t a, size_t b) {
  std::vector<std::string> lines = *SplitCrLfLines(bytes);
  std::swap(lines.at(a), lines.at(b));
  std::string out;
  for (const std::string& line : lines) out += line + "\r\n";
  return out;
}

TEST(PropertyRunTest, DamageToAGeneratedSeedIsFound) {
  CommandLineOptions o;
  o.enemies = true;
  const InMemoryGeneration generation(Case(o, 21));
  const GeneratedSeed good = generation.Seed();
  ASSERT_EQ(CheckSeed(good), std::vector<std::string>{});

  // Pinned slot 90 given another item, in the placement and in the list.
  GeneratedSeed unpinned = good;
  std::swap(unpinned.placement_before_modifiers[90], unpinned.placement_before_modifiers[3]);
  unpinned.item_list = SwapLines(good.item_list, 90, 3);
  bool pin_reported = false;
  for (const std::string& line : CheckSeed(unpinned))
    pin_reported |= line.starts_with("pinned slot 90");
  EXPECT_TRUE(pin_reported);

  // The item list changed behind the cheat sheet's back: the modifiers did
  // not run, so the changed slots are reported, and the cheat sheet no
  // longer agrees.
  GeneratedSeed list_changed = good;
  list_changed.item_list = SwapLines(good.item_list, 0, 1);
  EXPECT_GE(CheckSeed(list_changed).size(), 3u);

  // One enemy line of the list changed: the cheat sheet disagrees.
  const std::vector<std::string> lines = *SplitCrLfLines(good.item_list);
  size_t other = 187;
  while (lines[other] == lines[186]) ++other;
  ASSERT_LT(other, 239u) << "53 positions of one kind";
  GeneratedSeed enemy_changed = good;
  enemy_changed.item_list = SwapLines(good.item_list, 186, other);
  int enemy_lines = 0;
  for (const std::string& line : CheckSeed(enemy_changed))
    enemy_lines += line.starts_with("cheat sheet enemy line");
  EXPECT_EQ(enemy_lines, 2);

  GeneratedSeed bare_lf = good;
  bare_lf.cheat_sheet.erase(bare_lf.cheat_sheet.find("\r\n"), 1);
  EXPECT_EQ(CheckSeed(bare_lf).size(), 1u);

  GeneratedSeed truncated = good;
  truncated.item_list.resize(truncated.item_list.size() - 2);
  EXPECT_EQ(CheckSeed(truncated).size(), 1u);
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

TEST(PropertyRunTest, VelmoraInASeparateProcessWritesTheSameBytes) {
  const std::string program = VELMORA_PROGRAM;
  for (const SeedCase& c : CheapCases()) {
    const SeedOutcome outcome = GenerateAndCheck(c);
    EXPECT_EQ(CompareWithProcess(program, c, outcome, ScratchDir()), std::vector<std::string>{})
        << KindLabel(c.options);
  }
  std::filesystem::remove_all(ScratchDir());
}

}  // namespace
}  // namespace velmora
