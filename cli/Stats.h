// `velmora stats`: many generations in memory, to see how long seeds take and
// where items end up. No seed file is written.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <array>

#include "catalogue/Selection.h"
#include "cli/CommandLine.h"
#include "cli/Mystery.h"

namespace velmora {

struct StatsOptions {
  /// The generation options; `seed` is the first seed (1 when not given).
  CommandLineOptions generation;
  uint64_t count = 0;
  /// Threads in all; 0 for one per core.
  int threads = 0;
  /// Where the item-by-room counts and the figures of each seed go; empty
  /// for nowhere.
  std::string csv_path;
  /// With `--mystery`: each seed's options are drawn from these weights.
  std::optional<MysteryWeights> mystery;
};

struct StatsParseResult {
  std::optional<StatsOptions> options;
  /// Set when the program should print this and exit 0 (for --help).
  std::optional<std::string> help;
  /// A one-line message naming the problem otherwise.
  std::string error;
};

/// Parses `velmora stats ...`: args[0] is the program, args[1] "stats".
StatsParseResult ParseStatsCommandLine(const std::vector<std::string>& args);

/// Mean, median (the mean of the middle two for an even count), 99th
/// percentile (nearest rank: the smallest value that at least 99 % of the
/// values do not exceed) and maximum. All 0 for no values.
struct Summary {
  double mean = 0;
  double median = 0;
  double p99 = 0;
  double max = 0;
};
Summary Summarize(std::vector<double> values);

/// What one generation tells the statistics.
struct SeedFigures {
  /// The settings string that makes the seed again.
  std::string settings;
  Character character = Character::kJill;
  Difficulty difficulty = Difficulty::kNormal;
  uint64_t attempts = 0;
  /// The playthrough's spheres; -1 for a Doors seed, which has none.
  int spheres = -1;
  std::vector<int> placement;
};

/// Generates `options` (whose seed is set) in memory and measures it.
SeedFigures MeasureSeed(const CommandLineOptions& options, int search_threads);

/// Item-by-room counts of each selection (Jill Normal, Jill Hard, Chris
/// Normal, Chris Hard): [selection][item][room], the rooms being the cheat
/// sheet's headings of that selection in slot order. Empty for a selection
/// no seed had.
using SelectionCounts = std::array<std::vector<std::vector<uint64_t>>, 4>;

/// Counts where a seed of the selection put each item (an item at two slots
/// of a room counts twice).
void CountPlacement(const SeedFigures& seed, SelectionCounts& counts);

struct StatsResult {
  std::vector<uint32_t> seeds;
  /// The settings string and the playthrough's sphere count (-1: none) of
  /// each seed, in seed order.
  std::vector<std::string> settings;
  std::vector<int> spheres;
  /// Item attempts and seconds of each generation, in seed order.
  std::vector<uint64_t> attempts;
  std::vector<double> seconds;
  /// Time from the first generation's start to the last one's end.
  double wall_seconds = 0;
  /// Threads that ran generations side by side, and threads each
  /// generation's item search used.
  int seed_threads = 1;
  int search_threads = 1;
  /// The cheat sheet's room headings, in slot order: those of each selection
  /// that a seed had, in the order of SelectionCounts, each heading once.
  std::vector<std::string> rooms;
  /// The item names by item id: an id named differently in the selections
  /// that the seeds had gets its names joined with " / ".
  std::vector<std::string> item_names;
  /// counts[item][room]: how many seeds put the item in a slot of the room
  /// (an item at two slots of a room counts twice).
  std::vector<std::vector<uint64_t>> counts;
};

/// Fills the rooms, item names and counts of `result` from the counts of
/// each selection.
void SetRoomCounts(const SelectionCounts& counts, StatsResult& result);

/// Called after each generation with the number done so far; calls come
/// one at a time.
using StatsProgress = std::function<void(uint64_t done, uint64_t total)>;

/// Runs the generations: seeds first, first + 1, ... (wrapping past
/// 4294967295), each on a dialog of its own over an in-memory window and
/// files, spread over the threads.
StatsResult RunStats(const StatsOptions& options, const StatsProgress& progress);

/// The printed report: the selection, the attempts per seed and the seconds
/// per seed.
std::string FormatStatsReport(const StatsOptions& options, const StatsResult& result);

/// The counts as CSV: a header "item_id,item," and the rooms, then one row
/// per item id; then an empty line, a header "seed,settings,attempts,spheres"
/// and one row per seed (spheres empty for a Doors seed). CR LF line ends,
/// fields quoted where they need it.
std::string FormatStatsCsv(const StatsResult& result);

/// The whole subcommand; returns the exit status (0, 1 when the CSV could not
/// be written, 2 for bad arguments).
int RunStatsCommand(const std::vector<std::string>& args);

}  // namespace velmora
