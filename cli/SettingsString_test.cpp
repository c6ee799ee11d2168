#include "cli/SettingsString.h"

#include <gtest/gtest.h>

#include <set>

#include "app/ControlIds.h"

namespace velmora {
namespace {

// Jill, Normal, Items, seed 1: worked out by hand from the documented layout.
// Payload bits 0 | 001000 | 000000 | 11111111 | 0000000 | 31 zeros, 1 give
// the characters 2 0 3 Z G 0 0 0 0 0 0 1; with the version 1 in front, the
// check sum over x^13 ... x^1 of GF(32) (x^5 = x^2 + 1) comes to 4.
TEST(SettingsStringTest, DefaultOptionsWithSeedOneSpellTheHandWorkedString) {
  CommandLineOptions o;
  o.seed = 1;
  EXPECT_EQ(EncodeSettings(o), "1203ZG00000014");
}

// Every combination of the twelve option boxes, with many seeds: decoding
// gives back the seed and options that spell the same string, or names the
// impossible combination. No two combinations share a string, so none of
// the boxes is lost on the way.
TEST(SettingsStringTest, EveryBoxCombinationRoundTrips) {
  std::set<std::string> seen;
  int refused = 0;
  for (int bits = 0; bits < (1 << 12); ++bits) {
    CommandLineOptions o;
    bool* boxes[] = {&o.chris,          &o.hard,        &o.items,      &o.enemies,
                     &o.doors,          &o.locks,       &o.remove_healing, &o.remove_ammo,
                     &o.remove_ink,     &o.remove_defence, &o.swap_sdg, &o.armed_capsule};
    for (int b = 0; b < 12; ++b) *boxes[b] = (bits >> b) & 1;
    o.seed = 0;
    seen.insert(EncodeSettings(o));
    o.seed = static_cast<uint32_t>(bits) * 2654435761u;
    const std::string text = EncodeSettings(o);
    const DecodedSettings decoded = DecodeSettings(text);
    if (o.doors && (o.hard || !o.items || o.locks)) {
      EXPECT_FALSE(decoded.options) << text;
      EXPECT_NE(decoded.error.find("--doors cannot go with"), std::string::npos) << decoded.error;
      ++refused;
      continue;
    }
    ASSERT_TRUE(decoded.options) << text << ": " << decoded.error;
    EXPECT_EQ(decoded.options->seed, o.seed) << text;
    EXPECT_EQ(EncodeSettings(*decoded.options), text);
  }
  EXPECT_EQ(seen.size(), 4096u);
  // Doors is on in half of the 4096; of those, Normal with Items and without
  // Locks is one in eight.
  EXPECT_EQ(refused, 2048 - 256);
}

// Every enemy panel setting with Enemies on: 256 kind sets, 81 spawn codes,
// each its own string, each read back to the options that spell it. Without
// Enemies the panel has no effect and is written as the defaults.
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
        if ((kinds >> k) & 1) o.kinds.push_back(kIdZombies + k);
      o.tyrant = spawns[code / 27];
      o.yawn = spawns[code / 9 % 3];
      o.lisa = spawns[code / 3 % 3];
      o.tyrant_type = types[code % 3];
      o.seed = 0xFFFFFFFFu - static_cast<uint32_t>(kinds);
      const std::string text = EncodeSettings(o);
      const DecodedSettings decoded = DecodeSettings(text);
      ASSERT_TRUE(decoded.options) << text << ": " << decoded.error;
      ASSERT_EQ(EncodeSettings(*decoded.options), text);
      seen.insert(text);
      CommandLineOptions off;
      off.chris = o.chris;
      off.seed = o.seed;
      o.enemies = false;
      ASSERT_EQ(EncodeSettings(o), EncodeSettings(off)) << text;
    }
  }
  EXPECT_EQ(seen.size(), 256u * 81u);
}

TEST(SettingsStringTest, CaseAndLookAlikeLettersDoNotMatter) {
  for (const char* text : {"1203zg00000014", "I2O3ZGOoooo0l4", "l203Zg000000i4"}) {
    const DecodedSettings decoded = DecodeSettings(text);
    ASSERT_TRUE(decoded.options) << text << ": " << decoded.error;
    EXPECT_EQ(EncodeSettings(*decoded.options), "1203ZG00000014") << text;
  }
}

// The check character: every single changed character and every swap of two
// different characters is refused.
TEST(SettingsStringTest, EveryTypoOfOneCharacterOrOneSwapIsRefused) {
  const std::string alphabet = "0123456789ABCDEFGHJKMNPQRSTVWXYZ";
  CommandLineOptions o;
  o.enemies = true;
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
// decoder accepts, by trying all 32.
std::string WithCheckCharacter(const std::string& body) {
  for (char c : std::string("0123456789ABCDEFGHJKMNPQRSTVWXYZ")) {
    const DecodedSettings decoded = DecodeSettings(body + c);
    if (decoded.error.find("check character") == std::string::npos) return body + c;
  }
  return body + "?";  // refused for its length, so the test names the gap
}

// Starting from "1203ZG0000001" (Jill Normal Items, seed 1), with payload
// characters as worked out by hand: character 2 holds the reserved bit,
// Chris, Hard, Items and Enemies; character 3 Doors, Locks and three removal
// boxes; character 5 five kind bits; characters 6 and 7 the eighth kind bit,
// the spawn field and the top of the seed.
TEST(SettingsStringTest, ABadStringIsRefusedNamingTheProblemOnOneLine) {
  const std::pair<std::string, const char*> cases[] = {
      {"", "empty"},
      {"1203ZG0000001", "13 characters, not 14"},
      {"1203ZG000000140", "15 characters"},
      {"2203ZG00000014", "unknown format version '2'"},
      {"U203ZG00000014", "unknown format version 'U'"},
      {"1203ZG000000U4", "character 13 ('U')"},
      {"1203ZG00000015", "check character"},
      {"1\n2\r\x7F", "'1\\x0A2\\x0D\\x7F'"},
      // Reserved bit: 2 (00010) becomes J (10010).
      {WithCheckCharacter("1J03ZG0000001"), "reserved bit"},
      // Enemies off but one kind bit of character 5 clear: Z -> Y.
      {WithCheckCharacter("1203YG0000001"), "sets enemy options while Enemies is off"},
      // Enemies on (2 -> 3) with the spawn field at 81 (1010001): G -> T, 0 -> 4.
      {WithCheckCharacter("1303ZT4000001"), "spawn field is out of range"},
      // Doors (character 3: 0 -> G) with Hard (character 2: 2 -> 6).
      {WithCheckCharacter("16G3ZG0000001"), "--doors cannot go with --difficulty hard"},
      // Doors without Items: character 2 becomes 0.
      {WithCheckCharacter("10G3ZG0000001"), "--doors cannot go with --no-items"},
      // Doors with Locks: character 3 becomes R (11000).
      {WithCheckCharacter("12R3ZG0000001"), "--doors cannot go with --locks"},
  };
  for (const auto& [text, message_part] : cases) {
    const DecodedSettings decoded = DecodeSettings(text);
    EXPECT_FALSE(decoded.options) << text;
    EXPECT_NE(decoded.error.find(message_part), std::string::npos) << decoded.error;
    EXPECT_EQ(decoded.error.find('\n'), std::string::npos) << decoded.error;
  }
}

}  // namespace
}  // namespace velmora
