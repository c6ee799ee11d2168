#include "cli/SettingsString.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <vector>

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

TEST(SettingsStringTest, CaseAndLookAlikeLettersDoNotMatter) {
  for (const char* text : {"1203zg00000014", "I2O3ZGOoooo0l4", "l203Zg000000i4"}) {
    const DecodedSettings decoded = DecodeSettings(text);
    ASSERT_TRUE(decoded.options) << text << ": " << decoded.error;
    EXPECT_EQ(EncodeSettings(*decoded.options), "1203ZG00000014") << text;
  }
}

// Every combination of the twelve option boxes, and every enemy panel
// setting with Enemies on: decoding gives back each option, or names the
// combination the dialog cannot make. A field the string loses or shares
// with another shows here.
TEST(SettingsStringTest, EveryBoxCombinationAndEnemyPanelSettingRoundTrips) {
  using O = CommandLineOptions;
  constexpr bool O::*kBoxes[] = {&O::chris,      &O::hard,           &O::items,       &O::enemies,
                                 &O::doors,      &O::locks,          &O::remove_healing,
                                 &O::remove_ammo, &O::remove_ink,    &O::remove_defence,
                                 &O::swap_sdg,   &O::armed_capsule};
  std::vector<int> all_kinds;
  for (int id = kIdZombies; id <= kIdElderCrimsonHeads; ++id) all_kinds.push_back(id);
  auto decoded_as = [](const O& o) { return DecodeSettings(EncodeSettings(o)).options; };
  for (int bits = 0; bits < (1 << 12); ++bits) {
    O o;
    for (int b = 0; b < 12; ++b) o.*kBoxes[b] = (bits >> b) & 1;
    o.kinds = all_kinds;
    o.seed = static_cast<uint32_t>(bits) * 2654435761u;
    const std::optional<O> back = decoded_as(o);
    ASSERT_EQ(back.has_value(), !(o.doors && (o.hard || !o.items || o.locks))) << bits;
    if (!back) continue;
    for (int b = 0; b < 12; ++b) ASSERT_EQ((*back).*kBoxes[b], o.*kBoxes[b]) << bits << " box " << b;
    ASSERT_EQ(back->seed, o.seed) << bits;
  }
  const SpawnChoice spawns[] = {SpawnChoice::kOne, SpawnChoice::kMany, SpawnChoice::kNone};
  const TyrantType types[] = {TyrantType::kFast, TyrantType::kSlow, TyrantType::kRandom};
  for (int kinds = 0; kinds < 256; ++kinds) {
    for (int code = 0; code < 81; ++code) {
      O o;
      o.enemies = true;
      for (int k = 0; k < 8; ++k)
        if ((kinds >> k) & 1) o.kinds.push_back(all_kinds[k]);
      o.tyrant = spawns[code / 27];
      o.yawn = spawns[code / 9 % 3];
      o.lisa = spawns[code / 3 % 3];
      o.tyrant_type = types[code % 3];
      o.seed = 0xFFFFFFFFu - static_cast<uint32_t>(kinds);
      const std::optional<O> back = decoded_as(o);
      ASSERT_TRUE(back) << kinds << " " << code;
      std::vector<int> back_kinds = back->kinds;
      std::sort(back_kinds.begin(), back_kinds.end());
      ASSERT_EQ(back_kinds, o.kinds) << kinds << " " << code;
      ASSERT_TRUE(back->tyrant == o.tyrant && back->yawn == o.yawn && back->lisa == o.lisa &&
                  back->tyrant_type == o.tyrant_type && back->seed == o.seed)
          << kinds << " " << code;
    }
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
      {"2203ZG00000014", "unknown format version '2'"},
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
