#include "cli/Stats.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/DialogFixture_test.h"
#include "catalogue/ItemNames.h"
#include "output/CheatSheet.h"

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
  for (uint32_t seed = 2; seed <= 7; ++seed) {
    DialogFixture f;
    f.dlg.SetSeedSource([seed] { return seed; });
    f.dlg.OnBnClickedGenerateSeed();
    attempts.push_back(f.dlg.m_itemAttempts);
    for (int slot = 0; slot < kSlotCount; ++slot) {
      const auto room = std::find(result.rooms.begin(), result.rooms.end(), headings[slot]);
      ++counts.at(f.dlg.m_placement[slot]).at(room - result.rooms.begin());
    }
  }
  EXPECT_EQ(result.attempts, attempts);
  EXPECT_EQ(result.counts, counts);
  EXPECT_EQ(result.item_names, ItemNames(Character::kJill, Difficulty::kNormal));

  // Threads beyond the seeds go to the item search.
  const StatsResult one_seed = RunStats(Options(2, 1, 4), nullptr);
  EXPECT_EQ(one_seed.seed_threads, 1);
  EXPECT_EQ(one_seed.search_threads, 4);
}

TEST(StatsReportTest, CsvHasAHeaderOfRoomsAndQuotesWhereNeeded) {
  StatsResult result;
  result.rooms = {"HALL", "A, B"};
  result.item_names = {"Key", "Say \"hi\""};
  result.counts = {{3, 0}, {1, 2}};
  EXPECT_EQ(FormatStatsCsv(result),
            "item_id,item,HALL,\"A, B\"\r\n"
            "0,Key,3,0\r\n"
            "1,\"Say \"\"hi\"\"\",1,2\r\n");
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
