// For tests: the item list the generator writes for a command line.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "app/MemoryWindow.h"
#include "app/VelmoraDlg.h"
#include "cli/CommandLine.h"
#include "output/OutputFiles.h"

namespace velmora {

struct GeneratedItemList {
  std::string file_name;
  std::string bytes;
};

/// Generates in memory with the options of `args` (without the program
/// name; seed 1 when none is given) and returns the item list written, or an
/// empty one and a test failure when none was written.
inline GeneratedItemList GenerateItemList(std::vector<std::string> args) {
  args.insert(args.begin(), "velmora");
  const ParseResult parsed = ParseCommandLine(args);
  EXPECT_TRUE(parsed.options) << parsed.error;
  if (!parsed.options) return {};
  MemoryWindow window;
  MemoryOutputFiles files;
  CVelmoraDlg dialog(window, files);
  dialog.OnInitDialog();
  ApplyOptions(*parsed.options, window, dialog);
  const uint32_t seed = parsed.options->seed.value_or(1);
  dialog.SetSeedSource([seed] { return seed; });
  dialog.OnBnClickedGenerateSeed();
  for (const auto& [name, bytes] : files.files())
    if (name.rfind("ItemList", 0) == 0) return {name, bytes};
  ADD_FAILURE() << "no item list written";
  return {};
}

}  // namespace velmora
