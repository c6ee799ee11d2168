// velmora: the seed generator on the command line. Sets the options on the
// dialog as a user would, presses "Generate Seed", and prints the progress
// log on standard output as the dialog's status area would hold it.
//
// While a long item search runs, the number of attempts made so far is shown
// on standard error when that is a terminal. Ctrl-C (SIGINT) or SIGTERM stops
// the generation before any file is written: the program then prints
// "interrupted" on standard error and exits with status 130.
#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#define isatty _isatty
#define fileno _fileno
#else
#include <unistd.h>
#endif

#include "app/ControlIds.h"
#include "app/MemoryWindow.h"
#include "app/VelmoraDlg.h"
#include "cli/CommandLine.h"
#include "cli/Mystery.h"
#include "cli/OptionsDialog.h"
#include "cli/SettingsString.h"
#include "cli/SpoilerFiles.h"
#include "cli/Stats.h"
#include "items/DealKernels.h"
#include "output/ItemList.h"
#include "output/OutputFiles.h"
#include "output/PlacementHash.h"
#include "verify/Verify.h"

namespace {

// The dialog a signal asks to stop; set while a generation runs.
std::atomic<velmora::CVelmoraDlg*> g_generating{nullptr};
static_assert(std::atomic<velmora::CVelmoraDlg*>::is_always_lock_free);

extern "C" void OnStopSignal(int) {
  if (velmora::CVelmoraDlg* dialog = g_generating.load()) dialog->RequestCancel();
}

// The first SIGINT or SIGTERM asks the generation to stop; a second one ends
// the program at once, as the default action would.
void InstallStopHandlers() {
#ifdef _WIN32
  std::signal(SIGINT, OnStopSignal);  // the runtime resets it after one signal
  std::signal(SIGTERM, OnStopSignal);
#else
  struct sigaction action = {};
  action.sa_handler = OnStopSignal;
  action.sa_flags = SA_RESETHAND;
  sigemptyset(&action.sa_mask);
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
  // Past a file-size limit, write() then fails with EFBIG and the writer
  // reports the file, instead of the process being killed mid-write.
  std::signal(SIGXFSZ, SIG_IGN);
#endif
}

// The attempt count of a long search on a terminal's standard error. When
// standard output is the same terminal, the count stands after the log's
// unfinished line, which is drawn again with it and without it.
class AttemptDisplay {
 public:
  AttemptDisplay()
      : enabled_(isatty(fileno(stderr)) != 0), log_on_terminal_(isatty(fileno(stdout)) != 0) {}

  /// Keeps the end of the log up to date; `appended` went to standard output.
  void LogAppended(const std::string& appended) {
    const size_t newline = appended.rfind('\n');
    partial_line_ = newline == std::string::npos ? partial_line_ + appended
                                                 : appended.substr(newline + 1);
  }
  /// Shows `attempts`, at most ten times a second.
  void Show(uint64_t attempts) {
    if (!enabled_) return;
    const auto now = std::chrono::steady_clock::now();
    if (shown_ && now - last_shown_ < std::chrono::milliseconds(100)) return;
    last_shown_ = now;
    shown_ = true;
    Draw(" [" + std::to_string(attempts) + " attempts]");
  }
  /// Takes the count off the terminal again, before the log goes on.
  void Clear() {
    if (!shown_) return;
    shown_ = false;
    Draw("");
  }
  /// True when the log's last line is unfinished on the terminal.
  bool MidLine() const { return log_on_terminal_ && !partial_line_.empty(); }

 private:
  void Draw(const std::string& suffix) {
    const std::string text =
        "\r" + (log_on_terminal_ ? partial_line_ : std::string()) + suffix + "\x1b[K";
    std::fwrite(text.data(), 1, text.size(), stderr);
    std::fflush(stderr);
  }

  bool enabled_;
  bool log_on_terminal_;
  bool shown_ = false;
  std::chrono::steady_clock::time_point last_shown_;
  std::string partial_line_;
};

}  // namespace

