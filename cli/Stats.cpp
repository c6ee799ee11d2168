#include "cli/Stats.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <mutex>
#include <numeric>
#include <thread>

#ifdef _WIN32
#include <io.h>
#define VELMORA_ISATTY _isatty
#define VELMORA_FILENO _fileno
#else
#include <unistd.h>
#define VELMORA_ISATTY isatty
#define VELMORA_FILENO fileno
#endif

#include "app/VelmoraDlg.h"
#include "catalogue/ItemNames.h"
#include "cli/OptionsDialog.h"
#include "cli/SettingsString.h"
#include "output/CheatSheet.h"
#include "output/OutputFiles.h"
#include "output/SpoilerJson.h"

namespace velmora {
namespace {

constexpr const char* kUsage =
    "Usage: velmora stats --count N [generation options] [--threads T] [--csv FILE]\n"
    "Makes N seeds in memory, from --seed on (default 1), and prints the item attempts\n"
    "and the seconds per seed. No seed file is written.\n"
    "  --count N     seeds to make, at least 1\n"
    "  --threads T   threads to use (default: one per core)\n"
    "  --csv FILE    write how often each item lands in each room, and each seed's\n"
    "                settings, attempts and playthrough spheres\n"
    "  --mystery FILE  draw each seed's options from a weights file\n"
    "\n";

// The figures of every seed are kept until the end: about 70 bytes a seed.
constexpr uint64_t kMaxCount = 10'000'000;

std::optional<uint64_t> PositiveNumber(const std::string& text, uint64_t max) {
  if (text.empty() || text.size() > 19 ||
      !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
    return std::nullopt;
  const uint64_t value = std::stoull(text);
  if (value < 1 || value > max) return std::nullopt;
  return value;
}

std::string CsvField(const std::string& text) {
  if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
  std::string out = "\"";
  for (char c : text) {
    if (c == '"') out += '"';
    out += c;
  }
  return out + "\"";
}

std::string Fixed(double value, int decimals) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.*f", decimals, value);
  return buffer;
}

}  // namespace

StatsParseResult ParseStatsCommandLine(const std::vector<std::string>& args) {
  StatsParseResult result;
  CLI::App app{"velmora stats", "velmora stats"};
  app.set_help_flag();
  app.allow_extras();
  std::string count_text, threads_text, csv;
  app.add_option("--count", count_text);
  app.add_option("--threads", threads_text);
  app.add_option("--csv", csv);

  std::vector<std::string> rest(args.begin() + std::min<size_t>(args.size(), 2), args.end());
  std::reverse(rest.begin(), rest.end());
  try {
    app.parse(rest);
  } catch (const CLI::ParseError& e) {
    result.error = e.what();
    return result;
  }

  // Everything else is a generation option, read as a generation reads it.
  std::vector<std::string> generation_args = {"velmora"};
  for (const std::string& arg : app.remaining()) generation_args.push_back(arg);
  ParseResult generation = ParseCommandLine(generation_args);
  if (generation.help) {
    result.help = kUsage + *generation.help;
    return result;
  }
  if (!generation.options) {
    result.error = generation.error;
    return result;
  }

  StatsOptions options;
  options.generation = *generation.options;
  if (!options.generation.out_dir.empty() || !options.generation.spoiler_json.empty() ||
      !options.generation.door_map.empty()) {
    result.error = "stats writes no seed files: --out, --spoiler-json and --door-map have no use";
    return result;
  }
  if (!options.generation.seed) options.generation.seed = 1;
  if (!app.count("--count")) {
    result.error = "stats needs --count N, the number of seeds to make";
    return result;
  }
  const std::optional<uint64_t> count = PositiveNumber(count_text, kMaxCount);
  if (!count) {
    result.error = "--count: '" + count_text + "' is not a number from 1 to 10000000";
    return result;
  }
  options.count = *count;
  if (app.count("--threads")) {
    const std::optional<uint64_t> threads = PositiveNumber(threads_text, 1024);
    if (!threads) {
      result.error = "--threads: '" + threads_text + "' is not a number from 1 to 1024";
      return result;
    }
    options.threads = static_cast<int>(*threads);
  }
  if (app.count("--csv") && csv.empty()) {
    result.error = "--csv needs a file name";
    return result;
  }
  options.csv_path = csv;
  result.options = options;
  return result;
}

Summary Summarize(std::vector<double> values) {
  Summary summary;
  if (values.empty()) return summary;
  std::sort(values.begin(), values.end());
  const size_t n = values.size();
  summary.mean = std::accumulate(values.begin(), values.end(), 0.0) / static_cast<double>(n);
  summary.median = n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
  // Nearest rank: the ceil(0.99 n)-th smallest value, in integers so that
  // no rounding moves the rank.
  const size_t rank = (99 * n + 99) / 100;
  summary.p99 = values[rank - 1];
  summary.max = values.back();
  return summary;
}

SeedFigures MeasureSeed(const CommandLineOptions& options, int search_threads) {
  MemoryOutputFiles files;
  OptionsDialog generation(options, files);
  CVelmoraDlg& dialog = generation.dialog;
  dialog.m_searchThreads = search_threads;
  dialog.OnBnClickedGenerateSeed();
  SeedFigures figures;
  figures.settings = EncodeSettings(ReadOptions(generation.window, dialog.seed()));
  figures.character = dialog.SelectedCharacter();
  figures.difficulty = dialog.SelectedDifficulty();
  figures.attempts = dialog.m_itemAttempts;
  if (const std::optional<Spheres> spheres = PlaythroughSpheres(dialog))
    figures.spheres = static_cast<int>(spheres->rounds.size());
  figures.placement = dialog.m_placement;
  return figures;
}

namespace {

// The index of a selection in kSelections.
size_t SelectionIndex(Character character, Difficulty difficulty) {
  return (character == Character::kChris ? 2 : 0) + (difficulty == Difficulty::kHard ? 1 : 0);
}

// The index of `heading` in `rooms`, added at the end when it is new.
size_t IndexIn(std::vector<std::string>& rooms, const std::string& heading) {
  auto it = std::find(rooms.begin(), rooms.end(), heading);
  if (it == rooms.end()) it = rooms.insert(rooms.end(), heading);
  return static_cast<size_t>(it - rooms.begin());
}

// Each selection's room headings in slot order, each once, and the room of
// every slot.
struct SelectionRooms {
  std::vector<std::string> rooms;
  std::vector<size_t> room_of_slot;
};

const SelectionRooms& RoomsOf(size_t selection) {
  static const std::array<SelectionRooms, 4> all = [] {
    std::array<SelectionRooms, 4> made;
    for (size_t s = 0; s < made.size(); ++s) {
      for (const std::string& heading :
           SlotRoomHeadings(kSelections[s].character, kSelections[s].difficulty))
        made[s].room_of_slot.push_back(IndexIn(made[s].rooms, heading));
    }
    return made;
  }();
  return all[selection];
}

void MergeCounts(const SelectionCounts& from, SelectionCounts& into) {
  for (size_t s = 0; s < from.size(); ++s) {
    if (from[s].empty()) continue;
    if (into[s].empty()) {
      into[s] = from[s];
      continue;
    }
    for (size_t item = 0; item < from[s].size(); ++item)
      for (size_t room = 0; room < from[s][item].size(); ++room)
        into[s][item][room] += from[s][item][room];
  }
}

}  // namespace

void CountPlacement(const SeedFigures& seed, SelectionCounts& counts) {
  const size_t selection = SelectionIndex(seed.character, seed.difficulty);
  const SelectionRooms& rooms = RoomsOf(selection);
  std::vector<std::vector<uint64_t>>& table = counts[selection];
  if (table.empty()) table.assign(kItemCount, std::vector<uint64_t>(rooms.rooms.size(), 0));
  for (size_t slot = 0; slot < seed.placement.size() && slot < rooms.room_of_slot.size(); ++slot) {
    const int item = seed.placement[slot];
    if (item >= 0 && item < kItemCount) ++table[item][rooms.room_of_slot[slot]];
  }
}

void SetRoomCounts(const SelectionCounts& counts, StatsResult& result) {
  result.rooms.clear();
  result.item_names.assign(kItemCount, "");
  std::vector<std::vector<std::string>> names(kItemCount);
  std::array<std::vector<size_t>, 4> union_room;
  for (size_t s = 0; s < counts.size(); ++s) {
    if (counts[s].empty()) continue;
    for (const std::string& room : RoomsOf(s).rooms)
      union_room[s].push_back(IndexIn(result.rooms, room));
    const std::vector<std::string> selection_names =
        ItemNames(kSelections[s].character, kSelections[s].difficulty);
    for (size_t item = 0; item < names.size() && item < selection_names.size(); ++item)
      if (std::find(names[item].begin(), names[item].end(), selection_names[item]) ==
          names[item].end())
        names[item].push_back(selection_names[item]);
  }
  for (size_t item = 0; item < names.size(); ++item)
    for (const std::string& name : names[item])
      result.item_names[item] += (result.item_names[item].empty() ? "" : " / ") + name;
  result.counts.assign(kItemCount, std::vector<uint64_t>(result.rooms.size(), 0));
  for (size_t s = 0; s < counts.size(); ++s)
    for (size_t item = 0; item < counts[s].size(); ++item)
      for (size_t room = 0; room < counts[s][item].size(); ++room)
        result.counts[item][union_room[s][room]] += counts[s][item][room];
}

StatsResult RunStats(const StatsOptions& options, const StatsProgress& progress) {
  StatsResult result;
  const uint64_t count = options.count;
  const uint32_t first_seed = options.generation.seed.value_or(1);
  const int threads = options.threads > 0
                          ? options.threads
                          : static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
  // Seeds run side by side, one per thread; threads left over when there are
  // fewer seeds than threads go to each generation's item search.
  result.seed_threads = static_cast<int>(std::min<uint64_t>(static_cast<uint64_t>(threads), count));
  result.search_threads = std::max(1, threads / std::max(1, result.seed_threads));

  result.attempts.assign(count, 0);
  result.seconds.assign(count, 0);
  result.settings.assign(count, "");
  result.spheres.assign(count, -1);
  for (uint64_t i = 0; i < count; ++i)
    result.seeds.push_back(static_cast<uint32_t>(first_seed + i));

  SelectionCounts counts;
  if (!options.mystery) {
    // A run of one selection lists that selection's rooms even without seeds.
    SeedFigures none;
    none.character = options.generation.chris ? Character::kChris : Character::kJill;
    none.difficulty = options.generation.hard ? Difficulty::kHard : Difficulty::kNormal;
    CountPlacement(none, counts);
  }
  std::atomic<uint64_t> next{0};
  std::mutex mutex;
  uint64_t done = 0;
  auto work = [&] {
    SelectionCounts own;
    for (uint64_t i = next++; i < count; i = next++) {
      CommandLineOptions generation = options.generation;
      if (options.mystery) {
        generation = DrawMysteryOptions(*options.mystery, result.seeds[i]);
        generation.attempt_index = options.generation.attempt_index;
      }
      generation.seed = result.seeds[i];
      const auto start = std::chrono::steady_clock::now();
      SeedFigures figures = MeasureSeed(generation, result.search_threads);
      result.seconds[i] =
          std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
      result.attempts[i] = figures.attempts;
      result.spheres[i] = figures.spheres;
      CountPlacement(figures, own);
      result.settings[i] = std::move(figures.settings);
      std::lock_guard<std::mutex> lock(mutex);
      ++done;
      if (progress) progress(done, count);
    }
    std::lock_guard<std::mutex> lock(mutex);
    MergeCounts(own, counts);
  };

  const auto start = std::chrono::steady_clock::now();
  std::vector<std::thread> workers;
  for (int t = 1; t < result.seed_threads; ++t) workers.emplace_back(work);
  work();
  for (std::thread& worker : workers) worker.join();
  result.wall_seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  SetRoomCounts(counts, result);
  return result;
}

std::string FormatStatsReport(const StatsOptions& options, const StatsResult& result) {
  const CommandLineOptions& g = options.generation;
  std::string kinds = g.items ? "items" : "no items";
  if (g.enemies) kinds += ", enemies";
  if (g.doors) kinds += ", doors";
  if (g.locks) kinds += ", locks";
  const uint64_t n = result.seeds.size();

  std::string out;
  out += std::to_string(n) + (n == 1 ? " seed" : " seeds");
  if (n > 0)
    out += " (" + std::to_string(result.seeds.front()) +
           (n > 1 ? " to " + std::to_string(result.seeds.back()) : "") + ")";
  if (!g.mystery.empty())
    out += ", mystery options drawn from " + g.mystery;
  else
    out += std::string(", ") + (g.chris ? "Chris" : "Jill") + " " + (g.hard ? "Hard" : "Normal") +
           ", " + kinds;
  out += "; " + std::to_string(result.seed_threads) +
         (result.seed_threads == 1 ? " thread" : " threads");
  if (result.search_threads > 1)
    out += ", " + std::to_string(result.search_threads) + " for each item search";
  out += "\n";

  std::vector<double> attempts(result.attempts.begin(), result.attempts.end());
  const Summary a = Summarize(attempts);
  out += "attempts per seed: mean " + Fixed(a.mean, 1) + ", median " + Fixed(a.median, 1) +
         ", 99th percentile " + Fixed(a.p99, 0) + ", maximum " + Fixed(a.max, 0) + "\n";
  const Summary s = Summarize(result.seconds);
  out += "seconds per seed: mean " + Fixed(s.mean, 4) + ", median " + Fixed(s.median, 4) +
         ", 99th percentile " + Fixed(s.p99, 4) + ", maximum " + Fixed(s.max, 4) + "\n";
  out += "wall clock: " + Fixed(result.wall_seconds, 2) + " s in all, " +
         Fixed(n == 0 ? 0 : result.wall_seconds / static_cast<double>(n), 4) + " s per seed\n";
  return out;
}

std::string FormatStatsCsv(const StatsResult& result) {
  std::string out = "item_id,item";
  for (const std::string& room : result.rooms) out += "," + CsvField(room);
  out += "\r\n";
  for (size_t item = 0; item < result.counts.size(); ++item) {
    out += std::to_string(item) + "," +
           CsvField(item < result.item_names.size() ? result.item_names[item] : "");
    for (uint64_t value : result.counts[item]) out += "," + std::to_string(value);
    out += "\r\n";
  }
  out += "\r\nseed,settings,attempts,spheres\r\n";
  for (size_t i = 0; i < result.seeds.size(); ++i) {
    out += std::to_string(result.seeds[i]) + ",";
    out += CsvField(i < result.settings.size() ? result.settings[i] : "") + ",";
    out += std::to_string(i < result.attempts.size() ? result.attempts[i] : 0) + ",";
    if (i < result.spheres.size() && result.spheres[i] >= 0)
      out += std::to_string(result.spheres[i]);
    out += "\r\n";
  }
  return out;
}

int RunStatsCommand(const std::vector<std::string>& args) {
  const StatsParseResult parsed = ParseStatsCommandLine(args);
  if (parsed.help) {
    std::cout << *parsed.help;
    return 0;
  }
  if (!parsed.options) {
    std::cerr << "velmora stats: " << parsed.error << "\n";
    return 2;
  }
  StatsOptions options = *parsed.options;
  if (!options.generation.mystery.empty()) {
    WeightsParseResult weights = ReadMysteryWeightsFile(options.generation.mystery);
    if (!weights.weights) {
      std::cerr << "velmora stats: " << weights.error << "\n";
      return 2;
    }
    options.mystery = std::move(weights.weights);
  }

  // The progress line is for a person watching; a pipe or a file gets none.
  StatsProgress progress;
  if (VELMORA_ISATTY(VELMORA_FILENO(stderr))) {
    const auto start = std::chrono::steady_clock::now();
    progress = [start](uint64_t done, uint64_t total) {
      const double seconds =
          std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
      std::fprintf(stderr, "\r%llu/%llu seeds, %.1f s", static_cast<unsigned long long>(done),
                   static_cast<unsigned long long>(total), seconds);
      if (done == total) std::fprintf(stderr, "\r\033[K");
      std::fflush(stderr);
    };
  }
  const StatsResult result = RunStats(options, progress);
  std::cout << FormatStatsReport(options, result);
  std::cout.flush();

  if (!options.csv_path.empty()) {
    const std::filesystem::path path(options.csv_path);
    DiskOutputFiles files(path.parent_path().string());
    if (std::optional<std::string> reason =
            files.Write(path.filename().string(), FormatStatsCsv(result))) {
      std::cerr << "velmora stats: could not write " << options.csv_path << " (" << *reason
                << ")\n";
      return 1;
    }
  }
  return 0;
}

}  // namespace velmora
