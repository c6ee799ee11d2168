#include "cli/SettingsString.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "app/ControlIds.h"
#include "app/MemoryWindow.h"
#include "app/VelmoraDlg.h"
#include "output/OutputFiles.h"

namespace velmora {
namespace {

const std::vector<int> kAllKinds = {kIdZombies, kIdDogs,   kIdHunters, kIdSpiders,
                                    kIdSharks,  kIdBees,   kIdChimera, kIdElderCrimsonHeads};

// The options as they take effect: the enemy panel only counts with Enemies.
struct Meaning {
  bool chris, hard, items, enemies, doors, locks;
  bool healing, ammo, ink, defence, swap, armed;
  std::set<int> kinds;
  SpawnChoice tyrant, yawn, lisa;
  TyrantType type;
  uint32_t seed;
  bool operator==(const Meaning&) const = default;
};

Meaning MeaningOf(const CommandLineOptions& o) {
  Meaning m{o.chris,       o.hard,        o.items,      o.enemies,        o.doors,
            o.locks,       o.remove_healing, o.remove_ammo, o.remove_ink, o.remove_defence,
            o.swap_sdg,    o.armed_capsule, {},         o.tyrant,         o.yawn,
            o.lisa,        o.tyrant_type, o.seed.value_or(0)};
  if (o.enemies) {
    m.kinds.insert(o.kinds.begin(), o.kinds.end());
  } else {
    m.kinds.insert(kAllKinds.begin(), kAllKinds.end());
    m.tyrant = m.yawn = m.lisa = SpawnChoice::kOne;
    m.type = TyrantType::kFast;
  }
  return m;
}

// Jill, Normal, Items, seed 1: worked out by hand from the documented layout.
// Payload bits 0 | 001000 | 000000 | 11111111 | 0000000 | 31 zeros, 1 give
// the characters 2 0 3 Z G 0 0 0 0 0 0 1; with the version 1 in front, the
// check sum over x^13 ... x^1 of GF(32) (x^5 = x^2 + 1) comes to 4.
TEST(SettingsStringTest, DefaultOptionsWithSeedOneSpellTheHandWorkedString) {
  CommandLineOptions o;
  o.seed = 1;
  EXPECT_EQ(EncodeSettings(o), "1203ZG00000014");
}

TEST(SettingsStringTest, EnemyPanelIsWrittenAsTheDefaultsWithoutEnemies) {
  CommandLineOptions plain, changed;
  plain.seed = changed.seed = 77;
  changed.kinds = {kIdBees};
  changed.tyrant = SpawnChoice::kNone;
  changed.tyrant_type = TyrantType::kRandom;
  EXPECT_EQ(EncodeSettings(changed), EncodeSettings(plain));
  changed.enemies = plain.enemies = true;
  EXPECT_NE(EncodeSettings(changed), EncodeSettings(plain));
}

// Every combination of the twelve option boxes, with a few seeds: decoding
// gives back the same meaning, or names the impossible combination.
TEST(SettingsStringTest, EveryBoxCombinationRoundTrips) {
  int refused = 0;
  for (int bits = 0; bits < (1 << 12); ++bits) {
    CommandLineOptions o;
    bool* boxes[] = {&o.chris,          &o.hard,        &o.items,      &o.enemies,
                     &o.doors,          &o.locks,       &o.remove_healing, &o.remove_ammo,
                     &o.remove_ink,     &o.remove_defence, &o.swap_sdg, &o.armed_capsule};
    for (int b = 0; b < 12; ++b) *boxes[b] = (bits >> b) & 1;
    o.kinds = kAllKinds;
    o.seed = static_cast<uint32_t>(bits) * 2654435761u;
    const std::string text = EncodeSettings(o);
    ASSERT_EQ(text.size(), kSettingsLength);
    const DecodedSettings decoded = DecodeSettings(text);
    if (o.doors && (o.hard || !o.items || o.locks)) {
      EXPECT_FALSE(decoded.options) << text;
      EXPECT_NE(decoded.error.find("--doors cannot go with"), std::string::npos) << decoded.error;
      ++refused;
      continue;
    }
    ASSERT_TRUE(decoded.options) << text << ": " << decoded.error;
    EXPECT_EQ(MeaningOf(*decoded.options), MeaningOf(o)) << text;
  }
  // Doors is on in half of the 4096; of those, Normal with Items and without
  // Locks is one in eight.
  EXPECT_EQ(refused, 2048 - 256);
}

// Every enemy panel setting with Enemies on: 256 kind sets, 81 spawn codes.
TEST(SettingsStringTest, EveryEnemyPanelSettingRoundTrips) {
  const SpawnChoice spawns[] = {SpawnChoice::kOne, SpawnChoice::kMany, SpawnChoice::kNone};
  const TyrantType types[] = {TyrantType::kFast, TyrantType::kSlow, TyrantType::kRandom};
  std::set<std::string> seen;
  for (int kinds = 0; kinds < 256; ++kinds) {
    for (int code = 0; code < 81; ++code) {
      CommandLineOptions o;
      o.enemies = true;
      o.chris = kinds & 1;
      for (int k = 0; k < 8; ++k)
        if ((kinds >> k) & 1) o.kinds.push_back(kAllKinds[k]);
      o.tyrant = spawns[code / 27];
      o.yawn = spawns[code / 9 % 3];
      o.lisa = spawns[code / 3 % 3];
      o.tyrant_type = types[code % 3];
      o.seed = 0xFFFFFFFFu - static_cast<uint32_t>(kinds);
      const std::string text = EncodeSettings(o);
      const DecodedSettings decoded = DecodeSettings(text);
      ASSERT_TRUE(decoded.options) << text << ": " << decoded.error;
      ASSERT_EQ(MeaningOf(*decoded.options), MeaningOf(o)) << text;
      seen.insert(text);
    }
  }
  EXPECT_EQ(seen.size(), 256u * 81u);
}

TEST(SettingsStringTest, CaseAndLookAlikeLettersDoNotMatter) {
  CommandLineOptions o;
  o.seed = 1;  // "1203ZG00000014"
  const Meaning expected = MeaningOf(o);
  for (const char* text : {"1203zg00000014", "I2O3ZGOoooo0l4", "l203Zg000000i4"}) {
    const DecodedSettings decoded = DecodeSettings(text);
    ASSERT_TRUE(decoded.options) << text << ": " << decoded.error;
    EXPECT_EQ(MeaningOf(*decoded.options), expected) << text;
  }
}

// The check character: every single changed character and every swap of two
// different characters is refused.
TEST(SettingsStringTest, EveryTypoOfOneCharacterOrOneSwapIsRefused) {
  const std::string alphabet = "0123456789ABCDEFGHJKMNPQRSTVWXYZ";
  CommandLineOptions o;
  o.enemies = true;
  o.locks = true;
  o.kinds = {kIdDogs, kIdSharks};
  for (uint32_t seed : {0u, 1u, 123456789u, 4294967295u}) {
    o.seed = seed;
    const std::string text = EncodeSettings(o);
    for (size_t i = 0; i < text.size(); ++i) {
      for (char c : alphabet) {
        if (c == text[i]) continue;
        std::string typo = text;
        typo[i] = c;
        EXPECT_FALSE(DecodeSettings(typo).options) << typo;
      }
      for (size_t j = i + 1; j < text.size(); ++j) {
        if (text[i] == text[j]) continue;
        std::string swapped = text;
        std::swap(swapped[i], swapped[j]);
        EXPECT_FALSE(DecodeSettings(swapped).options) << swapped;
      }
    }
  }
}

// Gives `body` (the first thirteen characters) the check character that the
// decoder accepts, by trying all 32. Runs before main, so it reports nothing
// itself.
std::string WithCheckCharacter(const std::string& body) {
  for (char c : std::string("0123456789ABCDEFGHJKMNPQRSTVWXYZ")) {
    const DecodedSettings decoded = DecodeSettings(body + c);
    if (decoded.error.find("check character") == std::string::npos) return body + c;
  }
  return body + "?";  // refused for its length, so the test names the gap
}

struct BadString {
  std::string text;
  std::string message_part;
};

class BadSettingsStringTest : public ::testing::TestWithParam<BadString> {};

TEST_P(BadSettingsStringTest, IsRefusedNamingTheProblem) {
  const DecodedSettings decoded = DecodeSettings(GetParam().text);
  EXPECT_FALSE(decoded.options);
  EXPECT_NE(decoded.error.find(GetParam().message_part), std::string::npos) << decoded.error;
  EXPECT_EQ(decoded.error.find('\n'), std::string::npos);
}

// Starting from "1203ZG0000001" (Jill Normal Items, seed 1), with payload
// characters as worked out by hand: character 2 holds the reserved bit,
// Chris, Hard, Items and Enemies; character 3 Doors, Locks and three removal
// boxes; character 5 five kind bits; characters 6 and 7 the eighth kind bit,
// the spawn field and the top of the seed.
INSTANTIATE_TEST_SUITE_P(
    All, BadSettingsStringTest,
    ::testing::Values(
        BadString{"", "empty"}, BadString{"1203ZG0000001", "13 characters, not 14"},
        BadString{"1203ZG000000140", "15 characters"},
        BadString{"2203ZG00000014", "unknown format version '2'"},
        BadString{"Z203ZG00000014", "unknown format version 'Z'"},
        BadString{"U203ZG00000014", "unknown format version 'U'"},
        BadString{"1203ZG000000U4", "character 13 ('U')"},
        BadString{"1203ZG00000-14", "character 12 ('-')"},
        BadString{"1203ZG00000015", "check character"},
        BadString{"1203ZG00000041", "check character"},
        // Reserved bit: 2 (00010) becomes J (10010).
        BadString{WithCheckCharacter("1J03ZG0000001"), "reserved bit"},
        // Enemies off but one kind bit of character 5 clear: Z -> Y.
        BadString{WithCheckCharacter("1203YG0000001"), "sets enemy options while Enemies is off"},
        // Enemies on (2 -> 3) with the spawn field at 81 (1010001): G -> T, 0 -> 4.
        BadString{WithCheckCharacter("1303ZT4000001"), "spawn field is out of range"},
        // Doors (character 3: 0 -> G) with Hard (character 2: 2 -> 6).
        BadString{WithCheckCharacter("16G3ZG0000001"), "--doors cannot go with --difficulty hard"},
        // Doors without Items: character 2 becomes 0.
        BadString{WithCheckCharacter("10G3ZG0000001"), "--doors cannot go with --no-items"},
        // Doors with Locks: character 3 becomes R (11000).
        BadString{WithCheckCharacter("12R3ZG0000001"), "--doors cannot go with --locks"}));

ParseResult Parse(std::vector<std::string> args) {
  args.insert(args.begin(), "velmora");
  return ParseCommandLine(args);
}

TEST(SettingsOptionTest, GivesTheEncodedOptionsAndKeepsTheOutputDirectory) {
  CommandLineOptions o;
  o.chris = o.hard = o.enemies = o.swap_sdg = true;
  o.kinds = {kIdZombies};
  o.lisa = SpawnChoice::kMany;
  o.seed = 4242;
  const ParseResult r = Parse({"--settings", EncodeSettings(o), "--out", "somewhere"});
  ASSERT_TRUE(r.options) << r.error;
  EXPECT_EQ(MeaningOf(*r.options), MeaningOf(o));
  EXPECT_EQ(r.options->out_dir, "somewhere");
  EXPECT_TRUE(r.options->attempt_index);
  // Searching instead of looking up is no option of the seed.
  const ParseResult searched = Parse({"--settings", EncodeSettings(o), "--no-attempt-index"});
  ASSERT_TRUE(searched.options) << searched.error;
  EXPECT_FALSE(searched.options->attempt_index);
}

class SettingsConflictTest : public ::testing::TestWithParam<std::vector<std::string>> {};

TEST_P(SettingsConflictTest, AnOptionFlagBesideTheStringIsRefused) {
  std::vector<std::string> args = {"--settings", "1203ZG00000014"};
  args.insert(args.end(), GetParam().begin(), GetParam().end());
  const ParseResult r = Parse(args);
  EXPECT_FALSE(r.options);
  EXPECT_NE(r.error.find("--settings cannot go with " + GetParam()[0]), std::string::npos)
      << r.error;
}

INSTANTIATE_TEST_SUITE_P(
    All, SettingsConflictTest,
    ::testing::Values(std::vector<std::string>{"--seed", "1"},
                      std::vector<std::string>{"--character", "jill"},
                      std::vector<std::string>{"--no-items"}, std::vector<std::string>{"--items"},
                      std::vector<std::string>{"--enemies"}, std::vector<std::string>{"--locks"},
                      std::vector<std::string>{"--remove", "ammo"},
                      std::vector<std::string>{"--armed-capsule"}));

TEST(SettingsOptionTest, AMalformedStringIsABadArgument) {
  const ParseResult r = Parse({"--settings", "1203ZG00000015"});
  EXPECT_FALSE(r.options);
  EXPECT_EQ(r.error.rfind("--settings: '1203ZG00000015' is not a valid settings string", 0), 0u)
      << r.error;
}

// The whole way a player takes: generate, print the string, generate again
// from the string alone. The files must match byte for byte.
std::map<std::string, std::string> Generate(const CommandLineOptions& options) {
  MemoryWindow window;
  MemoryOutputFiles files;
  CVelmoraDlg dialog(window, files);
  dialog.OnInitDialog();
  ApplyOptions(options, window, dialog);
  const uint32_t seed = *options.seed;
  dialog.SetSeedSource([seed] { return seed; });
  dialog.OnBnClickedGenerateSeed();
  return files.files();
}

std::vector<std::string> Args(std::initializer_list<const char*> args) {
  return std::vector<std::string>(args.begin(), args.end());
}

class SettingsReproduceTest : public ::testing::TestWithParam<std::vector<std::string>> {};

TEST_P(SettingsReproduceTest, FilesFromThePrintedStringAreByteIdentical) {
  const ParseResult first = Parse(GetParam());
  ASSERT_TRUE(first.options) << first.error;
  const std::string text = EncodeSettings(*first.options);
  const ParseResult again = Parse({"--settings", text});
  ASSERT_TRUE(again.options) << again.error;
  const auto original = Generate(*first.options);
  ASSERT_EQ(original.size(), 2u);
  EXPECT_EQ(Generate(*again.options), original) << text;
}

INSTANTIATE_TEST_SUITE_P(
    Combinations, SettingsReproduceTest,
    ::testing::Values(
        Args({"--seed", "1"}), Args({"--seed", "4294967295", "--no-items", "--locks", "--enemies"}),
        Args({"--seed", "7", "--doors", "--enemies", "--kinds", "dogs,bees", "--tyrant", "many",
              "--tyrant-type", "random", "--lisa", "none"}),
        Args({"--seed", "9", "--character", "chris", "--difficulty", "hard", "--no-items",
              "--remove", "healing,ammo,ink,defence", "--swap-sdg", "--armed-capsule"}),
        Args({"--seed", "3", "--character", "chris", "--locks", "--enemies", "--yawn", "many"}),
        Args({"--seed", "12", "--difficulty", "hard", "--remove", "ammo", "--armed-capsule"}),
        Args({"--seed", "20", "--character", "chris", "--doors", "--swap-sdg"})));

TEST(SettingsStringTest, ErrorShowsControlCharactersEscapedOnOneLine) {
  const DecodedSettings decoded = DecodeSettings("1\n2\r\x7F");
  EXPECT_FALSE(decoded.options);
  EXPECT_NE(decoded.error.find("'1\\x0A2\\x0D\\x7F'"), std::string::npos) << decoded.error;
}

}  // namespace
}  // namespace velmora