int main(int argc, char** argv) {
  using namespace velmora;
#ifdef _WIN32
  // The log goes out byte for byte, with no line-end translation.
  _setmode(_fileno(stdout), _O_BINARY);
#endif
  // A search kernel forced through the environment that this processor
  // cannot run is refused before anything else.
  SearchDealKernel();
  std::vector<std::string> args(argv, argv + argc);
  if (args.size() > 1 && args[1] == "stats") return RunStatsCommand(args);
  if (args.size() > 1 && args[1] == "verify")
    return RunVerify(std::vector<std::string>(args.begin() + 2, args.end()), std::cout, std::cerr);
  ParseResult parsed = ParseCommandLine(args);
  if (parsed.help) {
    std::cout << *parsed.help;
    return 0;
  }
  if (!parsed.options) {
    std::cerr << "velmora: " << parsed.error << "\n";
    return 2;
  }
  CommandLineOptions options = *parsed.options;
  if (!options.mystery.empty()) {
    const WeightsParseResult weights = ReadMysteryWeightsFile(options.mystery);
    if (!weights.weights) {
      std::cerr << "velmora: " << weights.error << "\n";
      return 2;
    }
    CommandLineOptions drawn =
        DrawMysteryOptions(*weights.weights, options.seed.value_or(TimeSeed()));
    drawn.out_dir = options.out_dir;
    drawn.spoiler_json = options.spoiler_json;
    drawn.attempt_index = options.attempt_index;
    // The map of a Doors seed only; which options were drawn stays unsaid.
    if (drawn.doors) drawn.door_map = options.door_map;
    options = std::move(drawn);
  }

  DiskOutputFiles files(options.out_dir);
  OptionsDialog generation(options, files);
  MemoryWindow& window = generation.window;
  CVelmoraDlg& dialog = generation.dialog;

  // Stream the log as it grows: print what each change appended.
  AttemptDisplay attempts;
  window.SetTextListener([&attempts](int id, const std::string& before, const std::string& after) {
    if (id != kIdStatus) return;
    if (after.size() > before.size() && after.compare(0, before.size(), before) == 0) {
      attempts.Clear();
      std::fwrite(after.data() + before.size(), 1, after.size() - before.size(), stdout);
      std::fflush(stdout);
      attempts.LogAppended(after.substr(before.size()));
    }
  });
  dialog.m_searchProgress = [&attempts](uint64_t count) { attempts.Show(count); };

  g_generating = &dialog;
  InstallStopHandlers();
  dialog.OnBnClickedGenerateSeed();
  g_generating = nullptr;
  attempts.Clear();

  // A stop that came once the files were written changes nothing.
  if (dialog.CancelRequested() && !window.IsControlVisible(kIdFinalLabel)) {
    if (attempts.MidLine()) std::cerr << "\n";
    std::cerr << "velmora: interrupted; no seed file was written\n";
    return 130;
  }
  std::cerr << "seed " << dialog.seed() << "\n";
  // The settings string makes the same files again; the hash lets players
  // see at a glance that they hold the same seed.
  CommandLineOptions used = options;
  used.seed = dialog.seed();
  std::cerr << "settings " << EncodeSettings(used) << "\n";
  std::cerr << "hash "
            << PlacementHash(FormatItemList(dialog, window.IsChecked(kIdEnemies),
                                            window.IsChecked(kIdDoors), window.IsChecked(kIdLocks)))
            << "\n";
  if (!dialog.write_failed()) {
    // The spoiler files have paths of their own, from the current directory.
    DiskOutputFiles spoiler_files("");
    const std::vector<std::string> problems = WriteSpoilerFiles(options, dialog, spoiler_files);
    for (const std::string& problem : problems) std::cerr << "velmora: " << problem << "\n";
    if (!problems.empty()) return 1;
  }
  return dialog.write_failed() ? 1 : 0;
}
