// velmora-make-index: makes the attempt index of one selection or of all
// four. It judges every attempt of the item loop's cycle, 2^32 of them from
// random state 0, with the fast search, in chunks spread over every core.
// Each finished chunk is kept in a work folder, so an interrupted run goes on
// where it stopped. At the end it writes NAME.idx into the output folder and
// prints the number of keys and their checksum.
//
//   velmora-make-index [--selection all|JillNormal|JillHard|ChrisNormal|ChrisHard]
//                      [--out DIR] [--work DIR] [--threads N]
#include <CLI/CLI.hpp>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cinttypes>
#include <cstdio>
#include <filesystem>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "app/ControlIds.h"
#include "app/MemoryWindow.h"
#include "app/VelmoraDlg.h"
#include "items/AttemptIndex.h"
#include "items/FastItemSearch.h"
#include "items/Pins.h"
#include "output/OutputFiles.h"

namespace velmora {
namespace {

constexpr uint64_t kCycle = uint64_t{1} << 32;
constexpr uint64_t kChunkAttempts = uint64_t{1} << 24;
constexpr uint64_t kChunks = kCycle / kChunkAttempts;

// The passing keys of one chunk, or nothing when the work folder has no
// finished file for it.
std::optional<std::vector<uint32_t>> ReadChunk(const std::filesystem::path& path) {
  std::string bytes;
  if (ReadFileBytes(path.string(), bytes) || bytes.size() % 4 != 0) return std::nullopt;
  std::vector<uint32_t> keys;
  for (size_t i = 0; i < bytes.size(); i += 4) {
    uint32_t key = 0;
    for (int b = 3; b >= 0; --b) key = key << 8 | static_cast<uint8_t>(bytes[i + b]);
    keys.push_back(key);
  }
  return keys;
}

std::string ChunkBytes(const std::vector<uint32_t>& keys) {
  std::string bytes;
  for (uint32_t key : keys)
    for (int b = 0; b < 4; ++b) bytes.push_back(static_cast<char>((key >> (8 * b)) & 0xFF));
  return bytes;
}

int MakeIndex(const Selection& selection, const std::string& out_dir, const std::string& work_root,
              int threads) {
  MemoryWindow window;
  MemoryOutputFiles unused;
  CVelmoraDlg dlg(window, unused);
  dlg.OnInitDialog();
  if (selection.character == Character::kChris) window.Click(kIdChris);
  if (selection.difficulty == Difficulty::kHard) window.Click(kIdHard);
  dlg.FillItemNames();
  dlg.FillSlotAreas();
  dlg.FillPlainAreaTables();
  const std::vector<int> pins = PinnedSlots(selection.character, selection.difficulty);
  const uint64_t tables = TablesFingerprint(dlg, pins);
  const FastItemSearch search(dlg, pins);
  const DealKernel& kernel = SearchDealKernel();

  const std::string name = SelectionName(selection);
  char tag[32];
  std::snprintf(tag, sizeof tag, "-%016" PRIx64, tables);
  // Chunks made from other tables are never mixed in: the folder carries the
  // tables' fingerprint.
  const std::filesystem::path work = std::filesystem::path(work_root) / (name + tag);
  std::filesystem::create_directories(work);
  DiskOutputFiles work_files(work.string());
  auto chunk_name = [](uint64_t chunk) {
    char file[32];
    std::snprintf(file, sizeof file, "chunk-%03" PRIu64 ".keys", chunk);
    return std::string(file);
  };

  std::vector<std::vector<uint32_t>> chunks(kChunks);
  std::vector<bool> done(kChunks, false);
  uint64_t done_count = 0, keys_so_far = 0;
  for (uint64_t c = 0; c < kChunks; ++c) {
    if (auto keys = ReadChunk(work / chunk_name(c))) {
      chunks[c] = std::move(*keys);
      done[c] = true;
      ++done_count;
      keys_so_far += chunks[c].size();
    }
  }
  const uint64_t resumed = done_count;

  std::mutex report;
  std::atomic<uint64_t> next{0};
  std::atomic<bool> failed{false};
  const auto start = std::chrono::steady_clock::now();
  auto progress = [&] {
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::fprintf(stderr, "\r%s: %" PRIu64 " of %" PRIu64 " chunks, %" PRIu64 " keys, %.0f s",
                 name.c_str(), done_count, kChunks, keys_so_far, seconds);
    std::fflush(stderr);
  };
  progress();
  auto worker = [&] {
    for (;;) {
      const uint64_t c = next.fetch_add(1);
      if (c >= kChunks || failed.load()) return;
      if (done[c]) continue;
      // Attempt j of a loop starting at state 0 has key j - 1.
      const uint64_t first = c * kChunkAttempts + 1;
      std::vector<uint32_t> keys;
      for (uint64_t attempt : search.DealSurvivors(0, first, first + kChunkAttempts - 1, kernel)) {
        const auto key = static_cast<uint32_t>(attempt - 1);
        if (search.AttemptPasses(AttemptStart(key))) keys.push_back(key);
      }
      const std::optional<std::string> problem = work_files.Write(chunk_name(c), ChunkBytes(keys));
      std::lock_guard<std::mutex> lock(report);
      if (problem) {
        std::fprintf(stderr, "\nvelmora-make-index: could not write %s (%s)\n",
                     (work / chunk_name(c)).string().c_str(), problem->c_str());
        failed.store(true);
        return;
      }
      keys_so_far += keys.size();
      chunks[c] = std::move(keys);
      ++done_count;
      progress();
    }
  };
  std::vector<std::thread> pool;
  for (int t = 1; t < threads; ++t) pool.emplace_back(worker);
  worker();
  for (std::thread& t : pool) t.join();
  std::fprintf(stderr, "\n");
  if (failed.load()) return 1;

  std::vector<uint32_t> keys;
  for (const auto& chunk : chunks) keys.insert(keys.end(), chunk.begin(), chunk.end());
  const std::string bytes = AttemptIndex::Serialize(tables, keys);
  std::string problem;
  const auto index = AttemptIndex::Parse(
      {reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()}, &problem);
  if (!index) {
    std::fprintf(stderr, "velmora-make-index: %s: %s\n", name.c_str(), problem.c_str());
    return 1;
  }
  DiskOutputFiles out(out_dir);
  const std::string file = AttemptIndexFileName(selection.character, selection.difficulty);
  if (auto reason = out.Write(file, bytes)) {
    std::fprintf(stderr, "velmora-make-index: could not write %s/%s (%s)\n", out_dir.c_str(),
                 file.c_str(), reason->c_str());
    return 1;
  }
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::printf("%s: %u keys, checksum %016" PRIx64 ", tables %016" PRIx64
              " (%" PRIu64 " of %" PRIu64 " chunks made now, %.0f s)\n",
              name.c_str(), index->size(), index->checksum(), tables, kChunks - resumed, kChunks,
              seconds);
  std::fflush(stdout);
  return 0;
}

}  // namespace
}  // namespace velmora

int main(int argc, char** argv) {
  using namespace velmora;
  SearchDealKernel();
  CLI::App app{"Makes the attempt index of the selections without locks."};
  std::string which = "all";
  std::string out_dir = ".";
  std::string work_dir = "attempt-index-work";
  int threads = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
  app.add_option("--selection", which, "all, JillNormal, JillHard, ChrisNormal or ChrisHard")
      ->check(CLI::IsMember({"all", "JillNormal", "JillHard", "ChrisNormal", "ChrisHard"}));
  app.add_option("--out", out_dir, "where the .idx files go");
  app.add_option("--work", work_dir, "where finished chunks are kept between runs");
  app.add_option("--threads", threads, "threads in all")->check(CLI::Range(1, 256));
  CLI11_PARSE(app, argc, argv);

  for (const Selection& selection : kSelections) {
    if (which != "all" && which != SelectionName(selection)) continue;
    if (const int status = MakeIndex(selection, out_dir, work_dir, threads)) return status;
  }
  return 0;
}
