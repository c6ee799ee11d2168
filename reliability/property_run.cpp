// velmora_property_run: generates many seeds over every combination of
// options, checks each, and generates a sample again with the velmora
// program in a separate process to compare bytes. Prints a summary with the
// number of seeds, failures and the time taken; exits 1 on any failure.
//
//   velmora_property_run --seeds 100000 --jobs 2 --program build/release/cli/velmora
#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include <CLI/CLI.hpp>

#include "reliability/PropertyRun.h"

int main(int argc, char** argv) {
  using namespace velmora;
  uint64_t seeds = 1000, first = 0, salt = 0, process_every = 50, report_every = 1000;
  unsigned jobs = std::max(1u, std::thread::hardware_concurrency());
  std::string program, scratch = std::filesystem::temp_directory_path() / "velmora-property";
  SeedMix mix;
  CLI::App app{"Generates and checks many seeds."};
  app.add_option("--seeds", seeds, "number of seeds");
  app.add_option("--first", first, "index of the first case (to resume or repeat a case)");
  app.add_option("--salt", salt, "varies the seeds and options drawn for each index");
  app.add_option("--jobs", jobs, "seeds generated at once");
  app.add_option("--program", program, "the velmora program, for the separate-process check");
  app.add_option("--process-every", process_every,
                 "generate every Nth seed again in a separate process (0: never)");
  app.add_option("--scratch", scratch, "directory for the separate processes' files");
  app.add_option("--report-every", report_every, "progress line every N seeds (0: none)");
  app.add_option("--chris-shuffles", mix.chris_shuffles,
                 "cases per thousand with Chris's items shuffled");
  app.add_option("--jill-hard", mix.jill_hard, "cases per thousand with Jill Hard items shuffled");
  CLI11_PARSE(app, argc, argv);
  if (mix.no_items + mix.doors + mix.chris_shuffles + mix.jill_hard > 1000) {
    std::cerr << "the mix takes more than a thousand cases per thousand\n";
    return 2;
  }

  std::atomic<uint64_t> next{first};
  std::atomic<uint64_t> done{0}, failed{0}, in_process{0};
  std::mutex mutex;
  std::map<std::string, uint64_t> coverage;
  const auto start = std::chrono::steady_clock::now();
  auto elapsed = [&start] {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  };

  auto worker = [&] {
    for (;;) {
      const uint64_t index = next++;
      if (index >= first + seeds) return;
      const SeedCase c = CaseFor(index, salt, mix);
      SeedOutcome outcome = GenerateAndCheck(c);
      bool processed = false;
      if (!program.empty() && process_every != 0 && index % process_every == 0) {
        processed = true;
        for (std::string& difference : CompareWithProcess(program, c, outcome, scratch))
          outcome.broken.push_back(std::move(difference));
      }
      std::lock_guard<std::mutex> lock(mutex);
      ++coverage[KindLabel(c.options)];
      if (processed) ++in_process;
      if (!outcome.broken.empty()) {
        ++failed;
        std::string command = "velmora";
        for (const std::string& arg : ArgumentsFor(c)) command += " " + arg;
        std::cout << "FAILED case " << index << ": " << command << "\n";
        for (const std::string& line : outcome.broken) std::cout << "  " << line << "\n";
        std::cout.flush();
      }
      const uint64_t count = ++done;
      if (report_every != 0 && count % report_every == 0)
        std::cerr << count << " seeds, " << failed << " failed, " << elapsed() << " s\n";
    }
  };
  std::vector<std::thread> threads;
  for (unsigned i = 0; i < jobs; ++i) threads.emplace_back(worker);
  for (std::thread& t : threads) t.join();

  std::cout << "Seeds by kind:\n";
  for (const auto& [label, count] : coverage) std::cout << "  " << label << ": " << count << "\n";
  std::cout << "Generated again in a separate process: " << in_process << "\n";
  std::cout << "Cases " << first << " to " << first + seeds - 1 << " (salt " << salt << "), "
            << elapsed() << " s\n";
  std::cout << done - failed << " passed, " << failed << " failed\n";
  return failed == 0 ? 0 : 1;
}
