// Benchmarks of the item loop: attempts per second of the literal deal and
// check against the fast search, single-threaded and on every core, and the
// time per generated seed over many seeds.
//
//   velmora_perftest [--seeds=N] [--skip-seeds] [google benchmark flags]
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

void BM_ReferenceAttempts(benchmark::State& state, Options o) {
  Prepared p(o);
  p.dlg.m_random.Seed(12345);
  for (auto _ : state) {
    p.dlg.m_placementValid = false;
    p.dlg.ShuffleItems();
    p.dlg.CheckPlacement();
    benchmark::DoNotOptimize(p.dlg.m_placementValid);
  }
  state.SetItemsProcessed(state.iterations());
}

void BM_FastAttempts(benchmark::State& state, Options o) {
  Prepared p(o);
  const FastItemSearch search(p.dlg, PinnedSlots(p.dlg.SelectedCharacter(), p.dlg.SelectedDifficulty()));
  const int threads = static_cast<int>(state.range(0));
  constexpr uint64_t kBlock = 200000;
  uint64_t first = 1;
  for (auto _ : state) {
    // A block of attempts far from any passing one is judged whole.
    benchmark::DoNotOptimize(search.FindFirstPassing(777u, first, first + kBlock - 1, threads));
    first += kBlock;
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * kBlock));
}

void RegisterAttemptBenchmarks() {
  const int cores = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
  for (const Options& o : kSelections) {
    benchmark::RegisterBenchmark((std::string("ReferenceAttempts/") + o.name).c_str(),
                                 BM_ReferenceAttempts, o)
        ->Unit(benchmark::kMicrosecond);
    auto* fast = benchmark::RegisterBenchmark((std::string("FastAttempts/") + o.name).c_str(),
                                              BM_FastAttempts, o);
    fast->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();
    if (cores > 1) fast->Arg(cores);
  }
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
  std::vector<char*> rest;
  for (int i = 0; i < argc; ++i) {
    if (std::strncmp(argv[i], "--seeds=", 8) == 0) {
      seeds = std::max(1, std::atoi(argv[i] + 8));
    } else if (std::strcmp(argv[i], "--skip-seeds") == 0) {
      skip_seeds = true;
    } else {
      rest.push_back(argv[i]);
    }
  }
  int rest_count = static_cast<int>(rest.size());
  benchmark::Initialize(&rest_count, rest.data());
  RegisterAttemptBenchmarks();
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();

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
