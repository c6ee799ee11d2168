// For tests: one seed generated in memory by the dialog, with the options of
// a command line, on one search thread.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "app/ControlIds.h"
#include "app/MemoryWindow.h"
#include "app/VelmoraDlg.h"
#include "cli/CommandLine.h"
#include "output/OutputFiles.h"

namespace velmora {

struct MemoryGeneration {
  /// The dialog set to `options` and `seed`, not yet generated.
  MemoryGeneration(const CommandLineOptions& options, uint32_t seed) : dialog(window, files) {
    dialog.OnInitDialog();
    ApplyOptions(options, window, dialog);
    dialog.SetSeedSource([seed] { return seed; });
    dialog.m_searchThreads = 1;
  }
  MemoryGeneration(const MemoryGeneration&) = delete;
  MemoryGeneration& operator=(const MemoryGeneration&) = delete;

  /// The name and bytes of the written file whose name starts with
  /// `prefix`; empty ones when there is none.
  std::pair<std::string, std::string> File(std::string_view prefix) const {
    for (const auto& [name, bytes] : files.files())
      if (name.starts_with(prefix)) return {name, bytes};
    return {};
  }
  std::string Log() const { return window.GetControlText(kIdStatus); }

  MemoryWindow window;
  MemoryOutputFiles files;
  CVelmoraDlg dialog;
};

struct GeneratedItemList {
  std::string file_name;
  std::string bytes;
};

/// The item list generated for the options of `args` (without the program
/// name; seed 1 when none is given); empty when the arguments do not parse.
inline GeneratedItemList GenerateItemList(std::vector<std::string> args) {
  args.insert(args.begin(), "velmora");
  const ParseResult parsed = ParseCommandLine(args);
  if (!parsed.options) return {};
  MemoryGeneration generation(*parsed.options, parsed.options->seed.value_or(1));
  generation.dialog.OnBnClickedGenerateSeed();
  const auto [name, bytes] = generation.File("ItemList");
  return {name, bytes};
}

}  // namespace velmora
