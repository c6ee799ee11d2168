// Benchmarks of the item loop: attempts per second of the literal deal and
// check against the fast search, single-threaded and on every core, and the
// time per generated seed over many seeds.
//
//   velmora_perftest [--seeds=N] [--skip-seeds]
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>
#include <numeric>
#include <string>
#include <thread>
#include <vector>

#include "app/ControlIds.h"
#include "app/MemoryWindow.h"
#include "app/VelmoraDlg.h"
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

constexpr Options kSelections[] = {
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

// Whole generations of a selection over seeds 1..n: the time and the item
// attempts of each.
void SeedStatistics(const Options& o, int seeds) {
  std::vector<double> seconds;
  std::vector<double> attempts;
  for (int seed = 1; seed <= seeds; ++seed) {
    MemoryWindow window;
    MemoryOutputFiles files;
    CVelmoraDlg dlg(window, files);
    dlg.OnInitDialog();
    if (o.chris) window.Click(kIdChris);
    if (o.hard) window.Click(kIdHard);
    if (o.locks) window.Click(kIdLocks);
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

}  // namespace
}  // namespace velmora

int main(int argc, char** argv) {
  using namespace velmora;
  int seeds = 100;
  bool skip_seeds = false;
  for (int i = 1; i < argc; ++i) {
    if (std::strncmp(argv[i], "--seeds=", 8) == 0) {
      seeds = std::max(1, std::atoi(argv[i] + 8));
    } else if (std::strcmp(argv[i], "--skip-seeds") == 0) {
      skip_seeds = true;
    } else {
      std::fprintf(stderr, "usage: velmora_perftest [--seeds=N] [--skip-seeds]\n");
      return 2;
    }
  }
  const int cores = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
  using Kernel = FastItemSearch::DealKernel;
  std::printf("Deals judged %s, on %d cores.\n",
              FastItemSearch::KernelAvailable(Kernel::kVector)   ? "sixteen at a time in AVX-512 lanes"
              : FastItemSearch::KernelAvailable(Kernel::kBitSet) ? "one at a time over a bit set"
                                                                 : "one at a time over a byte array",
              cores);
  std::printf("Item attempts per second (deal and check), and the fast search against the literal one:\n");
  for (const Options& o : kSelections) AttemptRates(o, cores);

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
  return 0;
}
