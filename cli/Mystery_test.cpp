#include "cli/Mystery.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/ControlIds.h"
#include "cli/SettingsString.h"
#include "output/OutputFiles.h"

namespace velmora {
namespace {

MysteryWeights Weights(std::string_view text) {
  WeightsParseResult parsed = ParseMysteryWeights(text);
  EXPECT_TRUE(parsed.weights) << parsed.error;
  return parsed.weights.value_or(MysteryWeights{});
}

// SplitMix64's published outputs for the state 1234567, and the choices
// they make, worked out by hand: the top 53 bits as a fraction are
// 0.35008, 0.17364 and 0.53221.
TEST(MysteryRandomTest, SplitMix64OutputsAndHandWorkedPicks) {
  MysteryRandom outputs(1234567);
  EXPECT_EQ(outputs.Next(), 6457827717110365317ull);
  EXPECT_EQ(outputs.Next(), 3203168211198807973ull);
  EXPECT_EQ(outputs.Next(), 9817491932198370423ull);

  MysteryRandom picks(1234567);
  const std::vector<double> quarter_three_quarters = {1, 3};  // u = 1.400: past 1
  EXPECT_EQ(picks.Pick(quarter_three_quarters), 1u);
  const std::vector<double> zero_in_between = {0.5, 0, 2.5};  // u = 0.521: past 0.5
  EXPECT_EQ(picks.Pick(zero_in_between), 2u);
  const std::vector<double> three_to_one = {3, 1};  // u = 2.129: below 3
  EXPECT_EQ(picks.Pick(three_to_one), 0u);
}

// Spacing, key order, a choice left out and the spelling of a number do not
// change the bytes the draws are seeded from.
TEST(MysteryWeightsTest, CanonicalBytesIgnoreHowTheFileIsWritten) {
  const std::string want =
      R"({"difficulty":{"hard":1.0,"normal":0.0},"kinds":{"dogs":{"off":2.5,"on":0.0}}})";
  EXPECT_EQ(Weights(R"({"difficulty": {"hard": 1}, "kinds": {"dogs": {"off": 2.5}}})").canonical,
            want);
  EXPECT_EQ(Weights("{ \"kinds\" : { \"dogs\" : { \"on\": 0, \"off\": 25e-1 } },\n"
                    "  \"difficulty\": { \"normal\": 0.0, \"hard\": 1.0 } }")
                .canonical,
            want);
}

// A drawn Doors forces Normal, Items and no Locks whatever else is drawn, and
// the enemy panel keeps its defaults without Enemies.
TEST(MysteryDrawTest, TheDialogsRulesHoldForDrawnOptions) {
  const MysteryWeights doors = Weights(
      R"({"difficulty": {"hard": 1}, "items": {"off": 1}, "doors": {"on": 1},
          "locks": {"on": 1}, "enemies": {"off": 1}, "kinds": {"dogs": {"off": 1}},
          "tyrant": {"none": 1}})");
  for (uint32_t seed : {0u, 1u, 77u, 4294967295u}) {
    const CommandLineOptions o = DrawMysteryOptions(doors, seed);
    EXPECT_TRUE(o.doors && o.items && !o.hard && !o.locks) << seed;
    EXPECT_EQ(o.seed, seed);
    EXPECT_FALSE(o.enemies);
    EXPECT_EQ(o.kinds.size(), 8u) << "the panel is disabled without Enemies";
    EXPECT_EQ(o.tyrant, SpawnChoice::kOne);
  }
  const CommandLineOptions panel = DrawMysteryOptions(
      Weights(R"({"enemies": {"on": 1}, "kinds": {"dogs": {"off": 1}}, "tyrant": {"none": 1}})"),
      5);
  EXPECT_TRUE(panel.enemies);
  EXPECT_EQ(panel.kinds.size(), 7u);
  EXPECT_EQ(panel.tyrant, SpawnChoice::kNone);
}

// The same file and seed give the same options on every platform: this
// string was drawn once and must never change.
TEST(MysteryDrawTest, TheExampleFileDrawsTheSameOptionsEverywhere) {
  std::string bytes;
  ASSERT_FALSE(ReadFileBytes(VELMORA_SOURCE_DIR "/docs/mystery/racing.json", bytes));
  const MysteryWeights weights = Weights(bytes);
  EXPECT_EQ(EncodeSettings(DrawMysteryOptions(weights, 1)), "1A13ZG0000001W");
  for (const char* name : {"even.json", "quick.json"}) {
    ASSERT_FALSE(ReadFileBytes(std::string(VELMORA_SOURCE_DIR "/docs/mystery/") + name, bytes));
    Weights(bytes);
  }
}

TEST(MysteryWeightsTest, EveryKindOfBadFileIsRefusedNamingThePlace) {
  const std::pair<std::string, std::string> cases[] = {
      {"{\"items\": {\"on\": 1,}}", "line 1, column 20: malformed JSON"},
      {"{\n  \"items\": {\"on\": 1}\n  \"locks\": {}}", "line 3, column 9: malformed JSON"},
      {"", "line 1, column 1: malformed JSON"},
      {"[1, 2]", "/: the weights must be a JSON object of options"},
      {R"({"colour": {"red": 1}})", "/: unknown option \"colour\""},
      {R"({"difficulty": {"easy": 1}})", "/difficulty: unknown choice \"easy\" (normal or hard)"},
      {R"({"kinds": {"rats": {"on": 1}}})", "/kinds: unknown enemy kind \"rats\""},
      {R"({"remove": {"keys": {"on": 1}}})", "/remove: unknown item group \"keys\""},
      {R"({"kinds": 3})", "/kinds: must be an object of enemy kinds"},
      {R"({"tyrant": "many"})", "/tyrant: must be an object of choices and weights"},
      {R"({"locks": {"on": -1, "off": 1}})", "/locks/on: the weight -1 is negative"},
      {R"({"locks": {"on": "1"}})", "/locks/on: the weight must be a number, not string"},
      {R"({"locks": {"on": true}})", "/locks/on: the weight must be a number, not boolean"},
      {R"({"remove": {"ink": {"on": 0, "off": 0}}})", "/remove/ink: every weight is zero"},
      {R"({"locks": {}})", "/locks: every weight is zero"},
      {R"({"locks": {"on": 1e400}})", "/locks/on: the number is too large"},
      {R"({"locks": {"on": 1e308, "off": 1e308}})", "/locks: the weights add up to more"},
      {R"({"locks": {"on": 1}, "locks": {"off": 1}})", "/: \"locks\" is given twice"},
      {R"({"kinds": {"dogs": {"on": 1, "on": 2}}})", "/kinds/dogs: \"on\" is given twice"},
      {"{\"items\": {\"on\": 1}}" + std::string(kMaxWeightsFileBytes, ' '),
       "the file is larger than 64 KiB"},
  };
  for (const auto& [bytes, want] : cases) {
    const WeightsParseResult r = ParseMysteryWeights(bytes);
    EXPECT_FALSE(r.weights) << bytes.substr(0, 60);
    EXPECT_EQ(r.error.substr(0, want.size()), want) << r.error;
    EXPECT_EQ(r.error.find('\n'), std::string::npos) << r.error;
  }
}

}  // namespace
}  // namespace velmora
