// Benchmarks of the item loop: attempts per second of every deal kernel this
// processor runs, side by side on one thread; attempts per second of the
// literal deal and check against the fast search, single-threaded and on
// every core; the
// attempt index's size and lookup time; the time per generated seed over many
// seeds, answered by the index and by the search; and the time of whole runs
// of the command line.
//
//   velmora_perftest [--seeds=N] [--search-seeds=N] [--skip-seeds] [--kernels-only]
//                    [--velmora=PATH]
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <memory>
#include <numeric>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "app/ControlIds.h"
#include "app/MemoryWindow.h"
#include "app/VelmoraDlg.h"
#include "items/AttemptIndex.h"
#include "items/DealKernels.h"
#include "items/FastItemSearch.h"
#include "items/Pins.h"
#include "output/OutputFiles.h"

namespace velmora {
namespace {

struct Options {
  const char* name;
  bool chris;
  bool hard;
  bool locks;
};

constexpr Options kPlainSelections[] = {
    {"JillNormal", false, false, false},
    {"JillHard", false, true, false},
    {"ChrisNormal", true, false, false},
    {"ChrisHard", true, true, false},
};

// A dialog with the tables of a selection filled in, as the generation fills
// them before the item loop.
struct Prepared {
  MemoryWindow window;
  MemoryOutputFiles files;
  CVelmoraDlg dlg{window, files};
  explicit Prepared(const Options& o) {
    dlg.OnInitDialog();
    if (o.chris) window.Click(kIdChris);
    if (o.hard) window.Click(kIdHard);
    dlg.FillItemNames();
    dlg.FillSlotAreas();
    dlg.FillPlainAreaTables();
  }
};

double Seconds(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

// Attempts per second of the literal deal and check (one attempt after the
// other, as the loop is written) and of the fast search, single-threaded and
// on every core, over the same run of attempts from one seed.
void AttemptRates(const Options& o, int cores) {
  Prepared p(o);
  constexpr uint32_t kSeed = 777;
  constexpr uint64_t kReferenceAttempts = 100'000;
  p.dlg.m_random.Seed(kSeed);
  auto start = std::chrono::steady_clock::now();
  for (uint64_t i = 0; i < kReferenceAttempts; ++i) {
    p.dlg.m_placementValid = false;
    p.dlg.ShuffleItems();
    p.dlg.CheckPlacement();
    benchmark::DoNotOptimize(p.dlg.m_placementValid);
  }
  const double reference = static_cast<double>(kReferenceAttempts) / Seconds(start);

  const FastItemSearch search(p.dlg, PinnedSlots(p.dlg.SelectedCharacter(), p.dlg.SelectedDifficulty()));
  auto fast_rate = [&](int threads) {
    // Whole spans of 32 blocks of marks, as the generator searches them, are
    // judged even when an attempt in them passes, so the rate counts every
    // attempt of the run.
    constexpr uint64_t kBlock = 32 * 10001;
    uint64_t judged = 0;
    const auto begin = std::chrono::steady_clock::now();
    for (uint64_t first = 1; Seconds(begin) < 1.5; first += kBlock) {
      for (uint64_t from = first; from < first + kBlock; ++from) {
        const uint64_t found = search.FindFirstPassing(kSeed, from, first + kBlock - 1, threads);
        if (found == 0) break;
        from = found;
      }
      judged += kBlock;
    }
    return static_cast<double>(judged) / Seconds(begin);
  };
  const double fast_one = fast_rate(1);
  const double fast_all = fast_rate(cores);
  std::printf("%-12s reference %9.0f/s   fast 1 thread %11.0f/s (x%5.1f)   fast %d threads %11.0f/s (x%5.1f)\n",
              o.name, reference, fast_one, fast_one / reference, cores, fast_all,
              fast_all / reference);
  std::fflush(stdout);
}

// Opens the dialog and ticks the selection `o` names.
void ClickSelection(CVelmoraDlg& dlg, MemoryWindow& window, const Options& o) {
  dlg.OnInitDialog();
  if (o.chris) window.Click(kIdChris);
  if (o.hard) window.Click(kIdHard);
  if (o.locks) window.Click(kIdLocks);
}

// The search of the first item loop of a generation: the tables of a lock
// deal when `o.locks`.
FastItemSearch FirstSearchOf(const Options& o, uint32_t seed) {
  MemoryWindow window;
  MemoryOutputFiles files;
  CVelmoraDlg dlg(window, files);
  ClickSelection(dlg, window, o);
  dlg.SetSeedSource([seed] { return seed; });
  dlg.m_useAttemptIndex = false;
  std::optional<FastItemSearch> first;
  dlg.m_findDecidingAttempt = [&first](const FastItemSearch& search, uint32_t loop_start,
                                       uint64_t limit) {
    if (!first) first.emplace(search);
    return search.FindFirstPassing(loop_start, 1, limit, 1);
  };
  dlg.OnBnClickedGenerateSeed();
  return *first;
}

// Seconds of processor time this thread has used: the kernels are compared
// by it, so that other work on the machine does not count against them.
double ThreadSeconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// Attempts per second of one thread, for every kernel this processor runs:
// dealing alone (the deals a kernel gives up on, as DealSurvivors answers)
// and the whole search (dealing, then pinning and checking what is left).
void KernelRates(const char* name, const FastItemSearch& tables) {
  constexpr uint32_t kSeed = 777;
  std::printf("%-22s", name);
  for (const DealKernel& kernel : BuiltDealKernels()) {
    if (!kernel.runs_here()) continue;
    uint64_t dealt = 0;
    const double start = ThreadSeconds();
    for (uint64_t first = 1; ThreadSeconds() - start < 1.0; first += 1'000'000) {
      benchmark::DoNotOptimize(tables.DealSurvivors(kSeed, first, first + 999'999, kernel).size());
      dealt += 1'000'000;
    }
    const double deal_rate = static_cast<double>(dealt) / (ThreadSeconds() - start);
    std::printf(" %7.2f", deal_rate / 1e6);
    std::fflush(stdout);
  }
  std::printf("   (M attempts/s dealt)\n%-22s", "");
  for (const DealKernel& kernel : BuiltDealKernels()) {
    if (!kernel.runs_here()) continue;
    const FastItemSearch search = tables.WithKernel(kernel);
    uint64_t judged = 0;
    constexpr uint64_t kSpan = 250'000;
    const double start = ThreadSeconds();
    for (uint64_t first = 1; ThreadSeconds() - start < 1.0; first += kSpan) {
      for (uint64_t from = first; from < first + kSpan; ++from) {
        const uint64_t found = search.FindFirstPassing(kSeed, from, first + kSpan - 1, 1);
        if (found == 0) break;
        from = found;
      }
      judged += kSpan;
    }
    std::printf(" %7.2f", static_cast<double>(judged) / (ThreadSeconds() - start) / 1e6);
    std::fflush(stdout);
  }
  std::printf("   (M attempts/s searched)\n");
}

// Whole generations of a selection over seeds 1..n: the time and the item
// attempts of each.
void SeedStatistics(const Options& o, int seeds) {
  std::vector<double> seconds;
  std::vector<double> attempts;
  for (int seed = 1; seed <= seeds; ++seed) {
    MemoryWindow window;
    MemoryOutputFiles files;
    CVelmoraDlg dlg(window, files);
    ClickSelection(dlg, window, o);
    dlg.SetSeedSource([seed] { return static_cast<uint32_t>(seed); });
    const auto start = std::chrono::steady_clock::now();
    dlg.OnBnClickedGenerateSeed();
    seconds.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    attempts.push_back(static_cast<double>(dlg.m_itemAttempts));
  }
  auto summary = [](std::vector<double> v, double scale, const char* unit) {
    std::sort(v.begin(), v.end());
    const double mean = std::accumulate(v.begin(), v.end(), 0.0) / static_cast<double>(v.size());
    const double median = v[v.size() / 2];
    const double p99 = v[std::min(v.size() - 1, (v.size() * 99) / 100)];
    std::printf("mean %10.1f %s  median %10.1f  p99 %10.1f  max %10.1f", mean * scale, unit,
                median * scale, p99 * scale, v.back() * scale);
  };
  std::printf("%-22s %5d seeds  time: ", o.name, seeds);
  summary(seconds, 1000.0, "ms");
  std::printf("\n%-22s              attempts: ", "");
  summary(attempts, 1.0, "  ");
  std::printf("\n");
  std::fflush(stdout);
}

// The item stage of a plain selection (RandomizeItems after the tables are
// filled, as the generation calls it), answered by the index and by the
// search on one thread, with the mean and the longest time of each.
void ItemStage(const Options& o, int seeds, int search_seeds) {
  auto stage = [&o](uint32_t seed, bool use_index) {
    Prepared p(o);
    p.dlg.m_random.Seed(seed);
    p.dlg.m_useAttemptIndex = use_index;
    p.dlg.m_searchThreads = 1;
    const auto start = std::chrono::steady_clock::now();
    p.dlg.RandomizeItems();
    return Seconds(start) * 1000.0;
  };
  auto figures = [&](int n, bool use_index) {
    double sum = 0, longest = 0;
    for (int seed = 1; seed <= n; ++seed) {
      const double ms = stage(static_cast<uint32_t>(seed), use_index);
      sum += ms;
      longest = std::max(longest, ms);
    }
    return std::pair{sum / n, longest};
  };
  const auto [index_mean, index_max] = figures(seeds, true);
  const auto [search_mean, search_max] = figures(search_seeds, false);
  std::printf("%-12s by index: mean %8.4f ms, max %8.4f ms   by search: mean %9.1f ms, max %9.1f ms\n",
              o.name, index_mean, index_max, search_mean, search_max);
  std::fflush(stdout);
}

// The embedded index's bytes, and the time of one lookup: matching the
// tables and finding the first passing attempt of a loop.
void IndexLookups() {
  size_t bytes = 0;
  for (const Options& o : kPlainSelections) {
    bytes += EmbeddedAttemptIndexBytes(o.chris ? Character::kChris : Character::kJill,
                                       o.hard ? Difficulty::kHard : Difficulty::kNormal)
                 .size();
  }
  std::printf("Attempt index: %zu bytes embedded for the four selections.\n", bytes);
  for (const Options& o : kPlainSelections) {
    Prepared p(o);
    const Character character = p.dlg.SelectedCharacter();
    const Difficulty difficulty = p.dlg.SelectedDifficulty();
    const std::vector<int> pins = PinnedSlots(character, difficulty);
    constexpr int kLookups = 2000;
    uint64_t sum = 0;
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < kLookups; ++i) {
      const AttemptIndex* index = MatchingAttemptIndex(p.dlg, pins, character, difficulty);
      if (index) sum += index->FirstPassing(static_cast<uint32_t>(i) * 2654435761u);
    }
    benchmark::DoNotOptimize(sum);
    std::printf("%-12s lookup (tables matched, then the first passing attempt) %8.4f ms\n",
                o.name, Seconds(start) * 1000.0 / kLookups);
  }
  std::fflush(stdout);
}

// Whole runs of the command line for Chris Hard, items only, over seeds 1..n,
// each writing its files into a scratch folder.
void ProcessRuns(const std::string& velmora, int seeds) {
  char folder[] = "/tmp/velmora-perftest-XXXXXX";
  if (mkdtemp(folder) == nullptr) {
    std::perror("mkdtemp");
    return;
  }
  std::vector<double> seconds;
  for (int seed = 1; seed <= seeds; ++seed) {
    const std::string seed_text = std::to_string(seed);
    std::vector<std::string> args = {velmora, "--seed", seed_text, "--character", "chris",
                                     "--difficulty", "hard"};
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addchdir_np(&actions, folder);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    int status = 0;
    const bool ran = posix_spawn(&pid, velmora.c_str(), &actions, nullptr, argv.data(), environ) == 0 &&
                     waitpid(pid, &status, 0) == pid && WIFEXITED(status) &&
                     WEXITSTATUS(status) == 0;
    seconds.push_back(Seconds(start));
    posix_spawn_file_actions_destroy(&actions);
    if (!ran) {
      std::fprintf(stderr, "%s --seed %d failed\n", velmora.c_str(), seed);
      return;
    }
  }
  std::sort(seconds.begin(), seconds.end());
  const double mean =
      std::accumulate(seconds.begin(), seconds.end(), 0.0) / static_cast<double>(seconds.size());
  std::printf("velmora --seed N --character chris --difficulty hard, %d runs: mean %.2f ms, "
              "median %.2f ms, max %.2f ms\n",
              seeds, mean * 1000.0, seconds[seconds.size() / 2] * 1000.0, seconds.back() * 1000.0);
  std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace velmora

int main(int argc, char** argv) {
  using namespace velmora;
  int seeds = 100;
  int search_seeds = 20;
  bool skip_seeds = false;
  bool kernels_only = false;
  std::string velmora;
  for (int i = 1; i < argc; ++i) {
    if (std::strncmp(argv[i], "--seeds=", 8) == 0) {
      seeds = std::max(1, std::atoi(argv[i] + 8));
    } else if (std::strncmp(argv[i], "--search-seeds=", 15) == 0) {
      search_seeds = std::max(1, std::atoi(argv[i] + 15));
    } else if (std::strncmp(argv[i], "--velmora=", 10) == 0) {
      velmora = argv[i] + 10;
    } else if (std::strcmp(argv[i], "--skip-seeds") == 0) {
      skip_seeds = true;
    } else if (std::strcmp(argv[i], "--kernels-only") == 0) {
      kernels_only = true;
    } else {
      std::fprintf(stderr, "usage: velmora_perftest [--seeds=N] [--search-seeds=N] [--skip-seeds] "
                   "[--kernels-only] [--velmora=PATH]\n");
      return 2;
    }
  }
  const int cores = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
  const DealKernel& chosen = SearchDealKernel();
  std::printf("Deals judged by the %s kernel (%d attempt%s at a time), on %d cores.\n", chosen.name,
              chosen.lanes, chosen.lanes == 1 ? "" : "s", cores);
  std::printf("\nDeal kernels, one thread (VELMORA_SEARCH_KERNEL=NAME forces one):\n%-22s", "");
  for (const DealKernel& kernel : BuiltDealKernels())
    if (kernel.runs_here()) std::printf(" %7s", kernel.name);
  std::printf("\n");
  constexpr uint32_t kLockSeed = 3;
  KernelRates("ChrisNormal", FirstSearchOf({"ChrisNormal", true, false, false}, 1));
  KernelRates("ChrisNormal locks", FirstSearchOf({"ChrisNormal locks", true, false, true}, kLockSeed));
  if (kernels_only) return 0;
  std::printf("\n");
  std::printf("Item attempts per second (deal and check), and the fast search against the literal one:\n");
  for (const Options& o : kPlainSelections) AttemptRates(o, cores);
  std::printf("\n");
  IndexLookups();
  std::printf("\nThe item stage alone, one thread, by the attempt index (seeds 1..%d) and by "
              "the search (seeds 1..%d):\n",
              seeds, search_seeds);
  for (const Options& o : kPlainSelections) ItemStage(o, seeds, search_seeds);

  if (skip_seeds) return 0;
  std::printf("\nTime per generated seed (items only, writers to memory), seeds 1..%d:\n", seeds);
  const Options per_seed[] = {
      {"Items JillNormal", false, false, false},
      {"Items ChrisNormal", true, false, false},
      {"Items ChrisHard", true, true, false},
      {"Locks JillNormal", false, false, true},
      {"Locks ChrisNormal", true, false, true},
      {"Locks JillHard", false, true, true},
      {"Locks ChrisHard", true, true, true},
  };
  for (const Options& o : per_seed) SeedStatistics(o, seeds);
  if (!velmora.empty()) {
    std::printf("\n");
    ProcessRuns(velmora, 50);
  }
  return 0;
}
