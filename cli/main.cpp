// velmora: the seed generator on the command line. Sets the options on the
// dialog as a user would, presses "Generate Seed", and prints the progress
// log on standard output as the dialog's status area would hold it.
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

#include "app/ControlIds.h"
#include "app/MemoryWindow.h"
#include "app/VelmoraDlg.h"
#include "cli/CommandLine.h"
#include "output/OutputFiles.h"

int main(int argc, char** argv) {
  using namespace velmora;
#ifdef _WIN32
  // The log goes out byte for byte, with no line-end translation.
  _setmode(_fileno(stdout), _O_BINARY);
#endif
  std::vector<std::string> args(argv, argv + argc);
  ParseResult parsed = ParseCommandLine(args);
  if (parsed.help) {
    std::cout << *parsed.help;
    return 0;
  }
  if (!parsed.options) {
    std::cerr << "velmora: " << parsed.error << "\n";
    return 2;
  }
  const CommandLineOptions& options = *parsed.options;

  MemoryWindow window;
  DiskOutputFiles files(options.out_dir);
  CVelmoraDlg dialog(window, files);
  dialog.OnInitDialog();
  ApplyOptions(options, window, dialog);
  if (options.seed) {
    const uint32_t seed = *options.seed;
    dialog.SetSeedSource([seed] { return seed; });
  }

  // Stream the log as it grows: print what each change appended.
  window.SetTextListener([](int id, const std::string& before, const std::string& after) {
    if (id != kIdStatus) return;
    if (after.size() > before.size() && after.compare(0, before.size(), before) == 0) {
      std::fwrite(after.data() + before.size(), 1, after.size() - before.size(), stdout);
      std::fflush(stdout);
    }
  });

  dialog.OnBnClickedGenerateSeed();
  std::cerr << "seed " << dialog.seed() << "\n";
  return dialog.write_failed() ? 1 : 0;
}
