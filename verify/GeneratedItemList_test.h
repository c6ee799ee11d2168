// For tests: one seed generated in memory by the dialog, with the options of
// a command line, on one search thread.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/ControlIds.h"
#include "cli/CommandLine.h"
#include "cli/OptionsDialog.h"
#include "output/OutputFiles.h"

namespace velmora {

/// The lines of `bytes`, each ending in CR LF, the last one included;
/// nothing when a line ends otherwise or holds a stray CR or LF.
inline std::optional<std::vector<std::string>> SplitCrLfLines(const std::string& bytes) {
  std::vector<std::string> lines;
  for (size_t start = 0; start < bytes.size();) {
    const size_t end = bytes.find("\r\n", start);
    if (end == std::string::npos) return std::nullopt;
    lines.push_back(bytes.substr(start, end - start));
    if (lines.back().find_first_of("\r\n") != std::string::npos) return std::nullopt;
    start = end + 2;
  }
  return lines;
}

/// `lines`, each followed by CR LF.
inline std::string JoinCrLfLines(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

struct MemoryGeneration {
  /// The dialog set to `options` and `seed`, not yet generated.
  MemoryGeneration(const CommandLineOptions& options, uint32_t seed)
      : shown(options, files), window(shown.window), dialog(shown.dialog) {
    shown.SetSeed(seed);
    dialog.m_searchThreads = 1;
  }

  /// The name and bytes of the written file whose name starts with
  /// `prefix`; empty ones when there is none.
  std::pair<std::string, std::string> File(std::string_view prefix) const {
    for (const auto& [name, bytes] : files.files())
      if (name.starts_with(prefix)) return {name, bytes};
    return {};
  }
  std::string Log() const { return window.GetControlText(kIdStatus); }

  MemoryOutputFiles files;
  OptionsDialog shown;
  MemoryWindow& window;
  CVelmoraDlg& dialog;
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
