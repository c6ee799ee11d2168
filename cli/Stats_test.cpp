#include "cli/Stats.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>
#include <set>

#include "app/DialogFixture_test.h"
#include "catalogue/ItemNames.h"
#include "cli/SettingsString.h"
#include "output/CheatSheet.h"
#include "output/SpoilerJson.h"

namespace velmora {
namespace {

std::vector<double> OneTo(int n) {
  std::vector<double> values;
  for (int i = n; i >= 1; --i) values.push_back(i);
  return values;
}

// Worked out by hand. Nearest rank: the ceil(0.99 n)-th smallest value; for
// n = 100 that is the 99th, for n = 101 the 100th.
TEST(SummarizeTest, MeanMedianNearestRankPercentileAndMaximum) {
  const std::pair<std::vector<double>, Summary> cases[] = {
      {{}, {0, 0, 0, 0}},
      {{7}, {7, 7, 7, 7}},
      {{5, 1, 3}, {3, 3, 5, 5}},
      {{4, 1, 3, 2}, {2.5, 2.5, 4, 4}},  // an even count takes the middle two
      {OneTo(100), {50.5, 50.5, 99, 100}},
      {OneTo(101), {51, 51, 100, 101}},
  };
  for (const auto& [values, want] : cases) {
    const Summary s = Summarize(values);
    EXPECT_DOUBLE_EQ(s.mean, want.mean) << values.size() << " values";
    EXPECT_DOUBLE_EQ(s.median, want.median) << values.size() << " values";
    EXPECT_DOUBLE_EQ(s.p99, want.p99) << values.size() << " values";
    EXPECT_DOUBLE_EQ(s.max, want.max) << values.size() << " values";
  }
}

StatsParseResult Parse(std::vector<std::string> args) {
  args.insert(args.begin(), {"velmora", "stats"});
  return ParseStatsCommandLine(args);
}

TEST(StatsCommandLineTest, GenerationOptionsPassThroughAndTheFirstSeedDefaultsToOne) {
  const StatsParseResult r = Parse(
      {"--character", "chris", "--count", "50", "--enemies", "--threads=3", "--csv", "x.csv"});
  ASSERT_TRUE(r.options) << r.error;
  EXPECT_EQ(r.options->count, 50u);
  EXPECT_EQ(r.options->threads, 3);
  EXPECT_EQ(r.options->csv_path, "x.csv");
  EXPECT_TRUE(r.options->generation.chris);
  EXPECT_EQ(r.options->generation.seed, 1u);
  EXPECT_EQ(Parse({"--count", "2"}).options->threads, 0);
}

TEST(StatsCommandLineTest, BadArgumentsAreRefusedWithAOneLineMessageNamingThem) {
  const std::pair<std::vector<std::string>, const char*> cases[] = {
      {{"--seed", "3"}, "--count"},
      {{"--count", "0"}, "--count"},
      {{"--count", "2", "--threads", "0"}, "--threads"},
      {{"--count", "2", "--out", "dir"}, "--out"},
      {{"--count", "2", "--bogus"}, "--bogus"},
  };
  for (const auto& [args, message_part] : cases) {
    const StatsParseResult r = Parse(args);
    EXPECT_FALSE(r.options) << message_part;
    EXPECT_NE(r.error.find(message_part), std::string::npos) << r.error;
    EXPECT_EQ(r.error.find('\n'), std::string::npos) << r.error;
  }
}

StatsOptions Options(uint32_t first_seed, uint64_t count, int threads) {
  StatsOptions options;
  options.generation.seed = first_seed;
  options.count = count;
  options.threads = threads;
  return options;
}

// The figures of a few Jill Normal seeds, made on three threads, against
// generations made one by one here: the attempts of each, and how often each
// item lies in each room.
TEST(RunStatsTest, FiguresMatchGenerationsMadeOneByOne) {
  uint64_t progress_calls = 0;
  const StatsResult result = RunStats(Options(2, 6, 3), [&](uint64_t done, uint64_t total) {
    EXPECT_EQ(done, ++progress_calls);
    EXPECT_EQ(total, 6u);
  });
  EXPECT_EQ(progress_calls, 6u);
  EXPECT_EQ(result.seed_threads, 3);
  ASSERT_EQ(result.seeds, (std::vector<uint32_t>{2, 3, 4, 5, 6, 7}));

  // counts[item][room], the room found by the heading of each slot.
  const std::vector<std::string> headings = SlotRoomHeadings(Character::kJill, Difficulty::kNormal);
  std::vector<std::vector<uint64_t>> counts(kItemCount, std::vector<uint64_t>(result.rooms.size()));
  std::vector<uint64_t> attempts;
  std::vector<int> spheres;
  for (uint32_t seed = 2; seed <= 7; ++seed) {
    DialogFixture f;
    f.dlg.SetSeedSource([seed] { return seed; });
    f.dlg.OnBnClickedGenerateSeed();
    attempts.push_back(f.dlg.m_itemAttempts);
    // The spheres the JSON spoiler lists.
    spheres.push_back(static_cast<int>(
        nlohmann::json::parse(FormatSpoilerJson(f.dlg, ""))["playthrough"]["spheres"].size()));
    for (int slot = 0; slot < kSlotCount; ++slot) {
      const auto room = std::find(result.rooms.begin(), result.rooms.end(), headings[slot]);
      ++counts.at(f.dlg.m_placement[slot]).at(room - result.rooms.begin());
    }
  }
  EXPECT_EQ(result.attempts, attempts);
  EXPECT_EQ(result.spheres, spheres);
  EXPECT_EQ(result.settings.front(), "1203ZG00000022");
  EXPECT_EQ(result.counts, counts);
  EXPECT_EQ(result.item_names, ItemNames(Character::kJill, Difficulty::kNormal));

  // Threads beyond the seeds go to the item search.
  const StatsResult one_seed = RunStats(Options(2, 1, 4), nullptr);
  EXPECT_EQ(one_seed.seed_threads, 1);
  EXPECT_EQ(one_seed.search_threads, 4);
}

// Mystery seeds of both characters: one table with the rooms of both, each
// once, and an item named differently in them under both names.
TEST(RunStatsTest, MysterySeedsOfTwoSelectionsShareOneTableOfRooms) {
  StatsOptions options = Options(1, 8, 2);
  options.mystery = ParseMysteryWeights(R"({"character": {"jill": 1, "chris": 1}})").weights;
  ASSERT_TRUE(options.mystery);
  const StatsResult result = RunStats(options, nullptr);
  std::set<bool> characters;
  for (size_t i = 0; i < result.seeds.size(); ++i) {
    const CommandLineOptions drawn = DrawMysteryOptions(*options.mystery, result.seeds[i]);
    EXPECT_EQ(result.settings[i], EncodeSettings(drawn));
    characters.insert(drawn.chris);
  }
  ASSERT_EQ(characters.size(), 2u) << "seeds 1 to 8 draw both characters";
  const std::vector<std::string> jill = SlotRoomHeadings(Character::kJill, Difficulty::kNormal);
  const std::vector<std::string> chris = SlotRoomHeadings(Character::kChris, Difficulty::kNormal);
  std::set<std::string> rooms(jill.begin(), jill.end());
  rooms.insert(chris.begin(), chris.end());
  EXPECT_EQ(std::set<std::string>(result.rooms.begin(), result.rooms.end()), rooms);
  EXPECT_EQ(result.rooms.size(), rooms.size());
  uint64_t placed = 0;
  for (const std::vector<uint64_t>& row : result.counts)
    for (uint64_t n : row) placed += n;
  EXPECT_EQ(placed, 8u * kSlotCount);
  for (int item = 0; item < kItemCount; ++item) {
    const std::string_view j = ItemName(item, Character::kJill, Difficulty::kNormal);
    const std::string_view c = ItemName(item, Character::kChris, Difficulty::kNormal);
    EXPECT_EQ(result.item_names[item], j == c ? std::string(j) : std::string(j) + " / " + std::string(c));
  }
}

TEST(StatsReportTest, CsvHasTheCountsByRoomThenEachSeedQuotingWhereNeeded) {
  StatsResult result;
  result.rooms = {"HALL", "A, B"};
  result.item_names = {"Key", "Say \"hi\""};
  result.counts = {{3, 0}, {1, 2}};
  result.seeds = {5, 6};
  result.settings = {"1303ZG0000005X", "1303ZG0000006Y"};
  result.attempts = {120, 7};
  result.spheres = {9, -1};  // the second a Doors seed, without a playthrough
  EXPECT_EQ(FormatStatsCsv(result),
            "item_id,item,HALL,\"A, B\"\r\n"
            "0,Key,3,0\r\n"
            "1,\"Say \"\"hi\"\"\",1,2\r\n"
            "\r\n"
            "seed,settings,attempts,spheres\r\n"
            "5,1303ZG0000005X,120,9\r\n"
            "6,1303ZG0000006Y,7,\r\n");
}

TEST(StatsReportTest, ReportGivesTheSeedsTheSelectionAndBothSummaries) {
  StatsOptions options = Options(10, 4, 2);
  options.generation.chris = true;
  options.generation.enemies = true;
  StatsResult result;
  result.seeds = {10, 11, 12, 13};
  result.attempts = {4, 1, 3, 2};
  result.seconds = {0.5, 0.25, 0.25, 1};
  result.wall_seconds = 1.5;
  result.seed_threads = 2;
  EXPECT_EQ(FormatStatsReport(options, result),
            "4 seeds (10 to 13), Chris Normal, items, enemies; 2 threads\n"
            "attempts per seed: mean 2.5, median 2.5, 99th percentile 4, maximum 4\n"
            "seconds per seed: mean 0.5000, median 0.3750, 99th percentile 1.0000, "
            "maximum 1.0000\n"
            "wall clock: 1.50 s in all, 0.3750 s per seed\n");
}

}  // namespace
}  // namespace velmora
